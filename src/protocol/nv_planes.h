// The steps both graphics forms share: choosing which raster values print in
// which ink, turning the rows top-down, and making sure the logo fits the
// printer's NV memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/session.h"
#include "image/logo_raster.h"
#include "platform/message_box.h"
#include "ports/port_driver.h"

namespace inkmark {

struct PlaneSelection {
  // The raster value that block 1 prints.
  std::int32_t first_value = -1;
  // The raster value that block 2 prints, or -1 when there is one block only.
  std::int32_t second_value = -1;
  // The ink of block 1 (block 2, when there is one, is always the second ink).
  std::uint8_t first_code = 0x31;

  bool two_blocks() const { return second_value != -1; }
};

// Finds the raster values of the inks to print and returns a zero-filled
// buffer of `plane_bytes` bytes, twice that for a define of two blocks.
// nullopt when an ink is not in the raster's palette or there is no memory.
// A monochrome picture prints in the one ink the conversion chose; otherwise
// the profile's selected first and second colours print (no second block
// when the second colour names no ink).
std::optional<std::vector<std::uint8_t>> SelectColorPlanes(const LogoSession& session,
                                                           const PrinterProfile& profile,
                                                           const LogoRaster& raster,
                                                           std::size_t plane_bytes, bool for_define,
                                                           PlaneSelection& selection);

// Swaps the raster's rows end for end, so that row 0 of the storage is the top
// line the printer wants first.
void FlipRowsTopDown(LogoRaster& raster);

// Whether `total` bytes of graphics, with the 30-byte allowance the printer
// keeps for them, fit the remaining NV capacity. Tells the user when not.
bool HasNvRoomFor(PortDriver& port, WindowHandle owner, std::uint64_t total);

// The allowance beyond the data that a define needs free in NV memory.
inline constexpr std::uint64_t kNvDefineAllowance = 30;

}  // namespace inkmark
