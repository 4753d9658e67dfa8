// Registration and test print in raster and column form: the exact streams,
// the limits, the capacity check and the bands.
#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "protocol/nv_column.h"
#include "protocol/nv_commands.h"
#include "protocol/nv_dispatch.h"
#include "protocol_fixtures.h"

namespace inkmark::testing {
namespace {

using vprinter::CommandKind;

std::string Text(int id, const char* arg = nullptr) { return FormatMessageText(id, arg); }
const Bytes kCapacityAsk(std::begin(kCapacityRequest), std::end(kCapacityRequest));
const Bytes kDensity180 = B({0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, 0x32, 0x32});
const Bytes kDensity360 = B({0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, 0x33, 0x33});

// The define header up to its first block: the count, fn, the key AB, the
// number of blocks, the width and height.
Bytes DefineHead(int fn, int count, int blocks, int width, int height) {
  return B({0x1D, 0x38, 0x4C, count & 0xFF, count >> 8, 0, 0, 0x30, fn, 0x30, 'A', 'B', blocks,
            width & 0xFF, width >> 8, height & 0xFF, height >> 8});
}
// The print-buffer store header: the count, fn, the ink's code, width and height.
Bytes StoreHead(int fn, int count, int width, int height) {
  return B({0x1D, 0x28, 0x4C, count & 0xFF, count >> 8, 0x30, fn, 0x30, 1, 1, 0x31, width & 0xFF,
            width >> 8, height & 0xFF, height >> 8});
}

TEST(SpecialModelTest, OnlyWholeModelNamesTakeTheColumnForm) {
  EXPECT_EQ(FindSpecialModel(ProfileFor("Dt-200/210"))->band_rows, 128);
  EXPECT_FALSE(IsSpecialModel(ProfileFor("DT-300")));
  EXPECT_FALSE(IsSpecialModel(ProfileFor("DT-300/3100")));
}

class DefineTest : public ::testing::Test {
 protected:
  std::int32_t Define(std::optional<LogoRaster> raster) {
    return RegisterNvGraphics(port, nullptr, session, MakeNvKey('A', 'B'), std::move(raster));
  }

  LogoSession session;
  ScriptPort port;
  RecordingMessageBoxes boxes;
};

TEST_F(DefineTest, OneInkDefinesAreTheExactStreams) {
  session.save_as_command_file = 1;  // no capacity request
  // 12 dots: top row the first four, bottom row the rest; the padding is white.
  UseProfile(session, ProfileFor("QP-80", "None"));
  EXPECT_EQ(Define(MakeRaster(12, 2, kNoInk, [](int x, int y) { return (x < 4) == (y == 0); })), 1);
  EXPECT_EQ(port.Sent(), DefineHead(0x43, 15, 1, 16, 2) + B({0x31, 0xF0, 0x00, 0x0F, 0xF0}));
  EXPECT_EQ(std::pair(port.jobs_begun, port.jobs_ended), std::pair(1, 1));

  // A monochrome picture in the second ink, its raster in the converter's order.
  port.Reset();
  UseProfile(session, ProfileFor("QP-80"));
  session.monochrome = 1;
  session.source_kind = kSourceBitmap;
  session.params.color_table = 1;
  EXPECT_EQ(Define(MakeInkOneRaster(12, 1, kColorRed, [](int x, int) { return x % 2; })), 1);
  EXPECT_EQ(port.Sent(), DefineHead(0x43, 13, 1, 16, 1) + B({0x32, 0x55, 0x50}));

  // Column form: column x has its top dot where x is even, its second where x < 4.
  port.Reset();
  session.monochrome = 0;
  UseProfile(session, ProfileFor("DT-300/310", "None", 203));
  EXPECT_EQ(Define(MakeRaster(8, 2, kNoInk, [](int x, int y) { return y ? x < 4 : x % 2 == 0; })),
            1);
  EXPECT_EQ(port.Sent(), kDensity180 + DefineHead(0x44, 19, 1, 8, 8) +
                             B({0x31, 0xC0, 0x40, 0xC0, 0x40, 0x80, 0x00, 0x80, 0x00}));
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DefineTest, TwoInkDefinesFitExactCapacityAndPrintAsTheLogo) {
  const struct {
    const char* model;
    int dpi, width, height, count, shown_width, shown_height;
    Bytes density;
  } cases[] = {
      {"QP-80", 180, 500, 10, 1272, 504, 10, {}},
      {"DT-350/360", 360, 200, 100, 5212, 200, 104, kDensity360},
  };
  for (const auto& c : cases) {
    port.Reset();
    UseProfile(session, ProfileFor(c.model, "Red", c.dpi));
    const auto raster = MakeRaster(c.width, c.height, kColorRed);
    port.Reply(CapacityReply(c.count - 10 + 30));  // just enough
    ASSERT_EQ(Define(raster), 1) << c.model;
    const Bytes sent = port.Sent();
    const Bytes start =
        kCapacityAsk + c.density +
        DefineHead(c.density.empty() ? 0x43 : 0x44, c.count, 2, c.shown_width, c.shown_height);
    ASSERT_EQ(sent.size(), start.size() + c.count - 10) << c.model;
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + start.size()), start) << c.model;
    // What the printer makes of it is the logo, dot for dot.
    auto commands = DecodeStream(Bytes(sent.begin() + start.size() - 17, sent.end()));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(vprinter::RenderGraphics(commands[0].graphics)->inks,
              ExpectedInks(raster, c.shown_width, c.shown_height))
        << c.model;
  }
}

TEST_F(DefineTest, ShortOrUnreadableCapacityStopsBeforeTheDefine) {
  // 16 x 4 dots of one ink: 1 + 8 bytes in rows, 1 + 16 in columns.
  for (const auto& [model, total] : {std::pair{"QP-80", 9}, {"DT-300/310", 17}}) {
    port.Reset();
    UseProfile(session, ProfileFor(model, "None"));
    port.Reply(CapacityReply(total + 29));
    EXPECT_EQ(Define(MakeRaster(16, 4, kNoInk)), 0) << model;
    EXPECT_EQ(port.writes.size(), 1u) << model;
    EXPECT_EQ(port.jobs_begun, 0) << model;
  }
  port.Reply(B("709\0"sv));
  EXPECT_EQ(Define(MakeRaster(16, 4, kNoInk)), 0);
  EXPECT_EQ(boxes.texts(),
            (Texts{Text(kStrNoNvMemory), Text(kStrNoNvMemory), Text(kStrCapacityFailed)}));
}

TEST_F(DefineTest, RasterFormRefusesOversizeLogosBeforeSendingAnything) {
  session.save_as_command_file = 1;
  UseProfile(session, ProfileFor("QP-80", "None"));
  EXPECT_EQ(Define(MakeRaster(8, 2304, kNoInk)), 1);
  EXPECT_EQ(Define(MakeRaster(8185, 1, kNoInk)), 1);
  port.Reset();
  EXPECT_EQ(Define(MakeRaster(8, 2305, kNoInk)), 0);
  EXPECT_EQ(Define(MakeRaster(8193, 1, kNoInk)), 0);
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(port.jobs_begun, 0);
  UseProfile(session, ProfileFor("DT-300/310", "None"));
  EXPECT_EQ(Define(MakeRaster(8, 2400, kNoInk)), 1);  // the column form has no such limit
  const std::string limit = Text(kStrNvSizeLimit, "2304");
  EXPECT_EQ(boxes.texts(), (Texts{limit, limit}));
}

TEST_F(DefineTest, FailuresAreReportedOnceAndEndTheJob) {
  session.save_as_command_file = 1;
  const auto raster = MakeRaster(8, 2, kColorRed);
  UseProfile(session, ProfileFor("QP-80", "Blue"));  // an ink the raster does not have
  EXPECT_EQ(Define(raster), 0);
  EXPECT_EQ(Define(std::nullopt), 0);
  UseProfile(session, ProfileFor("QP-80"));
  port.begin_job_result = 0;
  EXPECT_EQ(Define(raster), 0);
  EXPECT_TRUE(port.writes.empty());

  port.Reset();
  port.fail_from_write = 1;  // the header goes, the data does not
  EXPECT_EQ(Define(raster), 0);
  EXPECT_EQ(port.jobs_ended, 1);
  port.Reset();
  UseProfile(session, ProfileFor("DT-300/310"));
  port.fail_from_write = 1;  // the density goes, the header does not
  EXPECT_EQ(Define(raster), 0);
  EXPECT_EQ(port.writes.size(), 2u);  // the data is not attempted
  EXPECT_EQ(boxes.texts(), (Texts{Text(kStrNoMemory), Text(kStrNoMemory), Text(kStrRegisterFailed),
                                  Text(kStrRegisterFailed), Text(kStrRegisterFailed)}));
}

// Each band is stored in the print buffer, one block per ink, and printed
// before the next; bands are as tall as the form allows and no store's count
// wraps. `bands` lists each store's rows, 0 for a print; `count` is the first
// store's count.
TEST_F(CommandFileTest, TestPrintSendsBandsEachPrintedBeforeTheNext) {
  const struct {
    std::string model;
    const char* second;
    int dpi, width, height, count;
    std::vector<int> bands;
  } cases[] = {
      {"QP-80", "Red", 180, 16, 1000, 1672, {831, 831, 0, 169, 169, 0}},
      {"QP-80", "None", 180, 1000, 1200, 65510, {524, 0, 524, 0, 152, 0}},
      {"DT-300/310", "Red", 203, 200, 100, 1610, {64, 64, 0, 40, 40, 0}},
      {"DT-200/210", "Red", 360, 200, 100, 2610, {104, 104, 0}},
      {"DT-200/210", "None", 180, 5000, 130, 65010, {104, 0, 32, 0}},
  };
  for (const auto& c : cases) {
    UseProfile(session, ProfileFor(c.model, c.second, c.dpi));
    const auto raster = MakeRaster(c.width, c.height, ColorFromName(c.second));
    ASSERT_EQ(TestPrint(nullptr, session, raster), 1) << c.model;
    // Only the model with tall bands sets the density first.
    const Bytes start = (c.model != "DT-200/210" ? Bytes{}
                         : c.dpi == 360          ? kDensity360
                                                 : kDensity180) +
                        StoreHead(c.model[0] == 'D' ? 0x71 : 0x70, c.count, c.width, c.bands[0]);
    const Bytes sent = Sent();
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + std::min(sent.size(), start.size())), start)
        << c.model << " " << c.width;
    std::vector<int> bands;
    for (const auto& command : DecodeStream(sent)) {
      if (command.kind == CommandKind::kStore) bands.push_back(command.graphics.height);
      if (command.kind == CommandKind::kPrintBuffer) bands.push_back(0);
    }
    EXPECT_EQ(bands, c.bands) << c.model << " " << c.width;
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(CommandFileTest, TestPrintFailureIsReported) {
  UseProfile(session, ProfileFor("QP-80"));
  const auto raster = MakeRaster(8, 4, kColorRed);
  session.save_path = (dir.path() / "missing" / "print.bin").string();
  EXPECT_EQ(TestPrint(nullptr, session, raster), 0);
  session.save_path = "/dev/full";
  EXPECT_EQ(TestPrint(nullptr, session, raster), 0);
  EXPECT_EQ(TestPrint(nullptr, session, std::nullopt), 0);
  EXPECT_EQ(boxes.texts(),
            (Texts{Text(kStrTestPrintFailed), Text(kStrTestPrintFailed), Text(kStrNoMemory)}));
}

}  // namespace
}  // namespace inkmark::testing
