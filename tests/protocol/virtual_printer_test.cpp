// The whole protocol against the virtual printer on both routes: over a
// pseudo-terminal through the program's own serial port, and through the
// driver, where registration goes to a private spooler as a job and the key
// list and capacity come through the status-monitor library.
#include <gtest/gtest.h>

#include "ports/driver_port.h"
#include "ports/open_port.h"
#include "protocol/key_list_reply.h"
#include "protocol/nv_commands.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "support/private_cupsd.h"
#include "support/protocol_fixtures.h"

namespace inkmark::testing {
namespace {

// The parameter is true for the driver route: a spooler queue printing to the
// same printer over TCP.
class VirtualPrinterTest : public PtyPrinterTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    PtyPrinterTest::SetUp();
    if (!GetParam() || HasFatalFailure()) return;
    if (!PrivateCupsd::Installed()) GTEST_SKIP() << "CUPS (cupsd) is not installed here";
    ASSERT_TRUE(cupsd.Start());
    std::string error;
    tcp = vprinter::TcpServer::Start(*printer, "127.0.0.1", 0, &error);
    ASSERT_TRUE(tcp) << error;
    ASSERT_TRUE(
        cupsd.AddQueue("DT300", kTestDriver, "socket://127.0.0.1:" + std::to_string(tcp->port())));
    SetStatusLibraryFolder(INKMARK_STATMON_DIR);
  }
  void TearDown() override { SetStatusLibraryFolder({}); }

  void Use(const std::string& model, const std::string& second = "Red", int dpi = 180) {
    UseProfile(session,
               ProfileFor(model, second, dpi, GetParam() ? "Corlane Printer Driver" : "COM1"));
  }
  // Runs `use` on a port of its own; -2 when the port does not open.
  std::int32_t OnPort(const std::function<std::int32_t(PortDriver&)>& use) {
    auto port = OpenPrinterPort(session);
    if (!port) return -2;
    const std::int32_t result = use(**port);
    ClosePrinterPort(std::move(*port));
    return result;
  }
  std::int32_t Capacity() {
    return OnPort([](PortDriver& p) { return ReadNvCapacity(p); });
  }

  PrivateCupsd cupsd;
  std::unique_ptr<vprinter::TcpServer> tcp;
  LogoSession session;
};

TEST_P(VirtualPrinterTest, RegistersListsPrintsAndDeletesInBothForms) {
  Use("QP-80");
  const std::int32_t empty = Capacity();
  ASSERT_EQ(empty, std::int32_t(vprinter::kDefaultCapacity));
  // Two inks and one in raster form, and the column form (its model named in
  // other letter case), each as printed and charged: its data, a byte per
  // block and the entry's 30.
  const struct {
    std::string key, model, second;
    int dpi, width, height, shown_width, shown_height;
  } logos[] = {
      {"AB", "QP-80", "Red", 180, 37, 21, 40, 21},
      {"cd", "QP-80", "None", 180, 9, 3, 16, 3},
      {" ~", "dt-300/310", "Red", 360, 30, 11, 30, 16},
  };
  std::int32_t left = empty;
  for (const auto& logo : logos) {
    Use(logo.model, logo.second, logo.dpi);
    const auto raster = MakeRaster(logo.width, logo.height, ColorFromName(logo.second));
    // As the key-entry window does: the key list, then the registration on the same port.
    ASSERT_EQ(OnPort([&](PortDriver& p) {
                std::vector<NvKey> keys;
                return ReadKeyCodeList(p, nullptr, keys) < 0
                           ? 0
                           : RegisterNvGraphics(p, nullptr, session,
                                                MakeNvKey(logo.key[0], logo.key[1]), raster);
              }),
              1)
        << logo.key;
    ASSERT_TRUE(WaitFor([&] { return !Stored(logo.key).empty(); })) << logo.key;
    const int inks = logo.second == "None" ? 1 : 2;
    left -= inks * (1 + logo.shown_width * logo.shown_height / 8) + 30;
    EXPECT_EQ(Capacity(), left) << logo.key;
    EXPECT_EQ(Stored(logo.key),
              ExpectedInks(raster, logo.shown_width, logo.shown_height, 0, inks == 2 ? 1 : -1))
        << logo.key;
  }

  Use("QP-80");
  std::vector<NvKey> keys;
  const auto list = [&](PortDriver& p) { return ReadKeyCodeList(p, nullptr, keys); };
  ASSERT_EQ(OnPort(list), 3);  // over two blocks
  EXPECT_EQ(KeyTexts(keys), (Texts{" ~", "AB", "cd"}));
  ASSERT_EQ(PrintNvGraphics(session, MakeNvKey('A', 'B')), 1);
  ASSERT_EQ(PrintNvGraphics(session, MakeNvKey(' ', '~')), 1);
  // The test print goes band by band, each printed on its own.
  const auto tall = MakeRaster(24, 900, kColorRed);
  ASSERT_EQ(TestPrint(nullptr, session, tall), 1);
  ASSERT_TRUE(WaitFor([&] { return printer->Printed().size() == 4; }));
  const auto printed = printer->Printed();
  EXPECT_EQ(printed[0].inks, Stored("AB"));
  EXPECT_EQ(printed[1].inks, Stored(" ~"));
  EXPECT_EQ(printed[2].inks + printed[3].inks, ExpectedInks(tall, 24, 900));

  for (const NvKey& key : keys) EXPECT_EQ(DeleteNvGraphics(session, key), 1);
  EXPECT_TRUE(WaitFor([&] { return printer->Keys().empty(); }));
  EXPECT_EQ(Capacity(), empty);
  EXPECT_EQ(OnPort(list), 0);
  EXPECT_TRUE(boxes.boxes().empty());
}

// A reply that comes after its request gave up waits on the line; the next
// request must not take it for its own answer.
TEST_P(VirtualPrinterTest, AStaleReplyIsNotTakenForTheAnswerToTheNextRequest) {
  for (const char* key : {"AB", "CD", "EF"}) {
    const auto raster = MakeRaster(8, 2, kNoInk);
    Use("QP-80", "None");
    ASSERT_EQ(OnPort([&](PortDriver& p) {
                return RegisterNvGraphics(p, nullptr, session, MakeNvKey(key[0], key[1]), raster);
              }),
              1);
  }
  ASSERT_TRUE(WaitFor([&] { return printer->Keys().size() == 3; }));
  std::vector<NvKey> keys;
  EXPECT_EQ(OnPort([&](PortDriver& p) {
              // A capacity request whose reply nobody read.
              EXPECT_TRUE(WriteBytes(p, kCapacityRequest));
              std::this_thread::sleep_for(std::chrono::milliseconds(100));
              return ReadKeyCodeList(p, nullptr, keys);
            }),
            3);
  EXPECT_EQ(KeyTexts(keys), (Texts{"AB", "CD", "EF"}));
  EXPECT_TRUE(boxes.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Routes, VirtualPrinterTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Driver" : "Pty"; });

// The driver route takes a key-list block as long as a printer may send:
// here 100 keys in one block, 204 bytes.
TEST_F(PrivateCupsdTest, DriverRouteListsAHundredKeysSentInOneBlock) {
  vprinter::PrinterOptions options;
  options.keys_per_block = 100;
  vprinter::VirtualPrinter printer(options);
  const vprinter::Graphics g{vprinter::GraphicsForm::kRaster, 8, 1, {{0x31, {0xFF}}}};
  Texts expected;
  for (int i = 0; i < 100; ++i) {
    const vprinter::NvKey key{std::uint8_t('A' + i / 10), std::uint8_t('0' + i % 10)};
    ASSERT_EQ(printer.Define(key, g), vprinter::DefineResult::kStored);
    expected.push_back(vprinter::KeyText(key));
  }
  std::string error;
  auto tcp = vprinter::TcpServer::Start(printer, "127.0.0.1", 0, &error);
  ASSERT_TRUE(tcp) << error;
  ASSERT_TRUE(
      cupsd_.AddQueue("DT300", kTestDriver, "socket://127.0.0.1:" + std::to_string(tcp->port())));
  SetStatusLibraryFolder(INKMARK_STATMON_DIR);
  LogoSession session;
  UseProfile(session, ProfileFor("QP-80", "Red", 180, "Corlane Printer Driver"));
  RecordingMessageBoxes boxes;
  auto port = OpenPrinterPort(session);
  SetStatusLibraryFolder({});
  ASSERT_TRUE(port);
  std::vector<NvKey> keys;
  EXPECT_EQ(ReadKeyCodeList(**port, nullptr, keys), 100);
  EXPECT_EQ(ClosePrinterPort(std::move(*port)), 1);
  EXPECT_EQ(KeyTexts(keys), expected);
  EXPECT_TRUE(boxes.boxes().empty());
  tcp->Stop();
}

}  // namespace
}  // namespace inkmark::testing
