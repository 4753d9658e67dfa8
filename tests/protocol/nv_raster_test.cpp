// Registration and test print in raster form: the exact streams, the size and
// capacity checks, and the bands.
#include "protocol/nv_raster.h"

#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "protocol/nv_commands.h"
#include "protocol/nv_planes.h"
#include "protocol_fixtures.h"

namespace inkmark::testing {
namespace {

using vprinter::CommandKind;

std::string Text(int id, const char* arg = nullptr) { return FormatMessageText(id, arg); }

class RasterDefineTest : public ::testing::Test {
 protected:
  RasterDefineTest() { UseProfile(session, ProfileFor("QP-80")); }

  std::int32_t Define(std::optional<LogoRaster> raster, char kc1 = 'A', char kc2 = 'B') {
    return DefineNvGraphicsRaster(port, nullptr, session, MakeNvKey(kc1, kc2), std::move(raster));
  }

  LogoSession session;
  ScriptPort port;
  RecordingMessageBoxes boxes;
};

TEST_F(RasterDefineTest, OneInkLogoIsTheTwentyByteStream) {
  UseProfile(session, ProfileFor("QP-80", "None"));
  session.save_as_command_file = 1;  // no capacity request
  // Top row: the left half inked; bottom row: the right half.
  auto raster =
      MakeRaster(8, 2, kColorBlack, kNoInk, [](int x, int y) { return (x < 4) == (y == 0); });
  EXPECT_EQ(Define(raster), 1);
  EXPECT_EQ(port.sent, B({0x1D, 0x38, 0x4C, 0x0D, 0x00, 0x00, 0x00, 0x30, 0x43, 0x30,
                          0x41, 0x42, 0x01, 0x08, 0x00, 0x02, 0x00, 0x31, 0xF0, 0x0F}));
  EXPECT_EQ(port.jobs_begun, 1);
  EXPECT_EQ(port.jobs_ended, 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(RasterDefineTest, TwoInkLogoHasBothBlocksBehindOneHeader) {
  auto raster = MakeRaster(500, 10, kColorBlack, kColorRed, Pattern);
  port.Reply(CapacityReply(1262 + 30));
  ASSERT_EQ(Define(raster), 1);
  ASSERT_EQ(port.writes.size(), 3u);  // capacity request, header, data
  EXPECT_EQ(port.writes[1], B({0x1D, 0x38, 0x4C, 0xF8, 0x04, 0x00, 0x00, 0x30, 0x43, 0x30, 'A', 'B',
                               0x02, 0xF8, 0x01, 0x0A, 0x00}));
  const Bytes& data = port.writes[2];
  ASSERT_EQ(data.size(), 1262u);
  EXPECT_EQ(data[0], 0x31);
  EXPECT_EQ(data[631], 0x32);
  // What the printer makes of it is the logo, dot for dot.
  auto commands = DecodeStream(port.writes[1] + data);
  ASSERT_EQ(commands.size(), 1u);
  auto picture = vprinter::RenderGraphics(commands[0].graphics);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->inks, ExpectedPicture(raster, 504, 10, 0, 1).inks);
}

TEST_F(RasterDefineTest, CapacityMustCoverDataAndAllowance) {
  auto raster = MakeRaster(16, 4, kColorBlack, kNoInk, OneInkPattern);
  UseProfile(session, ProfileFor("QP-80", "None"));
  const std::uint64_t total = 1 + 2 * 4;
  port.Reply(CapacityReply(total + 30));
  EXPECT_EQ(Define(raster), 1);

  port.Reset();
  port.Reply(CapacityReply(total + 29));
  EXPECT_EQ(Define(raster), 0);
  EXPECT_EQ(port.writes.size(), 1u);  // the capacity request only
  EXPECT_EQ(port.jobs_begun, 0);

  port.Reset();
  port.Reply(B({0x37, 0x30, '9', 0x00}));
  EXPECT_EQ(Define(raster), 0);
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{Text(kStrNoNvMemory), Text(kStrCapacityFailed)}));
}

TEST_F(RasterDefineTest, SizeLimitsRefuseBeforeAnythingIsSent) {
  session.save_as_command_file = 1;
  UseProfile(session, ProfileFor("QP-80", "None"));
  EXPECT_EQ(Define(MakeRaster(8, 2304, kColorBlack, kNoInk, OneInkPattern)), 1);
  EXPECT_EQ(Define(MakeRaster(8185, 1, kColorBlack, kNoInk, OneInkPattern)), 1);
  port.Reset();
  EXPECT_EQ(Define(MakeRaster(8, 2305, kColorBlack, kNoInk, OneInkPattern)), 0);
  EXPECT_EQ(Define(MakeRaster(8193, 1, kColorBlack, kNoInk, OneInkPattern)), 0);
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(port.jobs_begun, 0);
  const std::string limit = Text(kStrNvSizeLimit, "2304");
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{limit, limit}));
}

TEST_F(RasterDefineTest, FailuresAreReportedOnce) {
  session.save_as_command_file = 1;
  auto raster = MakeRaster(8, 2, kColorBlack, kColorRed, Pattern);
  // The profile asks for a blue second ink the raster does not have.
  PrinterProfile blue = ProfileFor("QP-80", "Blue");
  UseProfile(session, blue);
  EXPECT_EQ(Define(raster), 0);
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(Define(std::nullopt), 0);

  UseProfile(session, ProfileFor("QP-80"));
  port.begin_job_result = 0;
  EXPECT_EQ(Define(raster), 0);
  EXPECT_TRUE(port.writes.empty());

  port.Reset();
  port.fail_from_write = 1;  // the header goes, the data does not
  EXPECT_EQ(Define(raster), 0);
  EXPECT_EQ(port.jobs_ended, 1);
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{Text(kStrNoMemory), Text(kStrNoMemory),
                                      Text(kStrRegisterFailed), Text(kStrRegisterFailed)}));
}

TEST_F(RasterDefineTest, MonochromePicturePrintsInTheChosenInk) {
  session.save_as_command_file = 1;
  session.monochrome = 1;
  session.source_kind = kSourceBitmap;
  session.params.color_table = 1;  // the second ink of the pair, red
  auto raster = MakeInkOneRaster(8, 1, kColorRed, [](int x, int) { return x % 2; });
  EXPECT_EQ(Define(raster), 1);
  EXPECT_EQ(port.sent, B({0x1D, 0x38, 0x4C, 12, 0, 0, 0, 0x30, 0x43, 0x30, 'A', 'B', 0x01, 0x08,
                          0x00, 0x01, 0x00, 0x32, 0x55}));
}

TEST(ExtractRasterPlaneTest, EitherPaletteOrderGivesTheSamePlaneWithCleanPadding) {
  auto ink_zero = MakeRaster(13, 3, kColorBlack, kNoInk, OneInkPattern);
  auto ink_one = MakeInkOneRaster(13, 3, kColorBlack, OneInkPattern);
  auto eight_bit = MakeRaster(13, 3, kColorBlack, kColorRed, OneInkPattern);
  Bytes a(6, 0xEE), b(6, 0xEE), c(6, 0xEE);
  // Rows as stored (bottom-up); the padding of the ink-zero raster is all ink.
  ASSERT_TRUE(ExtractRasterPlane(ink_zero, 0, 3, 0, a));
  ASSERT_TRUE(ExtractRasterPlane(ink_one, 0, 3, 1, b));
  ASSERT_TRUE(ExtractRasterPlane(eight_bit, 0, 3, 0, c));
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(a[2 * r + 1] & 0x07, 0) << r;
  Bytes small(5);
  EXPECT_FALSE(ExtractRasterPlane(ink_one, 0, 3, 1, small));
}

class RasterTestPrintTest : public CommandFileTest {
 protected:
  RasterTestPrintTest() { UseProfile(session, ProfileFor("QP-80")); }
};

TEST_F(RasterTestPrintTest, TallLogoGoesInBandsEachPrintedBeforeTheNext) {
  auto raster = MakeRaster(16, 1000, kColorBlack, kColorRed, Pattern);
  EXPECT_EQ(TestPrintRaster(nullptr, session, raster), 1);
  auto sent = DecodeStream(Sent());
  ASSERT_EQ(sent.size(), 6u);
  int top = 0;
  for (int band = 0; band < 2; ++band) {
    const int rows = band == 0 ? 831 : 169;
    const auto& first = sent[3 * band];
    const auto& second = sent[3 * band + 1];
    ASSERT_EQ(first.kind, CommandKind::kStore);
    EXPECT_EQ(first.graphics.height, rows);
    EXPECT_EQ(first.graphics.blocks[0].color_code, 0x31);
    EXPECT_EQ(second.graphics.blocks[0].color_code, 0x32);
    EXPECT_EQ(sent[3 * band + 2].kind, CommandKind::kPrintBuffer);
    // The band shows the logo's rows top .. top + rows - 1.
    vprinter::Picture shown = *vprinter::RenderGraphics(first.graphics);
    vprinter::OverlayPicture(shown, *vprinter::RenderGraphics(second.graphics));
    auto expected = ExpectedPicture(raster, 16, 1000, 0, 1);
    EXPECT_TRUE(std::equal(shown.inks.begin(), shown.inks.end(),
                           expected.inks.begin() + std::ptrdiff_t(top) * 16))
        << band;
    top += rows;
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(RasterTestPrintTest, WideLogoTakesLowerBandsWhoseCountsDoNotWrap) {
  auto raster = MakeRaster(1000, 1200, kColorBlack, kNoInk, OneInkPattern);
  UseProfile(session, ProfileFor("QP-80", "None"));
  EXPECT_EQ(TestPrintRaster(nullptr, session, raster), 1);
  // Every store command decodes whole: its count matches its data.
  int rows = 0;
  for (const auto& c : DecodeStream(Sent())) {
    if (c.kind != CommandKind::kStore) continue;
    EXPECT_LE(c.graphics.height, 65525 / 125);
    rows += c.graphics.height;
  }
  EXPECT_EQ(rows, 1200);
}

TEST_F(RasterTestPrintTest, PortOrWriteFailureIsReported) {
  auto raster = MakeRaster(8, 4, kColorBlack, kColorRed, Pattern);
  session.save_path = (dir.path() / "missing" / "print.bin").string();
  EXPECT_EQ(TestPrintRaster(nullptr, session, raster), 0);
  session.save_path = "/dev/full";
  EXPECT_EQ(TestPrintRaster(nullptr, session, raster), 0);
  EXPECT_EQ(TestPrintRaster(nullptr, session, std::nullopt), 0);
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{Text(kStrTestPrintFailed), Text(kStrTestPrintFailed),
                                      Text(kStrNoMemory)}));
}

}  // namespace
}  // namespace inkmark::testing
