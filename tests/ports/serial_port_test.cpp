#include "ports/serial_port.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <vector>

#include "port_test_fixture.h"
#include "ports/device_map.h"
#include "ports/open_port.h"
#include "ports/parallel_port.h"

namespace inkmark::testing {
namespace {

using SerialPortTest = PortTest;

std::unique_ptr<PortDriver> OpenWith(const LineChoice& choice) {
  LogoSession session;
  UseProfile(session, ProfileWith(choice));
  return OpenPrinterPort(session);
}

TEST(SerialLineStateTest, SetsSizeParityStopBitsAndHandshake) {
  termios tio{};
  tio.c_iflag = ICRNL | IXANY;
  tio.c_oflag = OPOST | ONLCR;
  tio.c_lflag = ICANON | ECHO | ISIG;
  ASSERT_TRUE(SetLineState(tio, 7, kParityEven, kOneStopBit, kFlowDtrDsr, 9600));
  EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS7));
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), tcflag_t(PARENB));
  EXPECT_EQ(tio.c_cflag & (CSTOPB | CRTSCTS), 0u);
  EXPECT_NE(tio.c_cflag & (CREAD | CLOCAL), 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | IXANY), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(cfgetospeed(&tio), B9600);

  ASSERT_TRUE(SetLineState(tio, 8, kParityOdd, kTwoStopBits, kFlowRtsCts | kFlowXonXoff, 19200));
  EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), tcflag_t(PARENB | PARODD));
  EXPECT_EQ(tio.c_cflag & (CSTOPB | CRTSCTS), tcflag_t(CSTOPB | CRTSCTS));
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));

  ASSERT_TRUE(SetLineState(tio, 8, kParityNone, kOneStopBit, kFlowXonXoff, 19200));
  EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_cc[VSTART], 0x11);
  EXPECT_EQ(tio.c_cc[VSTOP], 0x13);

  EXPECT_FALSE(SetLineState(tio, 9, kParityNone, kOneStopBit, kFlowXonXoff, 19200));
  EXPECT_FALSE(SetLineState(tio, 8, 3, kOneStopBit, kFlowXonXoff, 19200));
  EXPECT_FALSE(SetLineState(tio, 8, kParityNone, kOneStopBit, kFlowXonXoff, 12345));
}

// A pseudo-terminal keeps the speed, the handshake and the parity check that
// the port sets (it always reports 8 data bits and no parity bit).
TEST_F(SerialPortTest, AppliesSelectedLineToDevice) {
  PtyPrinter printer(home, "com2");
  auto port = OpenWith({.port = "COM2", .baud = 9600, .bits = 7, .parity = "Even"});
  ASSERT_NE(port, nullptr);
  termios line = printer.Line();
  EXPECT_EQ(cfgetospeed(&line), B9600);
  EXPECT_EQ(cfgetispeed(&line), B9600);
  EXPECT_EQ(line.c_cflag & (PARODD | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);
  EXPECT_NE(line.c_iflag & INPCK, 0u);
  // Binary: nothing translated on the way out or in.
  EXPECT_EQ(line.c_oflag & OPOST, 0u);
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);
  port->close();
}

TEST_F(SerialPortTest, SendsInitializeCommandThenSettles) {
  PtyPrinter printer(home, "com1");
  auto port = OpenWith({});
  ASSERT_NE(port, nullptr);
  EXPECT_GE(clock.NowMs(), 100u);
  EXPECT_EQ(printer.Received(), "\x1B\x40");
  port->close();
}

TEST_F(SerialPortTest, StalledPrinterFailsOpenAndReleasesDevice) {
  PtyPrinter printer(home, "com1");
  auto filler = OpenWith({});
  ASSERT_NE(filler, nullptr);
  std::vector<std::uint8_t> junk(64 * 1024);
  std::uint32_t written = 0, errors = 0;
  boxes.Answer({kIdCancel});
  ASSERT_EQ(filler->write(junk.data(), std::uint32_t(junk.size()), written, errors), 0);
  filler->close();

  // The line is full: the initialise command cannot go out and the user cancels.
  boxes.Answer({kIdCancel});
  std::uint64_t start = clock.NowMs();
  EXPECT_EQ(OpenWith({}), nullptr);
  EXPECT_EQ(boxes.boxes().size(), 2u);
  EXPECT_GE(clock.NowMs() - start, 15000u + 100u);

  printer.Received();
  auto again = OpenWith({});
  ASSERT_NE(again, nullptr);
  again->close();
}

TEST_F(SerialPortTest, DeviceMapFallsBackToSystemDevices) {
  EXPECT_EQ(DevicePathFor("COM3:"), std::filesystem::path("/dev/ttyS2"));
  EXPECT_EQ(DevicePathFor("COM0:"), std::nullopt);
  EXPECT_EQ(DevicePathFor("COM1000:"), std::nullopt);
  EXPECT_EQ(DevicePathFor("FILE:"), std::nullopt);
  home.Link("com3", "/dev/null");
  home.Link("lpt1", "/dev/null");
  auto devices = home.folder() / "Quorvel" / "devices";
  EXPECT_EQ(DevicePathFor("COM3:"), devices / "com3");
  EXPECT_EQ(DevicePathFor("LPT1:"), devices / "lpt1");
}

TEST_F(SerialPortTest, ParallelPortReachesLpt1Link) {
  PtyPrinter printer(home, "lpt1");
  auto port = OpenWith({.port = "LPT1"});
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(port->name, "LPT1:");
  std::uint32_t written = 0, errors = 0;
  const std::uint8_t data[] = {'h', 'i'};
  EXPECT_EQ(port->write(data, 2, written, errors), 1);
  port->close();
  EXPECT_EQ(printer.Received(), "\x1B\x40hi");
}

TEST_F(SerialPortTest, RefusesMissingBusyOrUnsuitableDeviceAndReleasesIt) {
  home.Link("com5", home.folder() / "no-such-device");
  EXPECT_EQ(OpenWith({.port = "COM5"}), nullptr);

  PtyPrinter printer(home, "com1");
  EXPECT_EQ(OpenWith({.baud = 12345}), nullptr);
  EXPECT_EQ(OpenWith({.baud = 0}), nullptr);
  auto first = OpenWith({});
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(OpenWith({}), nullptr);
  first->close();
  auto again = OpenWith({});
  ASSERT_NE(again, nullptr);
  again->close();
}

}  // namespace
}  // namespace inkmark::testing
