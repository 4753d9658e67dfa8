// The Preview's caption: printed size and the share of each ink, counted by
// palette over the raster's width only.
#include "preview/ink_rates.h"

#include <gtest/gtest.h>

#include "image/bitmap_fixture.h"

namespace inkmark {
namespace {

constexpr std::int32_t kWhite = 0xFFFFFF;

// A raster whose palette holds the given ink colours and whose every byte of
// rows is `fill`.
LogoRaster MakeRaster(int width, int height, std::uint16_t bits,
                      const std::vector<std::int32_t>& inks, std::uint8_t fill) {
  auto f = testing::Fixture(width, height, bits);
  for (std::int32_t c : inks) {
    f.palette.push_back({std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
  }
  f.pixels.assign((std::size_t(width) * bits + 31) / 32 * 4 * height, fill);
  return *LogoRaster::FromFile(testing::BuildBitmap(f));
}

TEST(PreviewCaption, StatesSizeInMillimetresAndRatesInPercent) {
  EXPECT_EQ(PreviewCaption(512, 200, 180, {}).rfind("Size:72.25x28.22mm(512x200dot), ", 0), 0u);
  EXPECT_EQ(PreviewCaption(4, 1, 180, {1, 2}),
            "Size:0.56x0.14mm(4x1dot), Ink rate:1st=25.00% 2nd=50.00%");
  EXPECT_EQ(PreviewCaption(4, 1, 0, {}), "Size:0.00x0.00mm(4x1dot), Ink rate:1st=0.00% 2nd=0.00%");
  EXPECT_NE(PreviewCaption(4, 1, 180, {4, 0}).find("1st=100.00% 2nd=0.00%"), std::string::npos);
}

TEST(InkCounts, OneBitRastersCountTheRowsWidthInTheInkOfEachEntry) {
  // 100 dots leave 28 padding bits per row, set or clear with the pixels.
  InkCounts clear =
      CountInkPixels(MakeRaster(100, 10, 1, {kColorBlack, kWhite}, 0x00), kColorBlack, kColorRed);
  EXPECT_EQ((std::array{clear.first, clear.second}), (std::array<std::uint64_t, 2>{1000, 0}));
  InkCounts set =
      CountInkPixels(MakeRaster(100, 10, 1, {kWhite, kColorBlack}, 0xFF), kColorBlack, kNoInk);
  EXPECT_EQ((std::array{set.first, set.second}), (std::array<std::uint64_t, 2>{1000, 0}));
  // One ink in the second colour counts as the second.
  InkCounts red =
      CountInkPixels(MakeRaster(8, 2, 1, {kWhite, kColorRed}, 0xF0), kColorBlack, kColorRed);
  EXPECT_EQ((std::array{red.first, red.second}), (std::array<std::uint64_t, 2>{0, 8}));
}

TEST(InkCounts, EightBitRastersCountByPalette) {
  auto f = testing::Fixture(4, 4, 8);
  f.palette = {{0, 0, 0}, {0, 0, 255}, {255, 255, 255}};  // black, red, white
  // Two first-ink pixels in one row, two second-ink pixels in the next.
  f.pixels = testing::PackRows({{0, 0, 2, 2}, {1, 2, 2, 1}, {2, 2, 2, 2}, {2, 2, 2, 2}}, 8);
  const LogoRaster raster = *LogoRaster::FromFile(testing::BuildBitmap(f));
  InkCounts c = CountInkPixels(raster, kColorBlack, kColorRed);
  EXPECT_EQ((std::array{c.first, c.second}), (std::array<std::uint64_t, 2>{2, 2}));
  EXPECT_NE(PreviewCaption(4, 4, 180, c).find("1st=12.50% 2nd=12.50%"), std::string::npos);
  EXPECT_EQ(CountInkPixels(raster, kColorBlack, kNoInk).second, 0u) << "a printer with no 2nd ink";
}

}  // namespace
}  // namespace inkmark
