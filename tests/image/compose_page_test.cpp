// Composition of documents: order, transparency, inks, the two previews, and
// saving the logo.
#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "image/compose.h"
#include "image/compose_surface.h"
#include "image/output_files.h"
#include "image/picture_io.h"
#include "image/preview_paint.h"
#include "platform/string_table.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {
namespace {

constexpr Bgr24 kGreen24 = {0, 255, 0};

DocumentObject GreenText(std::int32_t left, std::int32_t bottom) {
  return TextObject(left, bottom, "HHHH", "Arial", -24, kColorGreen);
}

TEST(ComposeTest, TextUsesStoredColourAsStoredAndItsInkConverted) {
  ComposeSession cs;
  ASSERT_TRUE(cs.UseDocument(200, 60, {GreenText(10, 40)}));
  cs.session().items[0].color_index = 1;
  auto stored = ComposeAsStored(cs.session());
  auto converted = ComposeConverted(cs.session(), 2.0, 2.0);
  ASSERT_TRUE(stored && converted);
  EXPECT_EQ(PageWidth(*stored), 200);
  const PixelCensus as_stored = CountPixels(*stored, kGreen24);
  EXPECT_GT(as_stored.ink, 50);
  EXPECT_EQ(as_stored.other, 0);
  EXPECT_EQ(PageWidth(*converted), 400);
  EXPECT_EQ(PageHeight(*converted), 120);
  const PixelCensus in_ink = CountPixels(*converted, kRed24);
  EXPECT_GT(in_ink.ink, 4 * 50);
  EXPECT_EQ(in_ink.other, 0);
  EXPECT_EQ(CountPixels(*ComposeAsStored(cs.session()), kGreen24).ink, as_stored.ink)
      << "the document's own colour is left as stored";
}

TEST(ComposeTest, LaterOpaqueImageHidesTextAndTransparentOneLetsItShow) {
  for (bool transparent : {false, true}) {
    ComposeSession cs;
    ASSERT_TRUE(cs.UseDocument(
        200, 60,
        {GreenText(10, 40), ImageObject(0, 0, 200, 60, SolidBitmap(4, 4, kWhite24), transparent)}));
    EXPECT_EQ(CountPixels(*ComposeAsStored(cs.session()), kGreen24).ink > 50, transparent);
    auto converted = ComposeConverted(cs.session(), 1.0, 1.0);
    ASSERT_TRUE(converted);
    EXPECT_EQ(CountPixels(*converted, kBlack24).ink > 50, transparent);
  }
}

TEST(ComposeTest, ImageItemsConvertWithTheirOwnSettingsAndARefusedItemFailsThePage) {
  ComposeSession cs;
  // A mid grey: with two inks it converts to an ink; attached to white it vanishes.
  const auto grey = SolidBitmap(8, 8, {100, 100, 100});
  ASSERT_TRUE(cs.UseDocument(100, 20,
                             {ImageObject(0, 0, 50, 20, grey), ImageObject(50, 0, 100, 20, grey)}));
  for (auto& level : cs.session().items[1].params.level_attach) level = kAttachWhite;
  cs.session().items[1].params.attach_manual = 1;
  auto page = ComposeConverted(cs.session(), 1.0, 1.0);
  ASSERT_TRUE(page);
  EXPECT_NE(PagePixel(*page, 10, 10), kWhite24);
  EXPECT_EQ(PagePixel(*page, 75, 10), kWhite24);
  EXPECT_EQ(cs.session().items[1].params.target_width, 50u);
  cs.session().items[0].params.adjust_b = 0;
  EXPECT_FALSE(ComposeConverted(cs.session(), 1.0, 1.0));

  ComposeSession broken;
  ASSERT_TRUE(
      broken.UseDocument(50, 50, {ImageObject(0, 0, 10, 10, std::vector<std::uint8_t>(70, 1))}));
  EXPECT_FALSE(ComposeAsStored(broken.session())) << "undecodable embedded bitmap";
  EXPECT_FALSE(ComposeConverted(broken.session(), 1.0, 1.0));
}

TEST(PreviewTest, DocumentPreviewsFollowTheWindowSelections) {
  ComposeSession cs(400);
  ASSERT_TRUE(cs.UseDocument(
      400, 100, {GreenText(10, 60), ImageObject(200, 0, 400, 100, SolidBitmap(4, 4, kBlack24))}));
  FakePreviewControls window;  // usable width 200
  ASSERT_EQ(MakeSourcePreviews(window, cs.session()), 1);
  EXPECT_EQ(cs.session().source_shown, ShownSource::kFit);
  EXPECT_EQ(cs.session().fit_size, (std::array<std::int32_t, 2>{200, 50}));
  EXPECT_TRUE(cs.session().cut_image.empty());

  window.text_color = 1;
  cs.session().item_index = 0;
  ASSERT_EQ(MakeConvertedPreview(window, cs.session()), 1);
  EXPECT_EQ(cs.session().items[0].color_index, 1);
  EXPECT_EQ(PageWidth(cs.session().converted), 200);
  EXPECT_GT(CountPixels(cs.session().converted, kRed24).ink, 10);

  cs.session().item_index = 1;
  window.monochrome_color = 1;
  cs.session().params.processing = 1;
  ASSERT_EQ(MakeConvertedPreview(window, cs.session()), 1);
  EXPECT_EQ(cs.session().items[1].color_index, 1);
  EXPECT_EQ(cs.session().items[1].params.processing, 1u);

  // Back to the first ink: monochrome items take its table, two-ink items keep theirs.
  cs.session().items[1].monochrome = 1;
  cs.session().items[1].params.color_table = 1;
  cs.session().items.push_back(cs.session().items[1]);
  cs.session().items[2].monochrome = 0;
  ResetSecondColorItems(cs.session());
  for (const auto& item : cs.session().items) EXPECT_EQ(item.color_index, 0);
  EXPECT_EQ(cs.session().items[1].params.color_table, 0u);
  EXPECT_EQ(cs.session().items[2].params.color_table, 1u);
}

TEST(PreviewTest, PicturePreviewsAreFitAndCut) {
  ComposeSession cs(400);
  cs.UsePicture(SolidBitmap(800, 100, kBlack24));
  FakePreviewControls window;
  ASSERT_EQ(MakeSourcePreviews(window, cs.session()), 1);
  EXPECT_EQ(cs.session().fit_size, (std::array<std::int32_t, 2>{200, 25}));
  // 800 pixels at 200 per 400 dots is 400 wide, cut at the paper's 200.
  EXPECT_EQ(cs.session().cut_size, (std::array<std::int32_t, 2>{200, 50}));
  EXPECT_EQ(cs.session().source_shown, ShownSource::kCut);
  ASSERT_EQ(MakeConvertedPreview(window, cs.session()), 1);
  EXPECT_EQ(PageWidth(cs.session().converted), 200);
  EXPECT_EQ(PageHeight(cs.session().converted), 50);
}

TEST(PreviewTest, NothingToShowWithoutSourceOrItems) {
  ComposeSession cs;
  FakePreviewControls window;
  EXPECT_EQ(MakeSourcePreviews(window, cs.session()), 0);
  cs.session().source_kind = kSourceDocument;
  cs.session().converted = {1, 2, 3};
  EXPECT_EQ(MakeSourcePreviews(window, cs.session()), 0);
  EXPECT_EQ(MakeConvertedPreview(window, cs.session()), 0);
  EXPECT_TRUE(cs.session().converted.empty());
  EXPECT_EQ(cs.session().source_shown, ShownSource::kNone);
}

TEST(PaintPreviewTest, DrawsUnscaledInsideTheFrameAndClips) {
  QImage client(20, 10, QImage::Format_RGB32);
  client.fill(0xFF0000FFu);  // blue, to see what is painted
  const BitmapFile picture = SolidBitmap(30, 3, kRed24);
  EXPECT_EQ(PaintPreview(client, &picture), 1);
  EXPECT_EQ(client.pixel(0, 0), 0xFF0000FFu);   // frame untouched
  EXPECT_EQ(client.pixel(1, 1), 0xFFFF0000u);   // picture's top-left
  EXPECT_EQ(client.pixel(18, 3), 0xFFFF0000u);  // clipped at the frame
  EXPECT_EQ(client.pixel(19, 3), 0xFF0000FFu);
  EXPECT_EQ(client.pixel(5, 4), 0xFFFFFFFFu);  // white below the picture
  EXPECT_EQ(PaintPreview(client, nullptr), 0);
  EXPECT_EQ(client.pixel(1, 1), 0xFFFFFFFFu);
}

TEST(SaveLogoAsTest, BitmapTypeReplacesTheFileWithTheRasterBytes) {
  RecordingMessageBoxes boxes;
  ComposeSession cs;
  ASSERT_TRUE(cs.UseDocument(30, 10, {ImageObject(0, 0, 10, 10, SolidBitmap(2, 2, kBlack24))}));
  const std::string path = (cs.dir().path() / "out.BIN").string();
  WriteWholeFile(path, std::vector<std::uint8_t>(5000, 9));
  SaveLogoAs(nullptr, cs.session(), path, kSaveAsBitmap);
  EXPECT_EQ(ReadWholeFile(path), BuildLogoRaster(cs.session())->bytes());

  const std::string bare = (cs.dir().path() / "noext").string();
  SaveLogoAs(nullptr, cs.session(), bare, kSaveAsBitmap);
  EXPECT_FALSE(std::filesystem::exists(bare));
  EXPECT_TRUE(boxes.boxes().empty());

  cs.session().source_kind = kSourceNone;
  SaveLogoAs(nullptr, cs.session(), (cs.dir().path() / "x.bmp").string(), kSaveAsBitmap);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, LoadString(kStrNoMemory));
  EXPECT_FALSE(std::filesystem::exists(cs.dir().path() / "x.bmp"));
}

}  // namespace
}  // namespace inkmark::testing
