// The whole protocol against the virtual printer: over a pseudo-terminal
// through the program's own serial port, and on the driver route, where
// registration goes to a private spooler as a job and the key list and
// capacity come through the status-monitor library.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ports/driver_port.h"
#include "ports/open_port.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "protocol_fixtures.h"
#include "support/private_cupsd.h"

namespace inkmark::testing {
namespace {

class VirtualPrinterPtyTest : public PtyPrinterTest {
 protected:
  void SetUp() override {
    vprinter::PrinterOptions options;
    options.keys_per_block = 2;
    StartPrinter(options);
    UseProfile(session, ProfileFor("QP-80"));
  }

  // Runs `use` on a port of its own; -2 when the port does not open.
  std::int32_t OnPort(const std::function<std::int32_t(PortDriver&)>& use) {
    auto port = OpenPrinterPort(session);
    if (!port) return -2;
    const std::int32_t result = use(*port);
    ClosePrinterPort(std::move(port));
    return result;
  }
  std::int32_t Capacity() {
    return OnPort([](PortDriver& p) { return ReadNvCapacity(p); });
  }
  std::int32_t List(std::vector<NvKey>& keys) {
    return OnPort([&](PortDriver& p) { return ReadKeyCodeList(p, nullptr, keys); });
  }
  // As the key-entry window does: the key list, then the registration on the
  // same port.
  std::int32_t Register(const std::string& key, const LogoRaster& raster) {
    return OnPort([&](PortDriver& p) {
      std::vector<NvKey> keys;
      if (ReadKeyCodeList(p, nullptr, keys) < 0) return 0;
      return RegisterNvGraphics(p, nullptr, session, MakeNvKey(key[0], key[1]), raster);
    });
  }

  LogoSession session;
};

TEST_F(VirtualPrinterPtyTest, RegistersListsPrintsAndDeletesInBothForms) {
  const std::int32_t empty = Capacity();
  ASSERT_EQ(empty, std::int32_t(vprinter::kDefaultCapacity));
  const auto two_inks = MakeRaster(37, 21, kColorRed), column = MakeRaster(30, 11, kColorRed);
  const auto one_ink = MakeInkOneRaster(9, 3, kColorBlack, Pattern);
  const struct {
    std::string key;
    PrinterProfile profile;
    const LogoRaster& raster;
    int width, height, first, second, charge;
  } logos[] = {
      {"AB", ProfileFor("QP-80"), two_inks, 40, 21, 0, 1, 2 * (1 + 5 * 21) + 30},
      {"cd", ProfileFor("QP-80", "None"), one_ink, 16, 3, 1, -1, 1 + 2 * 3 + 30},
      {" ~", ProfileFor("dt-300/310", "Red", 360), column, 30, 16, 0, 1, 2 * (1 + 30 * 2) + 30},
      {"71", ProfileFor("DT-350/360", "Red", 203), column, 30, 16, 0, 1, 2 * (1 + 30 * 2) + 30},
  };
  std::int32_t left = empty;
  for (const auto& logo : logos) {
    UseProfile(session, logo.profile);
    ASSERT_EQ(Register(logo.key, logo.raster), 1) << logo.key;
    EXPECT_EQ(Capacity(), left -= logo.charge) << logo.key;
    EXPECT_EQ(Stored(logo.key),
              ExpectedInks(logo.raster, logo.width, logo.height, logo.first, logo.second))
        << logo.key;
  }

  UseProfile(session, ProfileFor("QP-80"));
  std::vector<NvKey> keys;
  ASSERT_EQ(List(keys), 4);
  EXPECT_EQ(KeyTexts(keys), (Texts{" ~", "71", "AB", "cd"}));
  ASSERT_EQ(PrintNvGraphics(session, MakeNvKey('A', 'B')), 1);
  ASSERT_EQ(PrintNvGraphics(session, MakeNvKey(' ', '~')), 1);
  Capacity();  // the printer has printed once the next command on its line is answered
  const auto printed = printer->Printed();
  ASSERT_EQ(printed.size(), 2u);
  EXPECT_EQ(printed[0].inks, Stored("AB"));
  EXPECT_EQ(printed[1].inks, Stored(" ~"));

  for (const NvKey& key : keys) EXPECT_EQ(DeleteNvGraphics(session, key), 1);
  EXPECT_EQ(Capacity(), empty);
  EXPECT_EQ(List(keys), 0);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(VirtualPrinterPtyTest, TestPrintShowsTheLogoBandByBand) {
  const auto raster = MakeRaster(24, 900, kColorRed), column = MakeRaster(20, 150, kColorRed);
  ASSERT_EQ(TestPrint(nullptr, session, raster), 1);
  UseProfile(session, ProfileFor("DT-200/210"));
  ASSERT_EQ(TestPrint(nullptr, session, column), 1);
  Capacity();  // the last band has been printed once this is answered
  const auto printed = printer->Printed();
  ASSERT_EQ(printed.size(), 4u);
  EXPECT_EQ(printed[0].inks + printed[1].inks, ExpectedInks(raster, 24, 900));
  EXPECT_EQ(printed[2].inks + printed[3].inks, ExpectedInks(column, 20, 128 + 24));
}

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
  void TearDown() override { SetStatusLibraryFolder({}); }

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

TEST_F(VirtualPrinterDriverTest, RegistersListsAndDeletesInBothFormsThroughTheSpooler) {
  const auto raster = MakeRaster(19, 9, kColorRed);
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
  EXPECT_EQ(KeyTexts(keys), (Texts{"AB", "CD"}));
  EXPECT_EQ(ReadNvCapacity(*port), empty - (2 * (1 + 3 * 9) + 30) - (2 * (1 + 19 * 2) + 30));
  ClosePrinterPort(std::move(port));
  EXPECT_EQ(StoredInks(*printer, "AB"), ExpectedInks(raster, 24, 9));
  EXPECT_EQ(StoredInks(*printer, "CD"), ExpectedInks(raster, 19, 16));

  for (const NvKey& key : keys) EXPECT_EQ(DeleteNvGraphics(session, key), 1);
  EXPECT_TRUE(WaitForKeys(0));
  port = OpenPrinterPort(session);
  ASSERT_TRUE(port);
  EXPECT_EQ(ReadNvCapacity(*port), empty);
  ClosePrinterPort(std::move(port));
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
