#include "ports/open_port.h"

#include <gtest/gtest.h>

#include "port_test_fixture.h"
#include "ports/driver_port.h"
#include "ports/file_port.h"
#include "ports/serial_port.h"

namespace inkmark::testing {
namespace {

std::unique_ptr<PortDriver> ChooseFor(const LineChoice& choice) {
  LogoSession session;
  UseChoices(session, choice);
  return ChoosePrinterPort(session);
}

TEST(ChoosePrinterPortTest, ComNamesTheSerialPortByNumberAnyOtherNameTheParallelPort) {
  for (auto [port, name] : std::initializer_list<std::pair<const char*, const char*>>{
           {"com3", "COM3:"},
           {"COMX", "COM0:"},
           {"COM 12", "COM12:"},
           {"Com999", "COM999:"},
           {"USB", "LPT1:"},
           {"LPT2", "LPT1:"},
           {"", "LPT1:"},
           {"CO", "LPT1:"},
           // Numbers the name "COM%d:" cannot hold are refused.
           {"COM1000", "none"},
           {"COM-1", "none"},
           {"COM99999999999", "none"}}) {
    auto chosen = ChooseFor({.port = port});
    EXPECT_EQ(chosen ? chosen->name : "none", name) << port;
  }
  EXPECT_EQ(PortNumberFromName("COM99999999999"), INT32_MAX);
  EXPECT_EQ(PortNumberFromName("COM-99999999999"), INT32_MIN);

  // A refused line must not leave the port pointing at COM1.
  SerialPort port;
  EXPECT_EQ(port.setLine(1000, 8, kParityNone, kOneStopBit, kFlowXonXoff, 9600), 0);
  EXPECT_EQ(port.open(), 0);
}

TEST(ChoosePrinterPortTest, TakesLineFromSelectedChoices) {
  // Nine data bits fall back to seven, names match in any case, a choice of
  // RTS/CTS runs the line with XON/XOFF and an unknown parity is none.
  for (auto [choice, line] : std::initializer_list<std::pair<LineChoice, std::string>>{
           {{.baud = 9600, .bits = 9, .parity = "even", .flow = "dtr/dsr"}, "9600 7 2 0 1"},
           {{.baud = 115200, .parity = "ODD", .flow = "RTS/CTS"}, "115200 8 1 0 4"},
           {{.parity = "Mark"}, "19200 8 0 0 1"}}) {
    auto port = ChooseFor(choice);
    auto* s = dynamic_cast<SerialPort*>(port.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(std::to_string(s->baud_rate) + " " + std::to_string(s->byte_size) + " " +
                  std::to_string(s->parity) + " " + std::to_string(s->stop_bits) + " " +
                  std::to_string(s->flow_flags),
              line);
  }
}

TEST(ChoosePrinterPortTest, CommandFileTakesPrecedenceAndDriverPortIsNamedBySelectedDriver) {
  LogoSession session;  // no profile at all
  session.save_as_command_file = 1;
  session.save_path = "/tmp/out.prn";
  auto port = ChoosePrinterPort(session);
  auto* file = dynamic_cast<FilePort*>(port.get());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->name + "|" + file->file_path, "FILE:|/tmp/out.prn");
  session.save_as_command_file = 0;
  EXPECT_EQ(ChoosePrinterPort(session), nullptr);

  UseChoices(session, {.port = "corlane printer driver"}, {kDriverModel, "DT-300 driver"});
  session.profiles[0].driver_sel = 1;
  port = ChoosePrinterPort(session);
  ASSERT_NE(dynamic_cast<DriverPort*>(port.get()), nullptr);
  EXPECT_EQ(port->name, "DT-300 driver");
}

}  // namespace
}  // namespace inkmark::testing
