// The full-size print raster: sizes at the paper's edge and the raster forms.
#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "image/compose.h"
#include "image/picture_io.h"

namespace inkmark::testing {
namespace {

TEST(BuildLogoRasterTest, PicturesAreCutAtThePaperEdgeOrScaledToItWithFit) {
  // Pictures whose left half is black and right half white, on 512-dot paper.
  const struct {
    std::int32_t width, height;
    bool fit;
    std::int32_t want_width, want_height;
    std::vector<std::array<std::int32_t, 3>> probes;  // x, y, pixel value
  } cases[] = {
      // Cut: 500 black and 12 white columns are kept.
      {1000, 40, false, 512, 40, {{0, 0, 0}, {499, 20, 0}, {511, 20, 2}}},
      // Scaled whole: 301 * 512 / 1000 = 154, truncated.
      {1000, 301, true, 512, 154, {{10, 5, 0}, {500, 5, 2}}},
      // Narrow pictures are enlarged only with fit.
      {100, 50, false, 100, 50, {{10, 10, 0}, {90, 10, 2}}},
      {100, 50, true, 512, 256, {{10, 10, 0}, {500, 10, 2}}},
  };
  for (const auto& c : cases) {
    ComposeSession cs(512);
    cs.session().fit_to_width = c.fit;
    cs.UsePicture(SplitBitmap(c.width, c.height, kBlack24, kWhite24));
    auto raster = BuildLogoRaster(cs.session());
    ASSERT_TRUE(raster) << c.width << " fit " << c.fit;
    EXPECT_EQ(raster->width(), c.want_width) << c.width << " fit " << c.fit;
    EXPECT_EQ(raster->height(), c.want_height) << c.width << " fit " << c.fit;
    EXPECT_EQ(raster->bits_per_pixel(), 8);
    EXPECT_EQ(cs.session().params.target_width, static_cast<std::uint32_t>(c.want_width));
    for (const auto& [x, y, value] : c.probes) {
      EXPECT_EQ(raster->pixel(x, y), value) << c.width << " fit " << c.fit << " at " << x;
    }
  }
}

TEST(BuildLogoRasterTest, OneInkPrinterGivesOneBitRasterOfTheConverter) {
  ComposeSession cs(512);
  cs.UseOneInk();
  cs.UsePicture(SolidBitmap(64, 8, kBlack24), "src.RLE");
  auto raster = BuildLogoRaster(cs.session());
  ASSERT_TRUE(raster);
  EXPECT_EQ(raster->bits_per_pixel(), 1);
  EXPECT_EQ(raster->bytes().size(), raster->pixel_offset() + raster->row_stride() * 8);
}

TEST(BuildLogoRasterTest, NoRasterWithoutUsableSourceOrSettings) {
  ComposeSession cs(512);
  EXPECT_FALSE(BuildLogoRaster(cs.session()));  // no source
  cs.UsePicture(SolidBitmap(8, 8, kBlack24), "missing.bmp");
  std::filesystem::remove(cs.session().source_path);
  EXPECT_FALSE(BuildLogoRaster(cs.session()));
  cs.UsePicture(SolidBitmap(8, 8, kBlack24));
  // Settings the converter refuses must not let the stale temporary file pass
  // for its output.
  cs.session().params.adjust_r = 9;
  EXPECT_FALSE(BuildLogoRaster(cs.session()));
  cs.session().params.adjust_r = 3;
  cs.session().print_width_dots = 0;
  EXPECT_FALSE(BuildLogoRaster(cs.session()));
}

TEST(BuildLogoRasterTest, DocumentIsScaledToPaperWithFitAndCutWithout) {
  ComposeSession cs(576);
  const std::vector<DocumentObject> objects = {
      ImageObject(0, 0, 144, 100, SolidBitmap(16, 16, kBlack24))};
  ASSERT_TRUE(cs.UseDocument(288, 100, objects));
  auto stored = BuildLogoRaster(cs.session());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->width(), 288);
  EXPECT_EQ(stored->height(), 100);
  EXPECT_EQ(stored->pixel(10, 50), 0);
  EXPECT_EQ(stored->pixel(200, 50), 2);

  cs.session().fit_to_width = 1;
  auto fitted = BuildLogoRaster(cs.session());
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->width(), 576);
  EXPECT_EQ(fitted->height(), 200);
  EXPECT_EQ(fitted->pixel(287, 100), 0);
  EXPECT_EQ(fitted->pixel(288, 100), 2);

  ComposeSession wide(576);
  ASSERT_TRUE(wide.UseDocument(800, 30, objects));
  auto cut = BuildLogoRaster(wide.session());
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->width(), 576);
  EXPECT_EQ(cut->height(), 30);
}

TEST(BuildLogoRasterTest, DocumentRasterHasTheDocumentForms) {
  ComposeSession two(576);
  ASSERT_TRUE(two.UseDocument(40, 10, {ImageObject(0, 0, 20, 10, SolidBitmap(4, 4, kBlack24))}));
  auto raster = BuildLogoRaster(two.session());
  ASSERT_TRUE(raster);
  EXPECT_EQ(raster->pixel_offset(), 66u);
  EXPECT_EQ(raster->bits_per_pixel(), 8);
  EXPECT_EQ(raster->palette_count(), 3u);
  EXPECT_EQ(raster->palette_entry(1), PaletteEntryFromColor(kColorRed));

  ComposeSession one(576);
  one.UseOneInk();
  ASSERT_TRUE(one.UseDocument(40, 10, {ImageObject(0, 0, 20, 10, SolidBitmap(4, 4, kBlack24))}));
  auto mono = BuildLogoRaster(one.session());
  ASSERT_TRUE(mono);
  EXPECT_EQ(mono->pixel_offset(), 62u);
  EXPECT_EQ(mono->bits_per_pixel(), 1);
  EXPECT_EQ(mono->palette_count(), 2u);
  EXPECT_EQ(mono->pixel(5, 5), 0);   // ink
  EXPECT_EQ(mono->pixel(30, 5), 1);  // white
}

}  // namespace
}  // namespace inkmark::testing
