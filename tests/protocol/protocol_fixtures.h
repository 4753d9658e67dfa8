// What the protocol tests share: rasters built dot by dot, printer profiles,
// a port that records what it is sent and answers from a script, and a
// virtual printer behind the pseudo-terminal that the session's COM1 reaches.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "command_decode.h"
#include "image/logo_raster.h"
#include "ports/port_driver.h"
#include "protocol/nv_key.h"
#include "pty_printer.h"
#include "servers.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"
#include "virtual_printer.h"

namespace inkmark::testing {

using namespace std::string_view_literals;
using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

Bytes B(std::initializer_list<int> bytes);
inline Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes operator+(Bytes a, const Bytes& b);

// The ink of a dot: 0 white, 1 first ink, 2 second ink.
using InkAt = std::function<int(int x, int y)>;
// Both inks, white, and edges that a shifted bit would spoil.
int Pattern(int x, int y);

// A raster as the composition makes it, black first, y counted from the top:
// with no second ink a 1-bit raster (index 0 the ink, 1 white; both inks of
// `ink_at` print), else an 8-bit raster (0 black, 1 `second`, 2 white).
LogoRaster MakeRaster(int width, int height, std::int32_t second, const InkAt& ink_at = Pattern);
// A 1-bit raster in the converter's order: index 0 white, index 1 `ink`.
LogoRaster MakeInkOneRaster(int width, int height, std::int32_t ink, const InkAt& ink_at);

// A profile of `model` with Black and `second` ("None": no second ink).
PrinterProfile ProfileFor(const std::string& model, const std::string& second = "Red",
                          int dpi = 180, const std::string& port = "COM1");
void UseProfile(LogoSession& session, PrinterProfile profile);
Texts KeyTexts(const std::vector<NvKey>& keys);

// The commands a stream holds, as the virtual printer reads them; fails the
// test when bytes are left over, belong to no command or are refused.
std::vector<vprinter::Command> DecodeStream(const Bytes& stream);
// What `raster` prints as on the virtual printer, dot by dot from the top: 1
// where the dot has `first_value`, 2 where `second_value`, padded with white.
std::vector<std::uint8_t> ExpectedInks(const LogoRaster& raster, int width, int height,
                                       std::int32_t first_value = 0, std::int32_t second_value = 1);
// The graphics stored under `key`, as the printer prints them.
inline std::vector<std::uint8_t> StoredInks(const vprinter::VirtualPrinter& printer,
                                            const std::string& key) {
  auto g = printer.Find({std::uint8_t(key[0]), std::uint8_t(key[1])});
  return g ? vprinter::RenderGraphics(*g).value_or(vprinter::Picture{}).inks : Bytes{};
}
inline Bytes CapacityReply(std::uint64_t capacity) {
  return B("71"sv) + B(std::to_string(capacity)) + B({0});
}

// Records writes and answers reads from its script.
class ScriptPort final : public PortDriver {
 public:
  ScriptPort() : PortDriver("SCRIPT") {}
  std::int32_t open() override { return 1; }
  void close() override {}
  std::int32_t beginJob() override { return ++jobs_begun, begin_job_result; }
  void endJob() override { ++jobs_ended; }
  std::int32_t read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  std::int32_t readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    return read(buffer, length, got);
  }
  std::int32_t write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                     std::uint32_t& errors) override;

  void Reply(const Bytes& bytes) { replies.insert(replies.end(), bytes.begin(), bytes.end()); }
  Bytes Sent() const;
  void Reset();

  std::deque<std::uint8_t> replies;  // each byte is read once
  std::vector<Bytes> writes;
  std::size_t fail_from_write = SIZE_MAX;  // this write (from 0) and all later ones fail
  std::int32_t begin_job_result = 1;
  int jobs_begun = 0, jobs_ended = 0;
};

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
    server.reset();
    printer = std::make_unique<vprinter::VirtualPrinter>(options);
    std::string error;
    server = vprinter::PtyServer::Start(*printer, Link(), &error);
    ASSERT_TRUE(server) << error;
  }
  std::filesystem::path Link() const { return home.folder() / "Quorvel" / "devices" / "com1"; }
  std::vector<std::uint8_t> Stored(const std::string& key) const {
    return StoredInks(*printer, key);
  }

  DeviceMapHome home;
  RecordingMessageBoxes boxes;
  std::unique_ptr<vprinter::VirtualPrinter> printer;
  std::unique_ptr<vprinter::PtyServer> server;
};

}  // namespace inkmark::testing
