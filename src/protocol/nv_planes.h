// The steps both graphics forms share: choosing which raster values print in
// which ink, turning the rows top-down, making sure the logo fits the
// printer's NV memory, and sending the define and the test-print bands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "document/logo_raster.h"
#include "platform/message_box.h"
#include "ports/port_driver.h"
#include "protocol/nv_commands.h"
#include "protocol/transfer_progress.h"
#include "session/session.h"

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

// Sends printer commands piece by piece and notes when a failure leaves the
// printer inside one: part of a command sent, the rest not. Such a printer
// takes whatever comes next as the rest of that command.
class CommandSender {
 public:
  explicit CommandSender(PortDriver& port) : port_(port) {}
  ~CommandSender();
  CommandSender(const CommandSender&) = delete;
  CommandSender& operator=(const CommandSender&) = delete;
  // Reports the transfer of `total` bytes to the current progress, if any,
  // which may stop it. The bytes then go out in pieces of about a quarter of a
  // second at the line's speed, each held back while the driver still holds
  // more than a piece, and the progress hears of them as they leave.
  void ReportAs(std::uint64_t total);
  // The first piece of a command; the write's result, 1 or 0.
  std::int32_t Start(std::span<const std::uint8_t> bytes) { return Send(bytes, false); }
  // A further piece of the command started last.
  std::int32_t Continue(std::span<const std::uint8_t> bytes) { return Send(bytes, true); }
  bool broke_off() const { return broke_off_; }
  // The user stopped the transfer through its progress.
  bool stopped() const { return stopped_; }
  // Why the last piece failed; none while every piece went out.
  const std::optional<Failure>& failure() const { return failure_; }

 private:
  std::int32_t Send(std::span<const std::uint8_t> bytes, bool inside_command);
  // Tells the progress how far the transfer is once `written` bytes were
  // handed to the port; false once the user stopped it.
  bool Report(std::uint64_t written);
  // Waits while the driver holds more than a piece; false when stopped meanwhile.
  bool WaitForRoom();

  PortDriver& port_;
  bool broke_off_ = false;
  TransferProgress* progress_ = nullptr;  // set while a reported transfer runs
  std::uint64_t total_ = 0;
  std::uint64_t written_ = 0;  // handed to the port
  std::uint64_t sent_ = 0;     // as last reported: handed over and gone from the driver
  std::uint32_t piece_ = kProgressStep;
  bool stopped_ = false;  // the user stopped the transfer
  std::optional<Failure> failure_;
};

// Tells the user that a define or a test print failed (`failure_id`), or
// that it was cancelled when the user stopped it (through its progress or
// the busy printer's question) and nothing else failed, and,
// when it broke off inside a command, that the printer must be switched off
// and on before it takes another.
// `why`, when known, follows the standard text.
void ReportTransferFailure(WindowHandle owner, int failure_id, bool broke_off,
                           const std::optional<Failure>& why = std::nullopt,
                           bool cancelled = false);

// Fills `data` with the dots of `value` in rows first_row .. first_row +
// rows - 1 and returns the store command that carries them; `data` is cut to
// the bytes the band takes.
using BandWriter = std::function<std::array<std::uint8_t, kStoreHeaderSize>(
    std::int32_t first_row, std::int32_t rows, std::int32_t value, std::uint8_t color_code,
    std::span<std::uint8_t>& data)>;

// Prints a top-down raster `height` rows high on a port of its own: `prefix`
// (which may be empty), then band by band each colour's store command and
// data and the print-buffer command. `planes` is the working buffer for one
// band. 1 on success; 0 after telling the user the test print failed (and,
// when it broke off inside a command or the port had to drop queued bytes,
// that the printer must be switched off and on). A band of no rows is refused
// before anything is sent.
std::int32_t SendTestPrintBands(WindowHandle owner, const LogoSession& session,
                                std::span<const std::uint8_t> prefix, std::int32_t height,
                                std::int32_t band, const PlaneSelection& sel,
                                std::vector<std::uint8_t>& planes, const BandWriter& write_band);

// Fills `out` with the dots of `value` over every row of the top-down raster,
// in the graphics form being defined.
using PlaneWriter = std::function<void(std::int32_t value, std::span<std::uint8_t> out)>;

// A define command's form, the bytes of one colour's plane, and the size
// fields the command carries.
struct DefineShape {
  GraphicsForm form;
  std::size_t plane_bytes;
  std::uint16_t width;
  std::uint16_t height;
};

// Registers the top-down `raster` under `key` on the open port, which stays
// open: capacity check (not when writing a command file), then `prefix`
// (which may be empty) and one define command with a block per ink. 1 on
// success; 0 after telling the user why not (and, when the define broke off
// part-way, that the printer must be switched off and on).
std::int32_t SendNvDefine(PortDriver& port, WindowHandle owner, const LogoSession& session,
                          const PrinterProfile& profile, const LogoRaster& raster, const NvKey& key,
                          const DefineShape& shape, std::span<const std::uint8_t> prefix,
                          const PlaneWriter& write_plane);

// The allowance beyond the data that a define needs free in NV memory.
inline constexpr std::uint64_t kNvDefineAllowance = 30;

}  // namespace inkmark
