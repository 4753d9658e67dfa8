#include "ports/serial_port.h"

#include <gtest/gtest.h>
#include <termios.h>

#include "port_test_fixture.h"
#include "ports/device_map.h"
#include "ports/open_port.h"

namespace inkmark::testing {
namespace {

using SerialPortTest = PortTest;

std::unique_ptr<PortDriver> OpenWith(const LineChoice& choice) {
  LogoSession session;
  UseChoices(session, choice);
  return OpenPrinterPort(session);
}

TEST(SerialLineStateTest, SetsSizeParityStopBitsAndHandshakeOnARawLine) {
  termios tio{};
  tio.c_iflag = ICRNL | IXANY;
  tio.c_oflag = OPOST;
  tio.c_lflag = ICANON | ECHO | ISIG;
  const tcflag_t kLine = CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS;
  ASSERT_TRUE(SetLineState(tio, 7, kParityEven, kOneStopBit, kFlowDtrDsr, 9600));
  EXPECT_EQ(tio.c_cflag & (kLine | CREAD | CLOCAL), tcflag_t(CS7 | PARENB | CREAD | CLOCAL));
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | IXANY), 0u);
  EXPECT_EQ((tio.c_oflag & OPOST) | (tio.c_lflag & (ICANON | ECHO | ISIG)), 0u);
  EXPECT_EQ(cfgetospeed(&tio), B9600);

  ASSERT_TRUE(SetLineState(tio, 8, kParityOdd, kTwoStopBits, kFlowRtsCts | kFlowXonXoff, 19200));
  EXPECT_EQ(tio.c_cflag & kLine, tcflag_t(CS8 | PARENB | PARODD | CSTOPB | CRTSCTS));
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
  EXPECT_EQ(std::pair(tio.c_cc[VSTART], tio.c_cc[VSTOP]), std::pair(cc_t(0x11), cc_t(0x13)));

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
  EXPECT_EQ(line.c_cflag & (PARODD | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF | INPCK), tcflag_t(INPCK));
  EXPECT_EQ((line.c_oflag & OPOST) | (line.c_lflag & (ICANON | ECHO)), 0u);
  port->close();
}

TEST_F(SerialPortTest, SerialAndParallelSendInitializeThenSettleThenData) {
  for (auto [name, entry] : {std::pair{"COM1", "com1"}, std::pair{"LPT1", "lpt1"}}) {
    PtyPrinter printer(home, entry);
    const std::uint64_t start = clock.NowMs();
    auto port = OpenWith({.port = name});
    ASSERT_NE(port, nullptr) << name;
    EXPECT_EQ(port->name, std::string(name) + ":");
    EXPECT_GE(clock.NowMs() - start, 100u);
    EXPECT_EQ(WriteAll(*port, "hi"), 1);
    port->close();
    EXPECT_EQ(printer.Received(), "\x1B@hi") << name;
  }
}

TEST_F(SerialPortTest, RefusesMissingBusyStalledOrUnsuitableDeviceAndReleasesIt) {
  home.Link("com5", home.folder() / "no-such-device");
  EXPECT_EQ(OpenWith({.port = "COM5"}), nullptr);
  PtyPrinter printer(home, "com1");
  EXPECT_EQ(OpenWith({.baud = 12345}), nullptr);
  EXPECT_EQ(OpenWith({.baud = 0}), nullptr);
  auto first = OpenWith({});
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(OpenWith({}), nullptr);

  // Fill the line (the user cancels the busy question), then the initialise
  // command cannot go out: after the 15 s question the open fails.
  ASSERT_EQ(WriteAll(*first, std::string(64 * 1024, '\0')), 0);
  first->close();
  const std::uint64_t start = clock.NowMs();
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
  for (const char* none : {"COM0:", "COM1000:", "FILE:"}) EXPECT_FALSE(DevicePathFor(none));
  home.Link("com3", "/dev/null");
  home.Link("lpt1", "/dev/null");
  EXPECT_EQ(DevicePathFor("COM3:"), home.folder() / "Quorvel" / "devices" / "com3");
  EXPECT_EQ(DevicePathFor("LPT1:"), home.folder() / "Quorvel" / "devices" / "lpt1");
}

}  // namespace
}  // namespace inkmark::testing
