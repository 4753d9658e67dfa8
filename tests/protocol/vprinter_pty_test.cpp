// The whole protocol against the virtual printer behind a pseudo-terminal,
// reached through the program's own serial port: registration in both
// families, the key list over several blocks, print, delete and capacity.
#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "ports/open_port.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "protocol_fixtures.h"

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

  // What the key-entry window does: one port carrying the key list, then the
  // registration.
  std::int32_t Register(char kc1, char kc2, const LogoRaster& raster) {
    return OnPort([&](PortDriver& p) {
      std::vector<NvKey> keys;
      if (ReadKeyCodeList(p, nullptr, keys) < 0) return 0;
      return RegisterNvGraphics(p, nullptr, session, MakeNvKey(kc1, kc2), raster);
    });
  }

  // The stored graphics as the printer prints them.
  vprinter::Picture Stored(char kc1, char kc2) {
    auto g = printer->Find({std::uint8_t(kc1), std::uint8_t(kc2)});
    if (!g) return {};
    return vprinter::RenderGraphics(*g).value_or(vprinter::Picture{});
  }

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
  // Two bands stacked.
  auto stack = [&](int first) {
    std::vector<std::uint8_t> all = printed[first].inks;
    all.insert(all.end(), printed[first + 1].inks.begin(), printed[first + 1].inks.end());
    return all;
  };
  EXPECT_EQ(stack(0), ExpectedPicture(raster, 24, 900, 0, 1).inks);
  EXPECT_EQ(stack(2), ExpectedPicture(column, 20, 128 + 24, 0, 1).inks);
}

TEST_F(VirtualPrinterPtyTest, KeyListFromSilentPrinterFailsWithMessage) {
  vprinter::PrinterOptions options;
  options.faults.no_reply = true;
  StartPrinter(options);
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
