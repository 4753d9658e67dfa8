// The special models: the model table, the density command, and
// registration and test print in column form.
#include "protocol/nv_column.h"

#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "protocol_fixtures.h"

namespace inkmark::testing {
namespace {

using vprinter::CommandKind;

const Bytes kDensity180 = B({0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, 0x32, 0x32});
const Bytes kDensity360 = B({0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, 0x33, 0x33});

TEST(SpecialModelTest, MatchesWholeNamesInAnyLetterCase) {
  EXPECT_TRUE(IsSpecialModel(ProfileFor("dt-200/210")));
  EXPECT_TRUE(IsSpecialModel(ProfileFor("DT-350/360")));
  EXPECT_FALSE(IsSpecialModel(ProfileFor("DT-300")));
  EXPECT_FALSE(IsSpecialModel(ProfileFor("DT-300/3100")));
  EXPECT_EQ(FindSpecialModel(ProfileFor("Dt-200/210"))->band_rows, 128);
}

class ColumnDefineTest : public ::testing::Test {
 protected:
  std::int32_t Define(std::optional<LogoRaster> raster) {
    return DefineNvGraphicsColumn(port, nullptr, session, MakeNvKey('A', 'B'), std::move(raster));
  }

  LogoSession session;
  ScriptPort port;
  RecordingMessageBoxes boxes;
};

TEST_F(ColumnDefineTest, OneInkLogoSetsDensityThenDefinesColumns) {
  UseProfile(session, ProfileFor("DT-300/310", "None", 203));
  session.save_as_command_file = 1;
  // Column x has its top dot where x is even and its second where x < 4.
  auto raster = MakeRaster(8, 2, kColorBlack, kNoInk,
                           [](int x, int y) { return y == 0 ? x % 2 == 0 : x < 4; });
  EXPECT_EQ(Define(raster), 1);
  EXPECT_EQ(port.sent, kDensity180 +
                           B({0x1D, 0x38, 0x4C, 0x13, 0x00, 0x00, 0x00, 0x30, 0x44, 0x30, 0x41,
                              0x42, 0x01, 0x08, 0x00, 0x08, 0x00, 0x31}) +
                           B({0xC0, 0x40, 0xC0, 0x40, 0x80, 0x00, 0x80, 0x00}));
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ColumnDefineTest, TwoInkHeaderCountsRoundedColumnsAndPrintsAsTheLogo) {
  UseProfile(session, ProfileFor("DT-350/360", "Red", 360));
  auto raster = MakeRaster(200, 100, kColorBlack, kColorRed, Pattern);
  port.Reply(CapacityReply(5202 + 30));
  ASSERT_EQ(Define(raster), 1);
  ASSERT_EQ(port.writes.size(), 4u);
  EXPECT_EQ(port.writes[1], kDensity360);
  EXPECT_EQ(port.writes[2], B({0x1D, 0x38, 0x4C, 0x5C, 0x14, 0x00, 0x00, 0x30, 0x44, 0x30, 'A', 'B',
                               0x02, 200, 0x00, 104, 0x00}));
  ASSERT_EQ(port.writes[3].size(), 5202u);
  EXPECT_EQ(port.writes[3][2601], 0x32);
  auto commands = DecodeStream(port.writes[2] + port.writes[3]);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(vprinter::RenderGraphics(commands[0].graphics)->inks,
            ExpectedPicture(raster, 200, 104, 0, 1).inks);
}

TEST_F(ColumnDefineTest, NoSizeLimitButCapacityStillChecked) {
  UseProfile(session, ProfileFor("DT-300/310", "None"));
  auto raster = MakeRaster(8, 2400, kColorBlack, kNoInk, OneInkPattern);
  port.Reply(CapacityReply(30000));
  EXPECT_EQ(Define(raster), 1);
  EXPECT_TRUE(boxes.boxes().empty());

  port.Reset();
  port.Reply(CapacityReply(2400));
  EXPECT_EQ(Define(raster), 0);
  EXPECT_EQ(port.writes.size(), 1u);
  port.Reset();
  port.fail_from_write = 2;  // capacity request and density go, the header does not
  port.Reply(CapacityReply(30000));
  EXPECT_EQ(Define(raster), 0);
  EXPECT_EQ(port.writes.size(), 3u);  // the data is not attempted
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{FormatMessageText(kStrNoNvMemory, nullptr),
                                      FormatMessageText(kStrRegisterFailed, nullptr)}));
}

using ColumnTestPrintTest = CommandFileTest;

TEST_F(ColumnTestPrintTest, SixtyFourRowBandsWithoutDensity) {
  UseProfile(session, ProfileFor("DT-300/310"));
  auto raster = MakeRaster(200, 100, kColorBlack, kColorRed, Pattern);
  EXPECT_EQ(TestPrintColumn(nullptr, session, raster), 1);
  Bytes sent = Sent();
  auto commands = DecodeStream(sent);
  ASSERT_EQ(commands.size(), 6u);
  EXPECT_EQ(commands[0].graphics.height, 64);
  EXPECT_EQ(commands[3].graphics.height, 40);
  EXPECT_EQ(commands[5].kind, CommandKind::kPrintBuffer);
  // The second band's first store header: count 1010, first ink, 200 x 40.
  const std::size_t second_band = 2 * (15 + 200 * 8) + 7;
  EXPECT_EQ(Bytes(sent.begin() + second_band, sent.begin() + second_band + 15),
            B({0x1D, 0x28, 0x4C, 0xF2, 0x03, 0x30, 0x71, 0x30, 0x01, 0x01, 0x31, 200, 0, 40, 0}));
  // Both bands together show the logo.
  vprinter::Picture top = *vprinter::RenderGraphics(commands[0].graphics);
  vprinter::OverlayPicture(top, *vprinter::RenderGraphics(commands[1].graphics));
  auto expected = ExpectedPicture(raster, 200, 100, 0, 1);
  EXPECT_TRUE(std::equal(top.inks.begin(), top.inks.end(), expected.inks.begin()));
}

TEST_F(ColumnTestPrintTest, ModelWithTallBandsSetsDensityFirst) {
  UseProfile(session, ProfileFor("DT-200/210", "Red", 360));
  auto raster = MakeRaster(200, 100, kColorBlack, kColorRed, Pattern);
  EXPECT_EQ(TestPrintColumn(nullptr, session, raster), 1);
  Bytes sent = Sent();
  EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 9), kDensity360);
  auto commands = DecodeStream(sent);
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(commands[1].graphics.height, 104);
  EXPECT_EQ(commands[1].graphics.blocks[0].data.size(), 2600u);
}

TEST_F(ColumnTestPrintTest, WideLogoTakesLowerBandsWhoseCountsDoNotWrap) {
  UseProfile(session, ProfileFor("DT-200/210", "None"));
  auto raster = MakeRaster(5000, 130, kColorBlack, kNoInk, OneInkPattern);
  EXPECT_EQ(TestPrintColumn(nullptr, session, raster), 1);
  int rows = 0;
  for (const auto& c : DecodeStream(Sent())) {
    if (c.kind != CommandKind::kStore) continue;
    EXPECT_LE(c.graphics.blocks[0].data.size(), 65525u);
    rows += c.graphics.height;
  }
  EXPECT_EQ(rows, 13 * 8 + 32);  // one band of 104 rows, then 26 rows rounded to 32
}

TEST_F(ColumnTestPrintTest, CommandFileHoldsDensityAndDefineOnly) {
  UseProfile(session, ProfileFor("DT-300/310", "None"));
  auto port = std::make_unique<ScriptPort>();
  auto raster = MakeRaster(8, 2, kColorBlack, kNoInk, OneInkPattern);
  EXPECT_EQ(DefineNvGraphicsColumn(*port, nullptr, session, MakeNvKey('0', '0'), raster), 1);
  EXPECT_EQ(port->writes.size(), 3u);
  EXPECT_EQ(port->writes[0], kDensity180);
  EXPECT_EQ(port->writes[1].size(), 17u);
  EXPECT_TRUE(port->replies.empty());
}

}  // namespace
}  // namespace inkmark::testing
