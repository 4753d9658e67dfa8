#include "preview/ink_rates.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace inkmark {
namespace {

void Put32(BitmapFile& f, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = std::uint8_t(v >> (8 * i));
}

// A raster with the given palette (colour values) and every pixel value `fill`.
LogoRaster MakeRaster(int width, int height, int bits, std::vector<std::int32_t> palette,
                      std::uint8_t fill) {
  std::size_t stride = ((std::size_t(width) * bits + 31) / 32) * 4;
  std::size_t offset = 54 + 4 * palette.size();
  BitmapFile f(offset + stride * std::size_t(height), 0);
  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 2, std::uint32_t(f.size()));
  Put32(f, 10, std::uint32_t(offset));
  Put32(f, 14, 40);
  Put32(f, 18, std::uint32_t(width));
  Put32(f, 22, std::uint32_t(height));
  f[26] = 1;
  f[28] = std::uint8_t(bits);
  Put32(f, 46, std::uint32_t(palette.size()));
  for (std::size_t i = 0; i < palette.size(); ++i) {
    f[54 + 4 * i] = std::uint8_t(palette[i] >> 16);
    f[55 + 4 * i] = std::uint8_t(palette[i] >> 8);
    f[56 + 4 * i] = std::uint8_t(palette[i]);
  }
  std::memset(f.data() + offset, fill, stride * std::size_t(height));
  return *LogoRaster::FromFile(std::move(f));
}

constexpr std::int32_t kWhite = 0xFFFFFF;

TEST(PreviewCaption, StatesSizeInMillimetresAndDots) {
  EXPECT_EQ(PreviewCaption(512, 200, 180, {}).rfind("Size:72.25x28.22mm(512x200dot), ", 0), 0u);
  EXPECT_EQ(PreviewCaption(4, 1, 180, {1, 2}),
            "Size:0.56x0.14mm(4x1dot), Ink rate:1st=25.00% 2nd=50.00%");
  EXPECT_EQ(PreviewCaption(4, 1, 0, {}), "Size:0.00x0.00mm(4x1dot), Ink rate:1st=0.00% 2nd=0.00%");
}

TEST(InkCounts, OneBitRasterCountsOnlyTheRowsWidth) {
  // 100 dots leave 28 padding bits per row; all-clear pixels in the first ink.
  LogoRaster clear = MakeRaster(100, 10, 1, {kColorBlack, kWhite}, 0x00);
  InkCounts c = CountInkPixels(clear, kColorBlack, kColorRed);
  EXPECT_EQ(c.first, 1000u);
  EXPECT_EQ(c.second, 0u);
  EXPECT_EQ(PreviewCaption(100, 10, 180, c).substr(30), "Ink rate:1st=100.00% 2nd=0.00%");

  // White in entry 0 and the ink in entry 1, set bits everywhere, padding too.
  LogoRaster set = MakeRaster(100, 10, 1, {kWhite, kColorBlack}, 0xFF);
  EXPECT_EQ(CountInkPixels(set, kColorBlack, kNoInk).first, 1000u);
}

TEST(InkCounts, OneInkInTheSecondColourCountsAsTheSecond) {
  LogoRaster red = MakeRaster(8, 2, 1, {kWhite, kColorRed}, 0xF0);
  InkCounts c = CountInkPixels(red, kColorBlack, kColorRed);
  EXPECT_EQ(c.first, 0u);
  EXPECT_EQ(c.second, 8u);
}

TEST(InkCounts, EightBitRasterByPalette) {
  LogoRaster r = MakeRaster(4, 4, 8, {kColorBlack, kColorRed, kWhite}, 2);
  BitmapFile bytes = r.bytes();
  // Row 0: two first-ink pixels; row 1: two second-ink pixels; the rest white.
  std::size_t offset = r.pixel_offset();
  bytes[offset] = bytes[offset + 1] = 0;
  bytes[offset + r.row_stride()] = bytes[offset + r.row_stride() + 3] = 1;
  LogoRaster quarter = *LogoRaster::FromFile(std::move(bytes));
  InkCounts c = CountInkPixels(quarter, kColorBlack, kColorRed);
  EXPECT_EQ(c.first, 2u);
  EXPECT_EQ(c.second, 2u);
  EXPECT_NE(PreviewCaption(4, 4, 180, c).find("1st=12.50% 2nd=12.50%"), std::string::npos);
  // A printer whose 2nd colour is none counts no second ink.
  EXPECT_EQ(CountInkPixels(quarter, kColorBlack, kNoInk).second, 0u);
}

}  // namespace
}  // namespace inkmark
