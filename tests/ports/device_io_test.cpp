// The device port's write loop and timed read, against a pseudo-terminal
// printer on the simulated clock.
#include <gtest/gtest.h>

#include "port_test_fixture.h"
#include "ports/serial_port.h"

namespace inkmark::testing {
namespace {

// Notes the size of every device write; its first `busy_writes` writes take
// only `taken_each` bytes (none from `taking_until_ms` on) and then answer
// busy after the full write time-out.
struct ScriptedPort final : DevicePort {
  ScriptedPort() : DevicePort("COM1:") {}
  Transfer writeDevice(const std::uint8_t* buffer, std::uint32_t length) override {
    chunks.push_back(length);
    if (busy_writes == 0) return DevicePort::writeDevice(buffer, length);
    --busy_writes;
    const std::uint32_t taken = CurrentPortClock().NowMs() < taking_until_ms ? taken_each : 0;
    Transfer t = DevicePort::writeDevice(buffer, std::min(length, taken));
    CurrentPortClock().SleepMs(write_total_timeout_constant + length);
    return {false, t.count, kErrorBusy};
  }
  std::vector<std::uint32_t> chunks;
  int busy_writes = 0;
  std::uint32_t taken_each = 0;
  std::uint64_t taking_until_ms = UINT64_MAX;
};

class DeviceIoTest : public PortTest {
 protected:
  DeviceIoTest() : printer(home, "com1") {}
  PtyPrinter printer;
};

TEST_F(DeviceIoTest, WritesInChunksOf4096ByteForByteAndNothingWhileClosed) {
  ScriptedPort port;
  const std::string data = Pattern(10000);
  std::uint8_t reply[2];
  std::uint32_t got = 0;
  EXPECT_EQ(WriteAll(port, data), 0);
  EXPECT_EQ(port.readExact(reply, 2, got), 0);
  EXPECT_TRUE(port.chunks.empty());

  ASSERT_EQ(port.open(), 1);
  EXPECT_EQ(WriteAll(port, data), 1);
  EXPECT_EQ(port.chunks, (std::vector<std::uint32_t>{4096, 4096, 1808}));
  port.close();
  EXPECT_TRUE(printer.Received() == data);
}

TEST_F(DeviceIoTest, AsksAfterFifteenSecondsWithoutProgressAndRetryRestartsWait) {
  boxes.Answer({kIdRetry, kIdCancel});
  clock.At(15000, [&] { EXPECT_TRUE(boxes.boxes().empty()); });
  clock.At(30000, [&] { EXPECT_LE(boxes.boxes().size(), 1u); });
  SerialPort port;  // COM1, without software flow control: every byte value passes
  ASSERT_EQ(port.open(), 1);
  // The printer reads nothing: the line fills and then takes no more bytes.
  const std::string data = Pattern(100000);
  std::uint32_t written = 0, errors = 0;
  EXPECT_EQ(WriteAll(port, data, &written, &errors), 0);
  EXPECT_EQ(errors, kErrorCounterTimeout);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  for (const RecordedBox& box : boxes.boxes()) {
    EXPECT_EQ(box.caption + "|" + box.text, "Inquiry|Printer is busy. Would you retry?");
    EXPECT_EQ(box.style & kMbButtonMask, unsigned(kMbRetryCancel));
  }
  ASSERT_GT(written, 0u);
  EXPECT_TRUE(printer.Received() == data.substr(0, written));
  port.close();
}

TEST_F(DeviceIoTest, NeverAsksWhilePrinterKeepsTakingBytes) {
  ScriptedPort port;
  port.busy_writes = 12;  // over a minute of busy writes, each taking a little
  port.taken_each = 3;
  ASSERT_EQ(port.open(), 1);
  const std::string data = Pattern(5000);
  EXPECT_EQ(WriteAll(port, data), 1);
  EXPECT_GT(clock.NowMs(), 60000u);
  EXPECT_TRUE(boxes.boxes().empty());
  port.close();
  EXPECT_TRUE(printer.Received() == data);
}

TEST_F(DeviceIoTest, AsksOnlyFifteenSecondsAfterThePrinterLastTookBytes) {
  ScriptedPort port;
  port.busy_writes = 100;  // each busy write lasts just over 6 s
  port.taken_each = 3;
  port.taking_until_ms = 18000;  // the last bytes go at about 12 s
  boxes.Answer({kIdCancel});
  clock.At(27000, [&] { EXPECT_TRUE(boxes.boxes().empty()); });
  ASSERT_EQ(port.open(), 1);
  EXPECT_EQ(WriteAll(port, Pattern(5000)), 0);
  EXPECT_EQ(boxes.boxes().size(), 1u);
  EXPECT_GT(clock.NowMs(), 27000u);
  port.close();
}

TEST_F(DeviceIoTest, ReadTimeoutGrowsForALateAnswerAndFallsBackWhenNoneComes) {
  auto port = std::make_unique<SerialPort>();
  ASSERT_EQ(port->open(), 1);
  clock.At(500, [&] { printer.Send("\x10\x04"); });
  clock.At(2500, [&] { printer.Send(std::string("\x12\x00", 2)); });
  std::uint8_t reply[4] = {};
  std::uint32_t got = 0;
  ASSERT_EQ(port->readExact(reply, 4, got), 1);
  EXPECT_EQ(std::string(reply, reply + got), std::string("\x10\x04\x12\x00", 4));
  EXPECT_GE(clock.NowMs(), 2500u);
  const std::uint32_t grown = read_constant_ms;
  EXPECT_GT(grown, 1u);
  port->close();

  // The next port starts with the grown time-out; a reply that stays short
  // fails just after three seconds and puts the time-out back to 1 ms.
  port = std::make_unique<SerialPort>();
  ASSERT_EQ(port->open(), 1);
  EXPECT_EQ(port->read_total_timeout_constant, grown);
  const std::uint64_t start = clock.NowMs();
  clock.At(start + 200, [&] { printer.Send("AB"); });
  EXPECT_EQ(port->readExact(reply, 4, got), 0);
  EXPECT_EQ(got, 2u);
  EXPECT_GT(clock.NowMs() - start, 3000u);
  EXPECT_LT(clock.NowMs() - start, 3200u);
  EXPECT_EQ(read_constant_ms, 1u);
  EXPECT_EQ(port->read_total_timeout_constant, 1u);
  port->close();
}

}  // namespace
}  // namespace inkmark::testing
