// The driver route against the virtual printer: registration goes to the
// spooler as a job, the key list and capacity come through the status-monitor
// library, on one printer behind a private scheduler.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ports/driver_port.h"
#include "ports/open_port.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "protocol_fixtures.h"
#include "servers.h"
#include "support/private_cupsd.h"
#include "support/recording_message_boxes.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

const std::string kDriver = "Corlane Printer Driver DT-300/310";

class VirtualPrinterDriverTest : public PrivateCupsdTest {
 protected:
  void SetUp() override {
    PrivateCupsdTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    vprinter::PrinterOptions options;
    options.keys_per_block = 1;
    printer = std::make_unique<vprinter::VirtualPrinter>(options);
    std::string error;
    server = vprinter::TcpServer::Start(*printer, "127.0.0.1", 0, &error);
    ASSERT_TRUE(server) << error;
    ASSERT_TRUE(
        cupsd_.AddQueue("DT300", kDriver, "socket://127.0.0.1:" + std::to_string(server->port())));
    SetStatusLibraryFolder(INKMARK_STATMON_DIR);
  }
  void TearDown() override {
    SetStatusLibraryFolder({});
    if (server) server->Stop();
  }

  void UseModel(const std::string& model) {
    PrinterProfile p = ProfileFor(model, "Red", 203, "Corlane Printer Driver");
    p.driver_names = {kDriver, "0"};
    p.driver_count = 1;
    UseProfile(session, p);
  }

  // The spooler delivers a job on its own time.
  bool WaitForKeys(std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (printer->Keys().size() != count) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

  RecordingMessageBoxes boxes;
  std::unique_ptr<vprinter::VirtualPrinter> printer;
  std::unique_ptr<vprinter::TcpServer> server;
  LogoSession session;
};

TEST_F(VirtualPrinterDriverTest, RegistersBothFamiliesAndListsThroughTheLibrary) {
  auto raster = MakeRaster(19, 9, kColorBlack, kColorRed, Pattern);
  UseModel("QP-80");
  auto port = OpenPrinterPort(session);
  ASSERT_NE(dynamic_cast<DriverPort*>(port.get()), nullptr);
  const std::int32_t empty = ReadNvCapacity(*port);
  ASSERT_EQ(empty, std::int32_t(vprinter::kDefaultCapacity));
  std::vector<NvKey> keys;
  EXPECT_EQ(ReadKeyCodeList(*port, nullptr, keys), 0);
  ASSERT_EQ(RegisterNvGraphics(*port, nullptr, session, MakeNvKey('A', 'B'), raster), 1);
  ASSERT_TRUE(WaitForKeys(1));

  UseModel("DT-300/310");
  ASSERT_EQ(RegisterNvGraphics(*port, nullptr, session, MakeNvKey('C', 'D'), raster), 1);
  ASSERT_TRUE(WaitForKeys(2));

  // One key to a block: the list takes two exchanges.
  EXPECT_EQ(ReadKeyCodeList(*port, nullptr, keys), 2);
  EXPECT_EQ(keys, (std::vector<NvKey>{MakeNvKey('A', 'B'), MakeNvKey('C', 'D')}));
  EXPECT_EQ(ReadNvCapacity(*port), empty - (2 * (1 + 3 * 9) + 30) - (2 * (1 + 19 * 2) + 30));
  ClosePrinterPort(std::move(port));

  auto stored = printer->Find({'A', 'B'});
  ASSERT_TRUE(stored);
  EXPECT_EQ(vprinter::RenderGraphics(*stored)->inks, ExpectedPicture(raster, 24, 9, 0, 1).inks);
  stored = printer->Find({'C', 'D'});
  ASSERT_TRUE(stored);
  EXPECT_EQ(vprinter::RenderGraphics(*stored)->inks, ExpectedPicture(raster, 19, 16, 0, 1).inks);

  EXPECT_EQ(DeleteNvGraphics(session, MakeNvKey('A', 'B')), 1);
  EXPECT_EQ(DeleteNvGraphics(session, MakeNvKey('C', 'D')), 1);
  EXPECT_TRUE(WaitForKeys(0));
  port = OpenPrinterPort(session);
  ASSERT_TRUE(port);
  EXPECT_EQ(ReadNvCapacity(*port), empty);
  ClosePrinterPort(std::move(port));
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
