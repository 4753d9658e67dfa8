#include "protocol/nv_planes.h"

#include <algorithm>
#include <new>

#include "platform/string_table.h"
#include "ports/clock.h"
#include "ports/open_port.h"
#include "protocol/nv_commands.h"
#include "protocol/transaction.h"

namespace inkmark {

namespace {

// Pieces of a reported transfer per second of the line.
constexpr std::uint32_t kPiecesPerSecond = 4;
// How often a piece held back looks at the driver's queue, and how long a
// queue that does not shrink holds it.
constexpr std::uint32_t kPacePollMs = 10;
constexpr std::uint64_t kPaceStallMs = 2000;

std::optional<std::int32_t> InkValue(const LogoRaster& raster, std::int32_t color) {
  auto index = raster.FindInk(color);
  if (!index) return std::nullopt;
  return static_cast<std::int32_t>(*index);
}

std::optional<PlaneSelection> ChooseInks(const LogoSession& session, const PrinterProfile& profile,
                                         const LogoRaster& raster) {
  PlaneSelection s;
  if (session.monochrome == 1 && session.source_kind != kSourceDocument) {
    // The conversion names its one ink by its place in the session's ink pair.
    const std::uint32_t which = session.params.color_table;
    if (which > 1) return std::nullopt;
    const std::int32_t ink = which == 0 ? session.first_color : session.second_color;
    auto value = InkValue(raster, ink);
    if (!value) return std::nullopt;
    s.first_value = *value;
    s.first_code = session.first_color == ink ? kFirstColorCode : kSecondColorCode;
    return s;
  }
  auto first = InkValue(raster, ColorFromName(profile.first_colors.Selected()));
  if (!first) return std::nullopt;
  s.first_value = *first;
  s.first_code = kFirstColorCode;
  const std::int32_t second = ColorFromName(profile.second_colors.Selected());
  if (second != kNoInk) {
    auto value = InkValue(raster, second);
    if (!value) return std::nullopt;
    s.second_value = *value;
  }
  return s;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SelectColorPlanes(const LogoSession& session,
                                                           const PrinterProfile& profile,
                                                           const LogoRaster& raster,
                                                           std::size_t plane_bytes, bool for_define,
                                                           PlaneSelection& selection) {
  auto inks = ChooseInks(session, profile, raster);
  if (!inks) return std::nullopt;
  std::size_t size = plane_bytes;
  if (for_define && inks->two_blocks()) {
    if (size > SIZE_MAX / 2) return std::nullopt;
    size *= 2;
  }
  try {
    std::vector<std::uint8_t> buffer(size, 0);
    selection = *inks;
    return buffer;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void FlipRowsTopDown(LogoRaster& raster) {
  for (std::int32_t top = 0, bottom = raster.height() - 1; top < bottom; ++top, --bottom) {
    auto a = raster.mutable_row(top);
    auto b = raster.mutable_row(bottom);
    std::swap_ranges(a.begin(), a.end(), b.begin());
  }
}

bool HasNvRoomFor(PortDriver& port, WindowHandle owner, std::uint64_t total) {
  const std::int32_t capacity = ReadNvCapacity(port);
  if (capacity < 0) {
    ShowMessage(owner, kStrCapacityFailed);
    return false;
  }
  if (total + kNvDefineAllowance > static_cast<std::uint64_t>(capacity)) {
    ShowMessage(owner, kStrNoNvMemory);
    return false;
  }
  return true;
}

std::int32_t SendNvDefine(PortDriver& port, WindowHandle owner, const LogoSession& session,
                          const PrinterProfile& profile, const LogoRaster& raster, const NvKey& key,
                          const DefineShape& shape, std::span<const std::uint8_t> prefix,
                          const PlaneWriter& write_plane) {
  // Each block is its colour code followed by its plane.
  const std::size_t block = shape.plane_bytes + 1;
  PlaneSelection sel;
  auto planes = SelectColorPlanes(session, profile, raster, block, true, sel);
  if (!planes) {
    ShowMessage(owner, kStrNoMemory);
    return 0;
  }
  const std::size_t total = planes->size();
  if (session.save_as_command_file != 1 && !HasNvRoomFor(port, owner, total)) return 0;

  std::span<std::uint8_t> data(*planes);
  data[0] = sel.first_code;
  write_plane(sel.first_value, data.subspan(1, block - 1));
  if (sel.two_blocks()) {
    data[block] = kSecondColorCode;
    write_plane(sel.second_value, data.subspan(block + 1));
  }
  const auto header = DefineHeader(shape.form, static_cast<std::uint32_t>(total), key,
                                   sel.two_blocks() ? 2 : 1, shape.width, shape.height);
  if (port.beginJob() != 1) {
    ShowMessage(owner, kStrRegisterFailed);
    return 0;
  }
  CommandSender out(port);
  out.ReportAs(prefix.size() + header.size() + data.size());
  std::int32_t result = prefix.empty() ? 1 : out.Start(prefix);
  if (result == 1) result = out.Start(header);
  if (result == 1) result = out.Continue(data);
  port.endJob();
  if (result != 1)
    ReportTransferFailure(owner, kStrRegisterFailed, out.broke_off(), out.failure(), out.stopped());
  return result;
}

namespace {

// How many bytes a test print sends: the bands are made once beforehand to
// count them, which costs far less than sending them.
std::uint64_t TestPrintBytes(std::size_t prefix, std::int32_t height, std::int32_t band,
                             const PlaneSelection& sel, std::vector<std::uint8_t>& planes,
                             const BandWriter& write_band) {
  std::uint64_t total = prefix;
  auto block = [&](std::int32_t done, std::int32_t n, std::int32_t value, std::uint8_t code) {
    std::span<std::uint8_t> data(planes);
    total += write_band(done, n, value, code, data).size() + data.size();
  };
  for (std::int32_t done = 0; band > 0 && done < height; done += band) {
    const std::int32_t n = std::min(band, height - done);
    block(done, n, sel.first_value, sel.first_code);
    if (sel.two_blocks()) block(done, n, sel.second_value, kSecondColorCode);
    total += sizeof kPrintBufferCommand;
  }
  return total;
}

}  // namespace

std::int32_t SendTestPrintBands(WindowHandle owner, const LogoSession& session,
                                std::span<const std::uint8_t> prefix, std::int32_t height,
                                std::int32_t band, const PlaneSelection& sel,
                                std::vector<std::uint8_t>& planes, const BandWriter& write_band) {
  // A band of no rows would never get through the logo.
  if (band <= 0 && height > 0) {
    ShowMessage(owner, kStrTestPrintFailed);
    return 0;
  }
  auto opened = OpenPrinterPort(session);
  if (!opened) {
    ShowFailure(owner, kStrTestPrintFailed, opened.failure());
    return 0;
  }
  std::unique_ptr<PortDriver> port = std::move(*opened);
  if (port->beginJob() != 1) {
    ClosePrinterPort(std::move(port));
    ShowMessage(owner, kStrTestPrintFailed);
    return 0;
  }
  CommandSender out(*port);
  if (CurrentTransferProgress() != nullptr)
    out.ReportAs(TestPrintBytes(prefix.size(), height, band, sel, planes, write_band));
  std::int32_t result = prefix.empty() ? 1 : out.Start(prefix);
  // One colour of the band: its store command, then its data.
  auto send_block = [&](std::int32_t done, std::int32_t n, std::int32_t value, std::uint8_t code) {
    std::span<std::uint8_t> data(planes);
    const auto header = write_band(done, n, value, code, data);
    result = out.Start(header);
    if (result == 1) result = out.Continue(data);
  };
  for (std::int32_t done = 0; done < height && result == 1;) {
    const std::int32_t n = std::min(band, height - done);
    send_block(done, n, sel.first_value, sel.first_code);
    if (result == 1 && sel.two_blocks()) send_block(done, n, sel.second_value, kSecondColorCode);
    if (result == 1) result = out.Start(kPrintBufferCommand);
    done += n;
  }
  port->endJob();
  bool broke_off = out.broke_off();
  std::optional<Failure> why = out.failure();
  // Bytes the port had to drop on closing never reached the printer.
  if (Status closed = ClosePortChecked(*port); !closed) {
    broke_off = true;
    result = 0;
    if (!why) why = closed.failure();
  }
  if (result != 1) ReportTransferFailure(owner, kStrTestPrintFailed, broke_off, why, out.stopped());
  return result;
}

CommandSender::~CommandSender() {
  port_.write_waiting = nullptr;
  if (progress_ != nullptr) progress_->Finished();
}

void CommandSender::ReportAs(std::uint64_t total) {
  progress_ = CurrentTransferProgress();
  total_ = total;
  written_ = 0;
  sent_ = 0;
  // A quarter of a second of the line per piece: the progress moves and a stop
  // is heard that often, however slow the line.
  const std::uint32_t rate = port_.bytesPerSecond();
  piece_ = rate > 0 ? std::max<std::uint32_t>(rate / kPiecesPerSecond, 1) : kProgressStep;
  if (progress_ == nullptr) return;
  port_.write_waiting = [this](std::uint32_t handed) { return Report(written_ + handed); };
  if (!progress_->Update(0, total_)) stopped_ = true;
}

bool CommandSender::Report(std::uint64_t written) {
  // Bytes the driver still holds have not left the computer.
  std::uint64_t sent = written;
  if (std::optional<std::uint32_t> queued = port_.outputQueued())
    sent -= std::min<std::uint64_t>(*queued, sent);
  sent_ = std::max(sent_, sent);
  if (!progress_->Update(sent_, total_)) stopped_ = true;
  return !stopped_;
}

bool CommandSender::WaitForRoom() {
  std::optional<std::uint32_t> queued = port_.outputQueued();
  if (!queued || *queued <= piece_) return !stopped_;
  PortClock& clock = CurrentPortClock();
  std::uint64_t shrank_at = clock.NowMs();
  std::uint64_t reported_at = shrank_at;
  while (*queued > piece_) {
    const std::uint64_t now = clock.NowMs();
    // A line that stopped sending is left to the write's own wait and question.
    if (now - shrank_at >= kPaceStallMs) break;
    if (now - reported_at >= kWriteWaitReportMs) {
      reported_at = now;
      if (!Report(written_)) return false;
    }
    clock.SleepMs(kPacePollMs);
    std::optional<std::uint32_t> left = port_.outputQueued();
    if (!left) break;
    if (*left < *queued) shrank_at = clock.NowMs();
    queued = left;
  }
  return !stopped_;
}

std::int32_t CommandSender::Send(std::span<const std::uint8_t> bytes, bool inside_command) {
  std::uint32_t written = 0;
  std::int32_t result = 1;
  auto write = [&](std::span<const std::uint8_t> piece, std::uint32_t* taken) {
    Status sent = WriteBytes(port_, piece, taken);
    if (!sent) failure_ = sent.failure();
    return sent ? 1 : 0;
  };
  if (progress_ == nullptr) {
    result = write(bytes, &written);
  } else {
    while (result == 1 && written < bytes.size()) {
      if (stopped_ || !WaitForRoom()) {
        result = 0;
        break;
      }
      const auto piece =
          bytes.subspan(written, std::min<std::size_t>(piece_, bytes.size() - written));
      std::uint32_t taken = 0;
      result = write(piece, &taken);
      written += taken;
      written_ += taken;
      Report(written_);
    }
    if (stopped_ && result == 1 && written < bytes.size()) result = 0;
    // The user stopped it: nothing failed that needs a reason.
    if (stopped_) failure_.reset();
  }
  if (result != 1 && (inside_command || written > 0)) broke_off_ = true;
  return result;
}

void ReportTransferFailure(WindowHandle owner, int failure_id, bool broke_off,
                           const std::optional<Failure>& why, bool cancelled) {
  // A stop the user asked for is no failure of the printer or its settings.
  if ((cancelled && !why) || (why && why->code == FailureCode::kCancelled))
    ShowMessage(owner,
                failure_id == kStrTestPrintFailed ? kStrTestPrintCancelled : kStrRegisterCancelled);
  else if (why)
    ShowFailure(owner, failure_id, *why);
  else
    ShowMessage(owner, failure_id);
  if (broke_off) ShowMessage(owner, kStrTransferBrokenOff);
}

}  // namespace inkmark
