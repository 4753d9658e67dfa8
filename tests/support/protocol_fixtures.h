// What the protocol tests share: rasters built dot by dot, printer profiles,
// a port that records what it is sent and answers from a script, and a
// virtual printer behind the pseudo-terminal that the session's COM1 reaches.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "command_decode.h"
#include "document/logo_raster.h"
#include "ports/port_driver.h"
#include "protocol/nv_key.h"
#include "servers.h"
#include "support/pty_printer.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {

using namespace std::string_view_literals;
using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

inline Bytes B(std::initializer_list<int> bytes) { return Bytes(bytes.begin(), bytes.end()); }
inline Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }
inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The ink of a dot: 0 white, 1 first ink, 2 second ink.
using InkAt = std::function<int(int x, int y)>;
// Both inks, white, and edges that a shifted bit would spoil.
inline int Pattern(int x, int y) {
  return x == 0 || y == 0 ? 1 : (x + 2 * y) % 7 == 0 ? 2 : (x * y) % 5 == 1 ? 1 : 0;
}

// A bitmap file of `bits` per dot with the given palette (0xFFFFFF white),
// rows bottom-up.
inline LogoRaster BuildRaster(int width, int height, int bits,
                              const std::vector<std::int32_t>& palette, const InkAt& value_at) {
  const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
  const std::size_t offset = 54 + 4 * palette.size();
  Bytes f(offset + stride * std::size_t(height), 0);
  const auto put = [&](std::size_t at, std::size_t v) {  // 4 bytes, little-endian
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  // "BM", file size, pixel offset, header size, width, height, planes and
  // bits, colours used.
  put(0, 'B' | 'M' << 8), put(2, f.size()), put(10, offset), put(14, 40), put(18, width);
  put(22, height), put(26, 1 + (bits << 16)), put(46, palette.size());
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const PaletteEntry e =
        palette[i] == 0xFFFFFF ? PaletteEntry{0xFF, 0xFF, 0xFF} : PaletteEntryFromColor(palette[i]);
    put(54 + 4 * i, e.blue | e.green << 8 | e.red << 16);
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)  // 8 bits: the byte; 1 bit: its bit in the byte
      f[offset + stride * std::size_t(height - 1 - y) + std::size_t(x) * bits / 8] |=
          static_cast<std::uint8_t>(value_at(x, y) << (8 - bits - x * bits % 8));
  return LogoRaster::FromFile(std::move(f)).value();
}
// A raster as the composition makes it, black first, y counted from the top:
// with no second ink a 1-bit raster (index 0 the ink, 1 white; both inks of
// `ink_at` print), else an 8-bit raster (0 black, 1 `second`, 2 white).
inline LogoRaster MakeRaster(int width, int height, std::int32_t second,
                             const InkAt& ink_at = Pattern) {
  const bool one = second == kNoInk;
  return BuildRaster(
      width, height, one ? 1 : 8,
      one ? std::vector{kColorBlack, 0xFFFFFF} : std::vector{kColorBlack, second, 0xFFFFFF},
      [&](int x, int y) { return ink_at(x, y) ? one ? 0 : ink_at(x, y) - 1 : 2 - one; });
}

inline const std::string kTestDriver = "Corlane Printer Driver DT-300/310";
// A profile of `model` with Black and `second` ("None": no second ink), on a
// serial port or the driver route's spooler queue.
inline PrinterProfile ProfileFor(const std::string& model, const std::string& second = "Red",
                                 int dpi = 180, const std::string& port = "COM1") {
  PrinterProfile p;
  p.model_name = model;
  p.first_colors.values = {"Black", "0"}, p.second_colors.values = {second, "0"};
  p.resolutions.values = {dpi, 0}, p.ports.values = {port, "0"};
  p.baud_rates.values = {19200, 0}, p.bit_lengths.values = {8, 0};
  p.parities.values = {"None", "0"}, p.flows.values = {"DTR/DSR", "0"};
  p.driver_names.values = {kTestDriver};
  return p;
}
inline void UseProfile(LogoSession& session, PrinterProfile profile) {
  session.first_color = kColorBlack,
  session.second_color = ColorFromName(profile.second_colors.values[0]);
  session.profiles = {std::move(profile)};
  session.profile_index = 0;
}
inline Texts KeyTexts(const std::vector<NvKey>& keys) {
  Texts out;
  for (const NvKey& k : keys) out.emplace_back(k.data());
  return out;
}

// The commands a stream holds, as the virtual printer reads them; fails the
// test when bytes are left over, belong to no command or are refused.
inline std::vector<vprinter::Command> DecodeStream(const Bytes& stream) {
  vprinter::CommandParser parser;
  std::vector<vprinter::Command> commands;
  parser.Feed(stream, [&](const vprinter::Frame& f) { commands.push_back(DecodeFrame(f)); });
  EXPECT_TRUE(parser.idle()) << "stream ends inside a command";
  EXPECT_EQ(parser.skipped_bytes(), 0u);
  for (const auto& c : commands) EXPECT_NE(c.kind, vprinter::CommandKind::kRefused) << c.reason;
  return commands;
}
// What `raster` prints as on the virtual printer, dot by dot from the top: 1
// where the dot has `first_value`, 2 where `second_value`, padded with white.
inline Bytes ExpectedInks(const LogoRaster& raster, int width, int height,
                          std::int32_t first_value = 0, std::int32_t second_value = 1) {
  Bytes inks(std::size_t(width) * height, 0);
  for (int y = 0; y < raster.height() && y < height; ++y)
    for (int x = 0; x < raster.width() && x < width; ++x) {
      const int v = *raster.pixel(x, raster.height() - 1 - y);  // storage rows are bottom-up
      inks[std::size_t(y) * width + x] = v == first_value ? 1 : v == second_value ? 2 : 0;
    }
  return inks;
}
// Waits up to five seconds for the printer (or the spooler) to have done something.
inline bool WaitFor(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(5)))
    if (std::chrono::steady_clock::now() > end) return false;
  return true;
}

// Records writes and answers reads from its script.
class ScriptPort final : public PortDriver {
 public:
  ScriptPort() : PortDriver("SCRIPT") {}
  Status open() override { return Status(); }
  Status close() override { return Status(); }
  std::int32_t beginJob() override { return ++jobs_begun, 1; }
  void endJob() override { ++jobs_ended; }
  Status read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    for (got = 0; got < length && !replies.empty(); replies.pop_front())
      buffer[got++] = replies.front();
    if (got != length) return {FailureCode::kTimedOut, "the script ran out of replies"};
    return Status();
  }
  Status readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    return read(buffer, length, got);
  }
  Status write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
               std::uint32_t& errors) override {
    written = (errors = writes++ >= fail_from_write) ? 0 : length;
    sent.insert(sent.end(), buffer, buffer + written);
    if (errors) return {FailureCode::kWriteFailed, "the script fails this write"};
    return Status();
  }
  void Reply(const Bytes& bytes) { replies.insert(replies.end(), bytes.begin(), bytes.end()); }

  std::deque<std::uint8_t> replies;  // each byte is read once
  Bytes sent;                        // what the writes that went out held
  std::size_t writes = 0;
  std::size_t fail_from_write = SIZE_MAX;  // this write (from 0) and all later ones fail
  int jobs_begun = 0, jobs_ended = 0;
};

// A virtual printer, two keys to a list block, behind a pseudo-terminal that
// the session's COM1 reaches.
class PtyPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vprinter::PrinterOptions options;
    options.keys_per_block = 2;
    printer = std::make_unique<vprinter::VirtualPrinter>(options);
    std::string error;
    server = vprinter::PtyServer::Start(*printer, Link(), &error);
    ASSERT_TRUE(server) << error;
  }
  std::filesystem::path Link() const { return home.folder() / "Quorvel" / "devices" / "com1"; }
  static vprinter::NvKey VKey(const std::string& key) {
    return {std::uint8_t(key[0]), std::uint8_t(key[1])};
  }
  // The graphics stored under `key`, as the printer prints them.
  Bytes Stored(const std::string& key) const {
    auto g = printer->Find(VKey(key));
    return g ? vprinter::RenderGraphics(*g).value_or(vprinter::Picture{}).inks : Bytes{};
  }

  DeviceMapHome home;
  RecordingMessageBoxes boxes;
  std::unique_ptr<vprinter::VirtualPrinter> printer;
  std::unique_ptr<vprinter::PtyServer> server;
};

}  // namespace inkmark::testing
