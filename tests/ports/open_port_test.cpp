#include "ports/open_port.h"

#include <gtest/gtest.h>

#include "port_test_fixture.h"
#include "ports/driver_port.h"
#include "ports/file_port.h"
#include "ports/parallel_port.h"
#include "ports/serial_port.h"

namespace inkmark::testing {
namespace {

std::unique_ptr<PortDriver> ChooseFor(const LineChoice& choice) {
  LogoSession session;
  UseProfile(session, ProfileWith(choice));
  return ChoosePrinterPort(session);
}

const SerialPort* AsSerial(const std::unique_ptr<PortDriver>& port) {
  return dynamic_cast<const SerialPort*>(port.get());
}

TEST(ChoosePrinterPortTest, NamesSerialPortByNumberAfterCom) {
  struct Case {
    const char* port;
    const char* name;
  } cases[] = {{"com3", "COM3:"}, {"COMX", "COM0:"}, {"COM 12", "COM12:"}, {"Com999", "COM999:"}};
  for (const Case& c : cases) {
    auto port = ChooseFor({.port = c.port});
    ASSERT_NE(AsSerial(port), nullptr) << c.port;
    EXPECT_EQ(port->name, c.name) << c.port;
  }
}

TEST(ChoosePrinterPortTest, RefusesSerialPortNumberNameCannotHold) {
  for (const char* name : {"COM1000", "COM-1", "COM99999999999"}) {
    EXPECT_EQ(ChooseFor({.port = name}), nullptr) << name;
  }
  EXPECT_EQ(PortNumberFromName("COM99999999999"), INT32_MAX);
  EXPECT_EQ(PortNumberFromName("COM-99999999999"), INT32_MIN);
  EXPECT_EQ(PortNumberFromName("COM"), 0);

  // A refused line must not leave the port pointing at COM1.
  SerialPort port;
  EXPECT_EQ(port.setLine(1000, 8, kParityNone, kOneStopBit, kFlowXonXoff, 9600), 0);
  EXPECT_EQ(port.open(), 0);
}

TEST(ChoosePrinterPortTest, AnyOtherPortNameIsTheParallelPort) {
  for (const char* name : {"USB", "LPT2", "", "CO"}) {
    auto port = ChooseFor({.port = name});
    ASSERT_NE(dynamic_cast<ParallelPort*>(port.get()), nullptr) << name;
    EXPECT_EQ(port->name, "LPT1:");
  }
}

TEST(ChoosePrinterPortTest, TakesLineFromSelectedChoices) {
  struct Case {
    LineChoice choice;
    std::int32_t bits, parity, flow;
  } cases[] = {
      // Nine data bits fall back to seven; names match in any case.
      {{.baud = 9600, .bits = 9, .parity = "even", .flow = "dtr/dsr"}, 7, kParityEven, kFlowDtrDsr},
      // A choice of RTS/CTS runs the line with XON/XOFF.
      {{.baud = 115200, .bits = 8, .parity = "ODD", .flow = "RTS/CTS"},
       8,
       kParityOdd,
       kFlowXonXoff},
      {{.parity = "Mark"}, 8, kParityNone, kFlowDtrDsr},
  };
  for (const Case& c : cases) {
    auto port = ChooseFor(c.choice);
    const SerialPort* serial = AsSerial(port);
    ASSERT_NE(serial, nullptr) << c.choice.parity;
    EXPECT_EQ(serial->byte_size, c.bits) << c.choice.parity;
    EXPECT_EQ(serial->parity, c.parity) << c.choice.parity;
    EXPECT_EQ(serial->stop_bits, kOneStopBit);
    EXPECT_EQ(serial->flow_flags, c.flow) << c.choice.parity;
    EXPECT_EQ(serial->baud_rate, std::uint32_t(c.choice.baud));
  }
}

TEST(ChoosePrinterPortTest, CommandFileTakesPrecedenceOverProfile) {
  LogoSession session;  // no profile at all
  session.save_as_command_file = 1;
  session.save_path = "/tmp/out.prn";
  auto port = ChoosePrinterPort(session);
  auto* file = dynamic_cast<FilePort*>(port.get());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->name, "FILE:");
  EXPECT_EQ(file->file_path, "/tmp/out.prn");

  session.save_as_command_file = 0;
  EXPECT_EQ(ChoosePrinterPort(session), nullptr);
}

TEST(ChoosePrinterPortTest, DriverPortIsNamedBySelectedDriver) {
  LogoSession session;
  PrinterProfile profile = ProfileWith({.port = "corlane printer driver"});
  profile.driver_names = {kDriverModel, "Corlane Printer Driver DT-300"};
  profile.driver_count = 2;
  profile.driver_sel = 1;
  UseProfile(session, profile);

  auto port = ChoosePrinterPort(session);
  ASSERT_NE(dynamic_cast<DriverPort*>(port.get()), nullptr);
  EXPECT_EQ(port->name, "Corlane Printer Driver DT-300");
}

}  // namespace
}  // namespace inkmark::testing
