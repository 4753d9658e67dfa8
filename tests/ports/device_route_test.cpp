// Serial and parallel ports against the virtual printer behind a
// pseudo-terminal: the program's port choice, the initialise command, a request
// and its reply, a job, all on real devices and real time.
#include <gtest/gtest.h>

#include <string>

#include "port_test_fixture.h"
#include "ports/open_port.h"
#include "ports/port_driver.h"
#include "servers.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

const std::uint8_t kKeyListRequest[] = {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x40, 0x4B, 0x43};
const std::uint8_t kAcknowledge[] = {0x06};
// Defines key "AB": raster form, one ink, 8 x 1 dots.
const std::uint8_t kDefineAb[] = {0x1D, 0x38, 0x4C, 12, 0, 0, 0, 0x30, 0x43, 0x30,
                                  'A',  'B',  1,    8,  0, 1, 0, 0x31, 0xFF};

class DeviceRouteTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    read_constant_ms = kReadConstantStartMs;
    std::string entry = std::string(GetParam()) == "COM1" ? "com1" : "lpt1";
    std::string error;
    server = vprinter::PtyServer::Start(printer, home.folder() / "Quorvel/devices" / entry, &error);
    ASSERT_TRUE(server) << error;
  }
  void TearDown() override {
    if (server) server->Stop();
  }

  // Asks for the key list and reads its one block: "7" "r" status keys... NUL.
  std::string KeyList(PortDriver& port) {
    std::uint32_t written = 0, errors = 0;
    if (port.write(kKeyListRequest, sizeof kKeyListRequest, written, errors) != 1) return "write";
    std::string reply;
    std::uint8_t byte = 0;
    std::uint32_t got = 0;
    while (reply.size() < 64 && port.readExact(&byte, 1, got) == 1 && got == 1) {
      reply.push_back(char(byte));
      if (byte == 0 && reply.size() > 3) break;
    }
    port.write(kAcknowledge, 1, written, errors);
    return reply;
  }

  DeviceMapHome home;
  RecordingMessageBoxes boxes;
  vprinter::VirtualPrinter printer{vprinter::PrinterOptions{}};
  std::unique_ptr<vprinter::PtyServer> server;
};

TEST_P(DeviceRouteTest, RequestReplyAndJobReachTheVirtualPrinter) {
  LogoSession session;
  UseProfile(session, ProfileWith({.port = GetParam()}));
  std::unique_ptr<PortDriver> port = OpenPrinterPort(session);
  ASSERT_NE(port, nullptr);

  EXPECT_EQ(KeyList(*port), std::string("\x37\x72\x40\x00", 4));
  std::uint32_t written = 0, errors = 0;
  ASSERT_EQ(port->beginJob(), 1);
  EXPECT_EQ(port->write(kDefineAb, sizeof kDefineAb, written, errors), 1);
  port->endJob();
  EXPECT_EQ(KeyList(*port), std::string("\x37\x72\x40"
                                        "AB\x00",
                                        6));
  ASSERT_TRUE(printer.Find({'A', 'B'}));
  port->close();
  EXPECT_TRUE(boxes.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(SerialAndParallel, DeviceRouteTest, ::testing::Values("COM1", "LPT1"));

}  // namespace
}  // namespace inkmark::testing
