// The whole protocol against the virtual printer behind a pseudo-terminal,
// reached through the program's own serial port: registration in both
// families, the key list over several blocks, print, delete and capacity.
#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "ports/clock.h"
#include "ports/open_port.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "protocol_fixtures.h"
#include "pty_printer.h"
#include "servers.h"
#include "support/recording_message_boxes.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

std::vector<std::string> KeyTexts(const std::vector<NvKey>& keys) {
  std::vector<std::string> out;
  for (const NvKey& k : keys) out.emplace_back(k.data());
  return out;
}

class VirtualPrinterPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vprinter::PrinterOptions options;
    options.keys_per_block = 2;
    printer = std::make_unique<vprinter::VirtualPrinter>(options);
    std::string error;
    server = vprinter::PtyServer::Start(*printer, home.folder() / "Quorvel" / "devices" / "com1",
                                        &error);
    ASSERT_TRUE(server) << error;
    UseProfile(session, ProfileFor("QP-80"));
  }
  void TearDown() override {
    if (server) server->Stop();
  }

  // What the key-entry window does: one port carrying the key list, then the
  // registration.
  std::int32_t Register(char kc1, char kc2, const LogoRaster& raster) {
    auto port = OpenPrinterPort(session);
    if (!port) return 0;
    std::vector<NvKey> keys;
    std::int32_t result = 0;
    if (ReadKeyCodeList(*port, nullptr, keys) >= 0) {
      result = RegisterNvGraphics(*port, nullptr, session, MakeNvKey(kc1, kc2), raster);
    }
    ClosePrinterPort(std::move(port));
    return result;
  }

  std::int32_t Capacity() {
    auto port = OpenPrinterPort(session);
    if (!port) return -2;
    std::int32_t capacity = ReadNvCapacity(*port);
    ClosePrinterPort(std::move(port));
    return capacity;
  }

  std::int32_t List(std::vector<NvKey>& keys) {
    auto port = OpenPrinterPort(session);
    if (!port) return -2;
    std::int32_t count = ReadKeyCodeList(*port, nullptr, keys);
    ClosePrinterPort(std::move(port));
    return count;
  }

  // The stored graphics as the printer prints them.
  vprinter::Picture Stored(char kc1, char kc2) {
    auto g = printer->Find({std::uint8_t(kc1), std::uint8_t(kc2)});
    if (!g) return {};
    return vprinter::RenderGraphics(*g).value_or(vprinter::Picture{});
  }

  DeviceMapHome home;
  RecordingMessageBoxes boxes;
  std::unique_ptr<vprinter::VirtualPrinter> printer;
  std::unique_ptr<vprinter::PtyServer> server;
  LogoSession session;
};

TEST_F(VirtualPrinterPtyTest, RegistersListsPrintsAndDeletesInBothFamilies) {
  const std::int32_t empty = Capacity();
  ASSERT_EQ(empty, std::int32_t(vprinter::kDefaultCapacity));

  auto two_inks = MakeRaster(37, 21, kColorBlack, kColorRed, Pattern);
  ASSERT_EQ(Register('A', 'B', two_inks), 1);
  const std::int32_t raster_total = 2 * (1 + 5 * 21);
  EXPECT_EQ(Capacity(), empty - raster_total - 30);
  EXPECT_EQ(Stored('A', 'B').inks, ExpectedPicture(two_inks, 40, 21, 0, 1).inks);

  UseProfile(session, ProfileFor("QP-80", "None"));
  auto one_ink = MakeInkOneRaster(9, 3, kColorBlack, OneInkPattern);
  ASSERT_EQ(Register('c', 'd', one_ink), 1);
  Capacity();  // the define has been taken once this is answered
  EXPECT_EQ(Stored('c', 'd').inks, ExpectedPicture(one_ink, 16, 3, 1, -1).inks);

  UseProfile(session, ProfileFor("dt-300/310", "Red", 360));
  auto column = MakeRaster(30, 11, kColorBlack, kColorRed, Pattern);
  ASSERT_EQ(Register(' ', '~', column), 1);
  Capacity();
  EXPECT_EQ(Stored(' ', '~').inks, ExpectedPicture(column, 30, 16, 0, 1).inks);
  UseProfile(session, ProfileFor("DT-350/360", "Red", 203));
  ASSERT_EQ(Register('7', '1', column), 1);
  UseProfile(session, ProfileFor("QP-80"));

  // Four keys, two to a block.
  std::vector<NvKey> keys;
  ASSERT_EQ(List(keys), 4);
  EXPECT_EQ(KeyTexts(keys), (std::vector<std::string>{" ~", "71", "AB", "cd"}));

  ASSERT_EQ(PrintNvGraphics(session, MakeNvKey('A', 'B')), 1);
  ASSERT_EQ(PrintNvGraphics(session, MakeNvKey(' ', '~')), 1);
  // The printer has printed once the next command on its line has been answered.
  const std::int32_t one_ink_total = 1 + 2 * 3;
  const std::int32_t column_total = 2 * (1 + 30 * 2);
  ASSERT_EQ(Capacity(),
            empty - (raster_total + 30) - (one_ink_total + 30) - 2 * (column_total + 30));
  auto printed = printer->Printed();
  ASSERT_EQ(printed.size(), 2u);
  EXPECT_EQ(printed[0].inks, ExpectedPicture(two_inks, 40, 21, 0, 1).inks);
  EXPECT_EQ(printed[1].inks, ExpectedPicture(column, 30, 16, 0, 1).inks);

  for (const NvKey& key : keys) EXPECT_EQ(DeleteNvGraphics(session, key), 1);
  EXPECT_EQ(Capacity(), empty);
  EXPECT_EQ(List(keys), 0);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(VirtualPrinterPtyTest, TestPrintShowsTheLogoBandByBand) {
  auto raster = MakeRaster(24, 900, kColorBlack, kColorRed, Pattern);
  ASSERT_EQ(TestPrint(nullptr, session, raster), 1);
  UseProfile(session, ProfileFor("DT-200/210"));
  auto column = MakeRaster(20, 150, kColorBlack, kColorRed, Pattern);
  ASSERT_EQ(TestPrint(nullptr, session, column), 1);
  Capacity();  // the last band has been printed once this is answered

  auto printed = printer->Printed();
  ASSERT_EQ(printed.size(), 4u);
  auto stack = [](const std::vector<vprinter::Picture>& bands) {
    vprinter::Picture all{bands[0].width, 0, {}};
    for (const auto& b : bands) {
      all.height += b.height;
      all.inks.insert(all.inks.end(), b.inks.begin(), b.inks.end());
    }
    return all;
  };
  EXPECT_EQ(stack({printed[0], printed[1]}).inks, ExpectedPicture(raster, 24, 900, 0, 1).inks);
  EXPECT_EQ(stack({printed[2], printed[3]}).inks, ExpectedPicture(column, 20, 128 + 24, 0, 1).inks);
}

TEST_F(VirtualPrinterPtyTest, KeyListFromSilentPrinterFailsWithMessage) {
  server->Stop();
  server.reset();
  vprinter::PrinterOptions options;
  options.faults.no_reply = true;
  printer = std::make_unique<vprinter::VirtualPrinter>(options);
  std::string error;
  server =
      vprinter::PtyServer::Start(*printer, home.folder() / "Quorvel" / "devices" / "com1", &error);
  ASSERT_TRUE(server) << error;
  auto port = OpenPrinterPort(session);
  ASSERT_TRUE(port);
  port->timeout_ms = 200;  // not the whole time-out of a real printer
  std::vector<NvKey> keys;
  EXPECT_EQ(ReadKeyCodeList(*port, nullptr, keys), -1);
  EXPECT_EQ(ReadNvCapacity(*port), -1);
  ClosePrinterPort(std::move(port));
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{FormatMessageText(kStrKeyListFailed, nullptr)});
}

}  // namespace
}  // namespace inkmark::testing
