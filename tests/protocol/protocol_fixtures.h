// What the protocol tests share: print rasters built dot by dot, printer
// profiles of either family, and a port that records what it is sent and
// answers from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/session.h"
#include "image/logo_raster.h"
#include "ports/port_driver.h"
#include "protocol/nv_key.h"

namespace inkmark::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::initializer_list<int> bytes);
Bytes operator+(Bytes a, const Bytes& b);
inline Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The ink a dot prints: 0 white, 1 first ink, 2 second ink.
using InkAt = std::function<int(int x, int y)>;

// A raster as the composition makes it, y counted from the top: with no
// second ink a 1-bit raster (index 0 the ink, 1 white), else an 8-bit raster
// (0 first ink, 1 second ink, 2 white).
LogoRaster MakeRaster(int width, int height, std::int32_t first_color, std::int32_t second_color,
                      const InkAt& ink_at);
// A 1-bit raster in the converter's order: index 0 white, index 1 the ink.
LogoRaster MakeInkOneRaster(int width, int height, std::int32_t ink, const InkAt& ink_at);

// A pattern with both inks, white, and edges that a shifted bit would spoil.
int Pattern(int x, int y);
// The same with the first ink only.
inline int OneInkPattern(int x, int y) { return Pattern(x, y) == 0 ? 0 : 1; }

// A profile of `model` with Black first and `second` ("None" for no second
// ink) as its colour choices, the given resolution and port.
PrinterProfile ProfileFor(const std::string& model, const std::string& second = "Red",
                          int dpi = 180, const std::string& port = "COM1");
void UseProfile(LogoSession& session, PrinterProfile profile);

std::vector<std::string> KeyTexts(const std::vector<NvKey>& keys);

// Records writes and answers reads from its script.
class ScriptPort final : public PortDriver {
 public:
  ScriptPort() : PortDriver("SCRIPT") {}

  std::int32_t open() override { return 1; }
  void close() override { closed = true; }
  std::int32_t beginJob() override {
    ++jobs_begun;
    return begin_job_result;
  }
  void endJob() override { ++jobs_ended; }
  std::int32_t read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  std::int32_t readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    return read(buffer, length, got);
  }
  std::int32_t write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                     std::uint32_t& errors) override;

  // Back to a fresh port: no script, nothing sent, every operation succeeding.
  void Reset();

  // Bytes the printer sends; each is read once.
  void Reply(const Bytes& bytes) { replies.insert(replies.end(), bytes.begin(), bytes.end()); }

  std::deque<std::uint8_t> replies;
  Bytes sent;
  // Writes, one entry each.
  std::vector<Bytes> writes;
  // The write with this index (from 0) and every later one fail.
  std::size_t fail_from_write = SIZE_MAX;
  std::int32_t begin_job_result = 1;
  int jobs_begun = 0;
  int jobs_ended = 0;
  bool closed = false;
};

}  // namespace inkmark::testing

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "command_decode.h"
#include "graphics.h"
#include "pty_printer.h"
#include "servers.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"
#include "virtual_printer.h"

namespace inkmark::testing {

// The commands a byte stream holds, as the virtual printer reads them; fails
// the test when bytes are left over or belong to no command.
std::vector<vprinter::Command> DecodeStream(const Bytes& stream);

// The inks `raster` prints, dot by dot from the top, as the virtual printer
// lays them out: 1 where the dot has `first_value`, 2 where `second_value`.
vprinter::Picture ExpectedPicture(const LogoRaster& raster, int picture_width, int picture_height,
                                  std::int32_t first_value, std::int32_t second_value);

// The capacity reply of the direct route.
inline Bytes CapacityReply(std::uint64_t capacity) {
  return B({0x37, 0x31}) + B(std::to_string(capacity)) + B({0x00});
}

// A session whose output goes to a command file rather than a printer.
class CommandFileTest : public ::testing::Test {
 protected:
  CommandFileTest() {
    session.save_as_command_file = 1;
    session.save_path = (dir.path() / "print.bin").string();
  }
  Bytes Sent() const { return B(ReadFileText(session.save_path)); }

  TempDir dir;
  LogoSession session;
  RecordingMessageBoxes boxes;
};

// A virtual printer behind a pseudo-terminal that the session's COM1 reaches.
class PtyPrinterTest : public ::testing::Test {
 protected:
  // Replaces any printer already there.
  void StartPrinter(const vprinter::PrinterOptions& options = {}) {
    if (server) server->Stop();
    server.reset();
    printer = std::make_unique<vprinter::VirtualPrinter>(options);
    std::string error;
    server = vprinter::PtyServer::Start(*printer, Link(), &error);
    ASSERT_TRUE(server) << error;
  }
  void TearDown() override {
    if (server) server->Stop();
  }
  std::filesystem::path Link() const { return home.folder() / "Quorvel" / "devices" / "com1"; }

  DeviceMapHome home;
  RecordingMessageBoxes boxes;
  std::unique_ptr<vprinter::VirtualPrinter> printer;
  std::unique_ptr<vprinter::PtyServer> server;
};

}  // namespace inkmark::testing
