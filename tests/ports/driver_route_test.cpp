// The whole driver route against the virtual printer: the program's port
// choice, a job through the spooler, and request and reply through the
// status-monitor library, on one printer.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "port_test_fixture.h"
#include "ports/driver_port.h"
#include "ports/open_port.h"
#include "servers.h"
#include "support/private_cupsd.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

using std::chrono::milliseconds;

const std::string kModel = "Corlane Printer Driver DT-300/310";
const std::uint8_t kKeyListRequest[] = {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x40, 0x4B, 0x43};
const std::uint8_t kCapacityRequest[] = {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x33};
const std::uint8_t kAcknowledge[] = {0x06};
// Defines key "AB": raster form, one ink, 8 x 1 dots.
const std::uint8_t kDefineAb[] = {0x1D, 0x38, 0x4C, 12, 0, 0, 0, 0x30, 0x43, 0x30,
                                  'A',  'B',  1,    8,  0, 1, 0, 0x31, 0xFF};

class DriverRouteTest : public PrivateCupsdTest {
 protected:
  void SetUp() override {
    PrivateCupsdTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::string error;
    server = vprinter::TcpServer::Start(printer, "127.0.0.1", 0, &error);
    ASSERT_TRUE(server) << error;
    ASSERT_TRUE(
        cupsd_.AddQueue("DT300", kModel, "socket://127.0.0.1:" + std::to_string(server->port())));
    SetStatusLibraryFolder(INKMARK_STATMON_DIR);
  }
  void TearDown() override {
    SetStatusLibraryFolder({});
    if (server) server->Stop();
  }

  // One request and its status block through the library.
  std::string Transact(DriverPort& port, const std::uint8_t* request, std::uint32_t size) {
    std::uint8_t reply[128];
    std::uint32_t length = sizeof reply;
    if (!port.transact(request, size, reply, length, 1)) return "failed";
    return std::string(reply, reply + length);
  }

  RecordingMessageBoxes boxes;
  vprinter::VirtualPrinter printer{vprinter::PrinterOptions{}};
  std::unique_ptr<vprinter::TcpServer> server;
};

TEST_F(DriverRouteTest, JobThroughSpoolerThenRepliesThroughLibrary) {
  LogoSession session;
  PrinterProfile profile = ProfileWith({.port = "Corlane Printer Driver"});
  profile.driver_names = {kModel, "0"};
  profile.driver_count = 1;
  UseProfile(session, profile);

  std::unique_ptr<PortDriver> opened = OpenPrinterPort(session);
  auto* port = dynamic_cast<DriverPort*>(opened.get());
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(Transact(*port, kKeyListRequest, sizeof kKeyListRequest),
            std::string("\x37\x72\x40\x00", 4));
  std::uint32_t written = 0;
  std::uint32_t errors = 0;
  EXPECT_EQ(port->write(kAcknowledge, 1, written, errors), 1);

  ASSERT_EQ(port->beginJob(), 1);
  EXPECT_EQ(port->write(kDefineAb, sizeof kDefineAb, written, errors), 1);
  port->endJob();

  // The spooler delivers on its own time; the key shows once it has.
  std::string keys;
  const auto deadline = std::chrono::steady_clock::now() + milliseconds(5000);
  do {
    std::this_thread::sleep_for(milliseconds(20));
    keys = Transact(*port, kKeyListRequest, sizeof kKeyListRequest);
    port->write(kAcknowledge, 1, written, errors);
  } while (keys != std::string("\x37\x72\x40"
                               "AB\x00",
                               6) &&
           std::chrono::steady_clock::now() < deadline);
  EXPECT_EQ(keys, std::string("\x37\x72\x40"
                              "AB\x00",
                              6));

  EXPECT_EQ(Transact(*port, kCapacityRequest, sizeof kCapacityRequest),
            "\x37\x31" + std::to_string(printer.Remaining()) + std::string(1, '\0'));
  EXPECT_LT(printer.Remaining(), vprinter::kDefaultCapacity);
  port->close();
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
