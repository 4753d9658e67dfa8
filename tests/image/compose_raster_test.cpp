// The full-size print raster: sizes at the paper's edge and the raster forms.
#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "image/compose.h"

namespace inkmark::testing {
namespace {

TEST(BuildLogoRasterTest, PicturesAreCutAtThePaperEdgeOrScaledToItWithFit) {
  // Pictures whose left half is black and right half white, on 512-dot paper.
  const struct {
    std::int32_t width, height;
    bool fit, one_ink;
    std::int32_t want_width, want_height;
    std::vector<std::array<std::int32_t, 3>> probes;  // x, y, pixel value
  } cases[] = {
      // Cut: 500 black and 12 white columns are kept.
      {1000, 40, false, false, 512, 40, {{0, 0, 0}, {499, 20, 0}, {511, 20, 2}}},
      // Scaled whole: 301 * 512 / 1000 = 154, truncated.
      {1000, 301, true, false, 512, 154, {{10, 5, 0}, {500, 5, 2}}},
      // Narrow pictures are enlarged only with fit.
      {100, 50, false, false, 100, 50, {{10, 10, 0}, {90, 10, 2}}},
      {100, 50, true, false, 512, 256, {{10, 10, 0}, {500, 10, 2}}},
      // One ink: the converter's 1-bit raster, white first in its palette.
      {100, 50, false, true, 100, 50, {{10, 10, 1}, {90, 10, 0}}},
  };
  for (const auto& c : cases) {
    ComposeSession cs(512);
    cs.session().fit_to_width = c.fit;
    if (c.one_ink) cs.UseOneInk();
    cs.UsePicture(SplitBitmap(c.width, c.height, kBlack24, kWhite24));
    auto raster = BuildLogoRaster(cs.session());
    ASSERT_TRUE(raster) << c.width << " fit " << c.fit;
    EXPECT_EQ((std::array{raster->width(), raster->height(), int{raster->bits_per_pixel()}}),
              (std::array{c.want_width, c.want_height, c.one_ink ? 1 : 8}))
        << c.width << " fit " << c.fit;
    EXPECT_EQ(cs.session().params.target_width, static_cast<std::uint32_t>(c.want_width));
    for (const auto& [x, y, value] : c.probes) {
      EXPECT_EQ(raster->pixel(x, y), value) << c.width << " fit " << c.fit << " at " << x;
    }
  }
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

TEST(BuildLogoRasterTest, DocumentIsScaledToPaperWithFitCutWithoutAndOneBitForOneInk) {
  const std::vector<DocumentObject> objects = {
      ImageObject(0, 0, 144, 100, SolidBitmap(16, 16, kBlack24))};
  ComposeSession cs(576);
  ASSERT_TRUE(cs.UseDocument(288, 100, objects));
  auto stored = BuildLogoRaster(cs.session());
  ASSERT_TRUE(stored);
  EXPECT_EQ((std::array{stored->width(), stored->height()}), (std::array{288, 100}));
  EXPECT_EQ(stored->pixel(10, 50), 0);
  EXPECT_EQ(stored->pixel(200, 50), 2);
  EXPECT_EQ(stored->pixel_offset(), 66u);
  EXPECT_EQ(stored->palette_entry(1), PaletteEntryFromColor(kColorRed));

  cs.session().fit_to_width = 1;
  auto fitted = BuildLogoRaster(cs.session());
  ASSERT_TRUE(fitted);
  EXPECT_EQ((std::array{fitted->width(), fitted->height()}), (std::array{576, 200}));
  EXPECT_EQ(fitted->pixel(287, 100), 0);
  EXPECT_EQ(fitted->pixel(288, 100), 2);

  cs.UseOneInk();
  auto mono = BuildLogoRaster(cs.session());
  ASSERT_TRUE(mono);
  EXPECT_EQ((std::array{mono->pixel_offset(), std::uint32_t{mono->bits_per_pixel()}}),
            (std::array{62u, 1u}));
  EXPECT_EQ(mono->pixel(287, 100), 0);  // ink
  EXPECT_EQ(mono->pixel(288, 100), 1);  // white

  ComposeSession wide(576);
  ASSERT_TRUE(wide.UseDocument(800, 30, objects));
  auto cut = BuildLogoRaster(wide.session());
  ASSERT_TRUE(cut);
  EXPECT_EQ((std::array{cut->width(), cut->height()}), (std::array{576, 30}));
}

}  // namespace
}  // namespace inkmark::testing
