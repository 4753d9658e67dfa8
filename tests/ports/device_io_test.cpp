// The device port's write loop and timed read, against a pseudo-terminal
// printer on the simulated clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "port_test_fixture.h"
#include "ports/clock.h"
#include "ports/serial_port.h"

namespace inkmark::testing {
namespace {

// Notes the size of every device write on its way to the device.
class ChunkRecordingPort final : public DevicePort {
 public:
  ChunkRecordingPort() : DevicePort("COM1:") {}
  std::vector<std::uint32_t> chunks;

 protected:
  Transfer writeDevice(const std::uint8_t* buffer, std::uint32_t length) override {
    chunks.push_back(length);
    return DevicePort::writeDevice(buffer, length);
  }
};

// A printer that answers each of its first `busy_writes` writes busy after the
// full write time-out, having taken only `taken_each` bytes.
class CrawlingPort final : public DevicePort {
 public:
  CrawlingPort(int busy_writes, std::uint32_t taken_each)
      : DevicePort("COM1:"), busy_writes_(busy_writes), taken_each_(taken_each) {}

 protected:
  Transfer writeDevice(const std::uint8_t* buffer, std::uint32_t length) override {
    if (busy_writes_ == 0) return DevicePort::writeDevice(buffer, length);
    --busy_writes_;
    Transfer t = DevicePort::writeDevice(buffer, std::min(length, taken_each_));
    CurrentPortClock().SleepMs(write_total_timeout_constant + length);
    return {false, t.count, kErrorBusy};
  }

 private:
  int busy_writes_;
  std::uint32_t taken_each_;
};

// Notes when each box came up, in simulated time.
class TimedBoxes final : public MessageBoxes {
 public:
  TimedBoxes(MessageBoxes& inner, PortClock& clock) : inner_(inner), clock_(clock) {
    SetMessageBoxes(this);
  }
  ~TimedBoxes() override { SetMessageBoxes(&inner_); }
  int Show(WindowHandle owner, const std::string& caption, const std::string& text,
           unsigned style) override {
    times.push_back(clock_.NowMs());
    return inner_.Show(owner, caption, text, style);
  }
  std::vector<std::uint64_t> times;

 private:
  MessageBoxes& inner_;
  PortClock& clock_;
};

// Compares long byte strings without printing them whole.
::testing::AssertionResult SameBytes(const std::string& got, const std::string& want) {
  if (got == want) return ::testing::AssertionSuccess();
  std::size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  return ::testing::AssertionFailure()
         << "got " << got.size() << " bytes, want " << want.size() << "; first difference at " << i;
}

class DeviceIoTest : public PortTest {
 protected:
  DeviceIoTest() : printer(home, "com1") {}

  // A raw line without software flow control, so every byte value passes.
  std::unique_ptr<SerialPort> OpenSerial() {
    auto port = std::make_unique<SerialPort>();
    port->setLine(1, 8, kParityNone, kOneStopBit, kFlowDtrDsr, 19200);
    EXPECT_EQ(port->open(), 1);
    return port;
  }

  PtyPrinter printer;
};

TEST_F(DeviceIoTest, WritesInChunksOf4096ByteForByte) {
  ChunkRecordingPort port;
  ASSERT_EQ(port.open(), 1);
  auto data = Pattern(10000);
  std::uint32_t written = 0, errors = 0;
  EXPECT_EQ(port.write(data.data(), 10000, written, errors), 1);
  EXPECT_EQ(written, 10000u);
  EXPECT_EQ(port.chunks, (std::vector<std::uint32_t>{4096, 4096, 1808}));
  port.close();
  EXPECT_TRUE(SameBytes(printer.Received(), AsText(data)));
}

TEST_F(DeviceIoTest, AsksAfterFifteenSecondsWithoutProgressAndRetryRestartsWait) {
  TimedBoxes timed(boxes, clock);
  boxes.Answer({kIdRetry, kIdCancel});
  auto port = OpenSerial();
  // The printer reads nothing: the line fills and then takes no more bytes.
  auto data = Pattern(100000);
  std::uint32_t written = 0, errors = 0;
  EXPECT_EQ(port->write(data.data(), std::uint32_t(data.size()), written, errors), 0);
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, data.size());
  EXPECT_EQ(errors, kErrorCounterTimeout);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  for (const RecordedBox& box : boxes.boxes()) {
    EXPECT_EQ(box.caption, "Inquiry");
    EXPECT_EQ(box.text, "Printer is busy. Would you retry?");
    EXPECT_EQ(box.style & kMbButtonMask, unsigned(kMbRetryCancel));
  }
  EXPECT_GT(timed.times[0], 15000u);
  EXPECT_GT(timed.times[1] - timed.times[0], 15000u);
  EXPECT_TRUE(SameBytes(printer.Received(), AsText(data).substr(0, written)));
  port->close();
}

TEST_F(DeviceIoTest, NeverAsksWhilePrinterKeepsTakingBytes) {
  CrawlingPort port(12, 3);  // over a minute of busy writes
  ASSERT_EQ(port.open(), 1);
  auto data = Pattern(5000);
  std::uint32_t written = 0, errors = 0;
  EXPECT_EQ(port.write(data.data(), std::uint32_t(data.size()), written, errors), 1);
  EXPECT_GT(clock.NowMs(), 60000u);
  EXPECT_TRUE(boxes.boxes().empty());
  port.close();
  EXPECT_TRUE(SameBytes(printer.Received(), AsText(data)));
}

TEST_F(DeviceIoTest, SlowPrinterReceivesEveryByteInOrder) {
  auto port = OpenSerial();
  std::string taken;
  clock.Every(2000, [&] { taken += printer.Take(3000); });
  auto data = Pattern(60000);
  std::uint32_t written = 0, errors = 0;
  EXPECT_EQ(port->write(data.data(), std::uint32_t(data.size()), written, errors), 1);
  EXPECT_EQ(written, data.size());
  // Slow enough that a printer taking nothing would have been asked about.
  EXPECT_GT(clock.NowMs(), 25000u);
  EXPECT_TRUE(boxes.boxes().empty());
  port->close();
  EXPECT_TRUE(SameBytes(taken + printer.Received(), AsText(data)));
}

TEST_F(DeviceIoTest, LateAnswerInPiecesCompletesReadAndSlowsLaterReads) {
  auto port = OpenSerial();
  clock.At(500, [&] { printer.Send(std::string("\x10\x04", 2)); });
  clock.At(2500, [&] { printer.Send(std::string("\x12\x00", 2)); });
  std::uint8_t reply[4] = {};
  std::uint32_t got = 0;
  ASSERT_EQ(port->readExact(reply, 4, got), 1);
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(std::string(reply, reply + 4), std::string("\x10\x04\x12\x00", 4));
  EXPECT_GE(clock.NowMs(), 2500u);
  EXPECT_GT(read_constant_ms, 1u);
  const std::uint32_t grown = read_constant_ms;
  port->close();

  // The next port starts with the grown read time-out.
  auto next = OpenSerial();
  EXPECT_EQ(next->read_total_timeout_constant, grown);
  next->close();
}

TEST_F(DeviceIoTest, SilentPrinterTimesOutJustAfterThreeSecondsAndResetsReadTimeout) {
  auto port = OpenSerial();
  std::uint32_t before_timeout = 0;
  clock.At(2900, [&] { before_timeout = read_constant_ms; });
  clock.At(200, [&] { printer.Send("AB"); });
  std::uint8_t reply[4] = {};
  std::uint32_t got = 0;
  EXPECT_EQ(port->readExact(reply, 4, got), 0);
  EXPECT_EQ(got, 2u);
  EXPECT_GT(before_timeout, 1u);
  EXPECT_GT(clock.NowMs(), 3000u);
  EXPECT_LT(clock.NowMs(), 3200u);
  EXPECT_EQ(read_constant_ms, 1u);
  EXPECT_EQ(port->read_total_timeout_constant, 1u);
  port->close();
}

TEST_F(DeviceIoTest, ClosedPortTouchesNothing) {
  SerialPort port;
  std::uint8_t buf[2] = {0x1B, 0x40};
  std::uint32_t got = 0, written = 0, errors = 0;
  EXPECT_EQ(port.read(buf, 2, got), 0);
  EXPECT_EQ(port.readExact(buf, 2, got), 0);
  EXPECT_EQ(port.write(buf, 2, written, errors), 0);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(printer.Received(), "");
}

}  // namespace
}  // namespace inkmark::testing
