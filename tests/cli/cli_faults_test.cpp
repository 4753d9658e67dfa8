// The built program against a virtual printer that misbehaves: no reply, a
// late one, stray bytes, broken key-list blocks, a busy or stalling printer
// and a line dropped in the middle of a define. Every run ends in seconds
// with the right exit status and message, and the printer's NV memory keeps
// every key it had, none overwritten and none half-defined.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "cli/inkmark_tool.h"
#include "servers.h"
#include "support/compose_fixture.h"
#include "support/pty_printer.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

const std::string kListFailed = "inkmark: Failed to get key code list.\n";
const std::string kBlock2 = "the printer's reply: key list block 2: ";
const std::string kNoReply = "COM1: no reply within 3000 ms (0 of 1 bytes came)";
const std::string kHungUp = "inkmark: COM1: write: Input/output error\n";
const std::string kStillWaiting =
    "inkmark: The printer may still be waiting for the rest of the data. Switch it off and on "
    "before the next command.\n";

class FaultyPrinterTest : public InkmarkToolTest {
 protected:
  void SetUp() override {
    const auto black = SolidBitmap(8, 2, kBlack24);
    work.Write("black.bmp", std::string(black.begin(), black.end()));
    // Scaled to the paper: 512 x 2048 dots, a define of 131 KB, more than the
    // line holds on its way.
    const auto tall = SolidBitmap(8, 32, kBlack24);
    work.Write("tall.bmp", std::string(tall.begin(), tall.end()));
  }
  void TearDown() override { server.reset(); }

  // A printer with `faults` on COM1, holding AB (one row) and CD (two rows).
  void Start(const vprinter::FaultOptions& faults, int keys_per_block = 1) {
    server.reset();
    vprinter::PrinterOptions options;
    options.faults = faults;
    options.keys_per_block = keys_per_block;
    printer = std::make_unique<vprinter::VirtualPrinter>(options);
    for (int rows : {1, 2}) {
      const vprinter::Graphics g{vprinter::GraphicsForm::kRaster,
                                 8,
                                 std::uint16_t(rows),
                                 {{0x31, std::vector<std::uint8_t>(std::size_t(rows), 0xA5)}}};
      ASSERT_EQ(printer->Define(Key(rows == 1 ? "AB" : "CD"), g), vprinter::DefineResult::kStored);
    }
    before = Memory();
    std::string error;
    server = vprinter::PtyServer::Start(*printer, home.folder() / "Quorvel" / "devices" / "com1",
                                        &error);
    ASSERT_TRUE(server) << error;
  }
  static vprinter::NvKey Key(const std::string& key) {
    return {std::uint8_t(key[0]), std::uint8_t(key[1])};
  }
  // Every stored key with its graphics' size and data.
  std::map<std::string, std::string> Memory() const {
    std::map<std::string, std::string> memory;
    for (const auto& key : printer->Keys()) {
      const auto g = printer->Find(key);
      std::string& text = memory[vprinter::KeyText(key)];
      text = std::to_string(g->width) + "x" + std::to_string(g->height) + ":";
      for (const auto& block : g->blocks) text.append(block.data.begin(), block.data.end());
    }
    return memory;
  }

  DeviceMapHome home;
  std::unique_ptr<vprinter::VirtualPrinter> printer;
  std::unique_ptr<vprinter::PtyServer> server;  // stops before the printer goes
  std::map<std::string, std::string> before;
};

// A key list that does not arrive whole is unreadable: `keys` shows what came
// and fails, and a registration sends nothing, so a stored key is never
// overwritten because the list broke off before it.
TEST_F(FaultyPrinterTest, AKeyListThatBreaksOffIsUnreadableAndRegistersNothing) {
  const struct {
    const char* name;
    vprinter::FaultOptions faults;
    const char* command;
    std::string out;
    std::string why;  // the line after the standard text
  } cases[] = {
      {"broken last block", {.bad_blocks = true}, "keys", "AB\n", kBlock2 + "a wrong identifier"},
      {"broken last block", {.bad_blocks = true}, "register", "", kBlock2 + "a wrong identifier"},
      {"stray byte before each block", {.garbage = 1}, "keys", "AB\n", kBlock2 + "a wrong header"},
      {"stray byte before each block", {.garbage = 1}, "register", "", kBlock2 + "a wrong header"},
      {"no reply", {.no_reply = true}, "register", "", kNoReply},
      {"reply after the time-out", {.reply_delay_ms = 3300}, "keys", "", kNoReply},
  };
  for (const auto& c : cases) {
    Start(c.faults);
    const ToolResult r = std::string(c.command) == "keys"
                             ? Run({"keys"})
                             : Run({"register", "black.bmp", "-k", "CD"});
    EXPECT_EQ(std::to_string(r.status) + "|" + r.out + "|" + r.err,
              "1|" + c.out + "|" + kListFailed + "inkmark: " + c.why + "\n")
        << c.name << ", " << c.command;
    EXPECT_EQ(Memory(), before) << c.name << ", " << c.command;
  }
}

// A printer that stops reading for a while still gets every byte.
TEST_F(FaultyPrinterTest, ABusyOrStallingPrinterStillGetsTheWholeLogo) {
  for (const vprinter::FaultOptions& faults :
       {vprinter::FaultOptions{.busy_ms = 1000},
        vprinter::FaultOptions{.stall_after = 20000, .stall_ms = 2500}}) {
    Start(faults);
    const ToolResult r = Run({"register", "tall.bmp", "--fit", "-k", "EF"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto memory = before;
    memory["EF"] = "512x2048:" + std::string(512 / 8 * 2048, '\xFF');
    // The last bytes may still lie in the pseudo-terminal when the tool ends:
    // the printer reads them on its own thread.
    for (int i = 0; i < 1000 && Memory() != memory; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(Memory() == memory) << faults.busy_ms;
  }
}

// The printer drops the line part-way through the define or a test-print
// band: the run fails and says the printer may still be waiting for the rest.
TEST_F(FaultyPrinterTest, ALineDroppedMidTransferIsReportedAndDefinesNothing) {
  Start({.drop_after = 2000});
  ToolResult r = Run({"register", "tall.bmp", "--fit", "-k", "EF"});
  EXPECT_EQ(std::to_string(r.status) + "|" + r.err,
            "1|inkmark: Failed to register NV graphics. Please confirm the printer settings.\n" +
                kHungUp + kStillWaiting);
  EXPECT_EQ(Memory(), before);

  Start({.drop_after = 2000});
  r = Run({"test-print", "tall.bmp", "--fit"});
  EXPECT_EQ(std::to_string(r.status) + "|" + r.err,
            "1|inkmark: Test printing failure. Please confirm the printer settings.\n" + kHungUp +
                kStillWaiting);
  EXPECT_TRUE(printer->Printed().empty());
  EXPECT_EQ(Memory(), before);
}

}  // namespace
}  // namespace inkmark::testing
