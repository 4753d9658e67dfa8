// Every route to the virtual printer on real devices and in real time: serial
// and parallel through a pseudo-terminal, and the driver port through a private
// spooler whose queue prints over TCP while requests go through the status
// library.
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

const std::uint8_t kKeyListRequest[] = {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x40, 0x4B, 0x43};
const std::uint8_t kCapacityRequest[] = {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x33};
const std::uint8_t kAcknowledge[] = {0x06};
// Defines key "AB": raster form, one ink, 8 x 1 dots.
const std::uint8_t kDefineAb[] = {0x1D, 0x38, 0x4C, 12, 0, 0, 0, 0x30, 0x43, 0x30,
                                  'A',  'B',  1,    8,  0, 1, 0, 0x31, 0xFF};
const std::string kNoKeys("\x37\x72\x40\x00", 4);
const std::string kKeyAb(
    "\x37\x72\x40"
    "AB\x00",
    6);

// Writes one job defining key "AB".
void DefineAb(PortDriver& port) {
  std::uint32_t written = 0, errors = 0;
  ASSERT_EQ(port.beginJob(), 1);
  EXPECT_EQ(port.write(kDefineAb, sizeof kDefineAb, written, errors), 1);
  port.endJob();
}

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
  EXPECT_EQ(KeyList(*port), kNoKeys);
  DefineAb(*port);
  EXPECT_EQ(KeyList(*port), kKeyAb);
  ASSERT_TRUE(printer.Find({'A', 'B'}));
  port->close();
  EXPECT_TRUE(boxes.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(SerialAndParallel, DeviceRouteTest, ::testing::Values("COM1", "LPT1"));

class DriverRouteTest : public PrivateCupsdTest {
 protected:
  void SetUp() override {
    PrivateCupsdTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::string error;
    server = vprinter::TcpServer::Start(printer, "127.0.0.1", 0, &error);
    ASSERT_TRUE(server) << error;
    ASSERT_TRUE(cupsd_.AddQueue("DT300", kDriverModel,
                                "socket://127.0.0.1:" + std::to_string(server->port())));
    SetStatusLibraryFolder(INKMARK_STATMON_DIR);
  }
  void TearDown() override {
    SetStatusLibraryFolder({});
    if (server) server->Stop();
  }

  // One request and its status block through the library, acknowledged.
  std::string Transact(DriverPort& port, const std::uint8_t* request, std::uint32_t size) {
    std::uint8_t reply[128];
    std::uint32_t length = sizeof reply, written = 0, errors = 0;
    if (!port.transact(request, size, reply, length, 1)) return "failed";
    if (request == kKeyListRequest) port.write(kAcknowledge, 1, written, errors);
    return std::string(reply, reply + length);
  }

  RecordingMessageBoxes boxes;
  vprinter::VirtualPrinter printer{vprinter::PrinterOptions{}};
  std::unique_ptr<vprinter::TcpServer> server;
};

TEST_F(DriverRouteTest, JobThroughSpoolerThenRepliesThroughLibrary) {
  LogoSession session;
  UseProfile(session, DriverProfile(kDriverModel));
  std::unique_ptr<PortDriver> opened = OpenPrinterPort(session);
  auto* port = dynamic_cast<DriverPort*>(opened.get());
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(Transact(*port, kKeyListRequest, sizeof kKeyListRequest), kNoKeys);
  DefineAb(*port);

  // The spooler delivers on its own time; the key shows once it has.
  std::string keys;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(5000);
  do {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    keys = Transact(*port, kKeyListRequest, sizeof kKeyListRequest);
  } while (keys != kKeyAb && std::chrono::steady_clock::now() < deadline);
  EXPECT_EQ(keys, kKeyAb);

  EXPECT_EQ(Transact(*port, kCapacityRequest, sizeof kCapacityRequest),
            "\x37\x31" + std::to_string(printer.Remaining()) + std::string(1, '\0'));
  EXPECT_LT(printer.Remaining(), vprinter::kDefaultCapacity);
  port->close();
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
