// The special models' graphics in column form: dot columns from the left,
// eight rows to a byte, the top row in bit 7; the graphics dot density is set
// before graphics are sent.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "document/logo_raster.h"
#include "platform/message_box.h"
#include "ports/port_driver.h"
#include "protocol/nv_key.h"
#include "session/session.h"

namespace inkmark {

struct SpecialModel {
  std::string_view model_name;
  // Rows of one test-print band.
  std::int32_t band_rows;
  // Whether the test print sets the dot density too (registration always does).
  bool density_in_test_print;
};

inline constexpr std::array<SpecialModel, 3> kSpecialModels{{
    {"DT-200/210", 128, true},
    {"DT-300/310", 64, false},
    {"DT-350/360", 64, false},
}};

// The table entry whose name is the profile's model name, in any letter case.
const SpecialModel* FindSpecialModel(const PrinterProfile& profile);
inline bool IsSpecialModel(const PrinterProfile& profile) {
  return FindSpecialModel(profile) != nullptr;
}

// The density command for the profile's selected resolution.
std::array<std::uint8_t, 9> DensityCommandFor(const PrinterProfile& profile);

// Bytes of one dot column of a band `rows` high.
inline std::size_t ColumnBytes(std::int32_t rows) { return (std::size_t(rows) + 7) / 8; }

// Writes rows first_row .. first_row + row_count - 1 of the top-down raster
// into `out` in column form: a bit is set where the dot has `value`. False,
// writing nothing, when `out` is smaller than width × column bytes.
bool ExtractColumnPlane(const LogoRaster& raster, std::int32_t first_row, std::int32_t row_count,
                        std::int32_t value, std::span<std::uint8_t> out);

// Registers `raster` under `key` in column form on the open port, which stays
// open: capacity check (not when writing a command file), then the density
// command and one define command. 1 on success; 0 after telling the user why not.
std::int32_t DefineNvGraphicsColumn(PortDriver& port, WindowHandle owner,
                                    const LogoSession& session, const NvKey& key,
                                    std::optional<LogoRaster> raster);

// Prints `raster` once in column-form bands on a port of its own. 1 on
// success; 0 after telling the user why not.
std::int32_t TestPrintColumn(WindowHandle owner, const LogoSession& session,
                             std::optional<LogoRaster> raster);

}  // namespace inkmark
