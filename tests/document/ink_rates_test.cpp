// The Preview's caption: printed size and the share of each ink, counted by
// palette over the raster's width only.
#include "document/ink_rates.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "support/bitmap_fixture.h"
#include "support/german_locale.h"

namespace inkmark {
namespace {

constexpr std::int32_t kWhite = 0xFFFFFF;

// A raster whose palette holds the given ink colours and whose every byte of
// rows is `fill`.
LogoRaster MakeRaster(int width, int height, std::uint16_t bits,
                      const std::vector<std::int32_t>& inks, std::uint8_t fill) {
  auto f = testing::Fixture(width, height, bits);
  for (std::int32_t c : inks)
    f.palette.push_back({std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
  f.pixels.assign((std::size_t(width) * bits + 31) / 32 * 4 * height, fill);
  return *LogoRaster::FromFile(testing::BuildBitmap(f));
}

TEST(InkCounts, RastersCountTheRowsWidthByPaletteAndTheCaptionStatesTheRates) {
  // 100 dots leave 28 padding bits per row, set or clear with the pixels.
  const InkCounts clear =
      CountInkPixels(MakeRaster(100, 10, 1, {kColorBlack, kWhite}, 0x00), kColorBlack, kColorRed);
  const InkCounts set =
      CountInkPixels(MakeRaster(100, 10, 1, {kWhite, kColorBlack}, 0xFF), kColorBlack, kNoInk);
  // One ink in the second colour counts as the second.
  const InkCounts red =
      CountInkPixels(MakeRaster(8, 2, 1, {kWhite, kColorRed}, 0xF0), kColorBlack, kColorRed);
  EXPECT_EQ((std::array{clear.first, clear.second, set.first, set.second, red.first, red.second}),
            (std::array<std::uint64_t, 6>{1000, 0, 1000, 0, 0, 8}));

  LogoRaster raster = MakeRaster(4, 4, 8, {kColorBlack, kColorRed, kWhite}, 2);
  raster.mutable_row(3)[0] = raster.mutable_row(3)[1] = 0;  // two first-ink pixels
  raster.mutable_row(2)[0] = raster.mutable_row(2)[3] = 1;  // two second-ink pixels
  const InkCounts c = CountInkPixels(raster, kColorBlack, kColorRed);
  EXPECT_EQ((std::array{c.first, c.second}), (std::array<std::uint64_t, 2>{2, 2}));
  EXPECT_EQ(CountInkPixels(raster, kColorBlack, kNoInk).second, 0u) << "a printer with no 2nd ink";
  EXPECT_EQ(PreviewCaption(4, 4, 180, c),
            "Size:0.56x0.56mm(4x4dot), Ink rate:1st=12.50% 2nd=12.50%");
  EXPECT_EQ(PreviewCaption(4, 1, 0, {}), "Size:0.00x0.00mm(4x1dot), Ink rate:1st=0.00% 2nd=0.00%");
}

// A window toolkit takes the user's locale for the whole program; the caption
// keeps its points.
TEST(InkCounts, CaptionNumbersIgnoreTheLocale) {
  testing::GermanLocale german;
  if (!german.built()) GTEST_SKIP() << "no locale tools here";
  ASSERT_NE(std::setlocale(LC_NUMERIC, german.kName), nullptr);
  char comma[16];
  std::snprintf(comma, sizeof comma, "%.2f", 0.5);
  const std::string caption = PreviewCaption(512, 200, 180, {25600, 0});
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_STREQ(comma, "0,50") << "the locale is not in force";
  EXPECT_EQ(caption, "Size:72.25x28.22mm(512x200dot), Ink rate:1st=25.00% 2nd=0.00%");
}

}  // namespace
}  // namespace inkmark
