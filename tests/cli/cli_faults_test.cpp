// The built program against a virtual printer that misbehaves: no reply, a
// late one, stray bytes, broken key-list blocks, a busy or stalling printer
// and a line dropped in the middle of a define. Every run ends in seconds
// with the right exit status and message, and the printer's NV memory keeps
// every key it had, none overwritten and none half-defined.
#include <gmock/gmock.h>
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
    WriteBlack("black.bmp", 8, 2);
    // Scaled to the paper: 512 x 2048 dots, a define of 131 KB, more than the
    // line holds on its way.
    WriteBlack("tall.bmp", 8, 32);
  }
  void TearDown() override {
    server.reset();
    tcp.reset();
  }

  // A printer with `faults` on COM1, or on a loopback TCP port (`port` says
  // which), holding AB (one row) and CD (two rows).
  void Start(const vprinter::FaultOptions& faults, int keys_per_block = 1, bool on_tcp = false) {
    server.reset();
    tcp.reset();
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
    if (on_tcp) {
      tcp = vprinter::TcpServer::Start(*printer, "127.0.0.1", 0, &error);
      ASSERT_TRUE(tcp) << error;
      port = "tcp://127.0.0.1:" + std::to_string(tcp->port());
      return;
    }
    server = vprinter::PtyServer::Start(*printer, home.folder() / "Quorvel" / "devices" / "com1",
                                        &error);
    ASSERT_TRUE(server) << error;
    port = "COM1";
  }
  // Runs on the printer Start made, one ink.
  ToolResult On(const std::vector<std::string>& args) { return OnModel({"--port", port}, args); }
  // Runs, and fails the test when the run took longer than `limit`.
  ToolResult Timed(std::vector<std::string> args, std::chrono::milliseconds limit) {
    const auto start = std::chrono::steady_clock::now();
    ToolResult r = On(std::move(args));
    EXPECT_LT(std::chrono::steady_clock::now() - start, limit) << port;
    return r;
  }
  // The NV memory once the printer has read all it was sent.
  std::map<std::string, std::string> MemorySettled(const std::map<std::string, std::string>& want) {
    for (int i = 0; i < 500 && Memory() != want; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Memory();
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
  std::unique_ptr<vprinter::PtyServer> server;  // stop before the printer goes
  std::unique_ptr<vprinter::TcpServer> tcp;
  std::string port;
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

// A reply that lost a byte or broke off is refused on both lines, and
// a registration then sends nothing: no key is overwritten because a list
// that lost CD's first byte no longer names CD.
TEST_F(FaultyPrinterTest, RepliesThatLostAByteOrBreakOffAreRefused) {
  const std::string odd = kListFailed + "inkmark: the printer's reply: key list block 1: ";
  for (bool on_tcp : {false, true}) {
    // "7r@ABCD" loses its "B": "7r@ACD" is three key bytes.
    Start({.lose_byte = 4}, 20, on_tcp);
    ToolResult r = Timed({"keys"}, std::chrono::seconds(4));
    EXPECT_EQ(std::to_string(r.status) + "|" + r.out + "|" + r.err,
              "1||" + odd + "an unpaired key byte\n")
        << port;
    r = On({"register", "black.bmp", "-k", "CD"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(Memory(), before) << port;
  }
  // A capacity that breaks off after "71393" is not 393.
  Start({.break_after = 5});
  const ToolResult r = Timed({"capacity"}, std::chrono::seconds(5));
  EXPECT_EQ(std::to_string(r.status) + "|" + r.out, "1|") << r.err;
  EXPECT_THAT(r.err, ::testing::HasSubstr("Failed to get NV graphics capacity."));
}

TEST_F(FaultyPrinterTest, ADrippingReplyIsCutOffAtItsDeadline) {
  // One byte a second, each within the per-byte time-out: the capacity on
  // the serial line (the longest reply with what may come before it takes
  // 2.1 s at 19200 baud) and a key list block over TCP are cut off.
  for (bool on_tcp : {false, true}) {
    Start({.drip_ms = 1000}, 1, on_tcp);
    const ToolResult r =
        Timed({on_tcp ? "keys" : "capacity"}, std::chrono::milliseconds(on_tcp ? 4500 : 6500));
    EXPECT_EQ(r.status, 1) << port;
    EXPECT_THAT(r.err, ::testing::HasSubstr("more than the longest reply may take"));
  }
}

// The last block of a list that came after its host gave up must not pass as
// the next list (it names CD only): the next listing is whole or refused.
TEST_F(FaultyPrinterTest, ALateBlockOfAnEarlierListIsNotTheNextList) {
  Start({.late_block_ms = 3600});
  ToolResult r = On({"keys"});
  EXPECT_EQ(std::to_string(r.status) + r.out, "1AB\n") << r.err;
  r = On({"keys"});
  if (r.status != 0) {
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, ::testing::HasSubstr("so it did not answer this request"));
  } else {
    EXPECT_EQ(r.out, "AB\nCD\n");
  }
  r = On({"keys"});
  EXPECT_EQ(std::to_string(r.status) + r.out, "0AB\nCD\n") << r.err;
  EXPECT_EQ(Memory(), before);
}

// A line dropped part-way through a small job, whose bytes all fit in the
// line's buffers, fails registration, test print, print and delete; a pause
// the printer recovers from does not.
TEST_F(FaultyPrinterTest, ALineDroppedDuringASmallJobIsAFailureAndAPauseIsNot) {
  for (bool on_tcp : {false, true}) {
    // 512 x 128 dots: a define of 8 KB.
    Start({.drop_after = 100}, 1, on_tcp);
    ToolResult r = Timed({"register", "black.bmp", "--fit", "-k", "EF"}, std::chrono::seconds(5));
    EXPECT_EQ(r.status, 1) << port << r.err;
    EXPECT_THAT(r.err, ::testing::HasSubstr("Failed to register NV graphics."));
    EXPECT_EQ(MemorySettled(before), before) << port;
    Start({.drop_after = 100}, 1, on_tcp);
    r = Timed({"test-print", "black.bmp", "--fit"}, std::chrono::seconds(5));
    EXPECT_EQ(r.status, 1) << port << r.err;
    EXPECT_TRUE(printer->Printed().empty());
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"print", "AB"}, {"delete", "--yes", "AB"}}) {
      Start({.drop_after = 5}, 1, on_tcp);
      r = Timed(command, std::chrono::seconds(4));
      EXPECT_EQ(r.status, 1) << port << " " << command[0] << r.err;
      EXPECT_EQ(MemorySettled(before), before) << port;
      EXPECT_TRUE(printer->Printed().empty());
    }
  }
  // A 3 s pause in a 131 KB define over TCP: the kernel still delivers it.
  Start({.stall_after = 20000, .stall_ms = 3000}, 1, true);
  const ToolResult r =
      Timed({"register", "tall.bmp", "--fit", "-k", "EF"}, std::chrono::seconds(9));
  EXPECT_EQ(r.status, 0) << r.err;
  auto memory = before;
  memory["EF"] = "512x2048:" + std::string(512 / 8 * 2048, '\xFF');
  EXPECT_TRUE(MemorySettled(memory) == memory);
}

}  // namespace
}  // namespace inkmark::testing
