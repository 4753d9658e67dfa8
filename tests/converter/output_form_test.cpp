// The output file's form: headers, palette, pixel values and padding.
#include <gtest/gtest.h>

#include "converter/convert.h"
#include "converter_fixtures.h"

namespace inkmark {
namespace {

using testing::MakeBmp24;
using testing::ReadRaster;
using testing::Rgb;

// A picture with every kind of pixel: black, red, mid grey, white.
std::vector<std::uint8_t> Mixed(std::uint32_t w, std::uint32_t h) {
  return MakeBmp24(w, h, [](std::uint32_t x, std::uint32_t y) {
    switch ((x + 2 * y) % 4) {
      case 0:
        return Rgb{0, 0, 0};
      case 1:
        return Rgb{255, 0, 0};
      case 2:
        return Rgb{128, 128, 128};
      default:
        return Rgb{255, 255, 255};
    }
  });
}

void ExpectHeaders(const ReadRaster& r, std::uint32_t w, std::uint32_t h, int bits,
                   std::uint32_t palette) {
  EXPECT_EQ(r.bytes()[0], 'B');
  EXPECT_EQ(r.bytes()[1], 'M');
  EXPECT_EQ(r.U32(2), r.bytes().size());
  EXPECT_EQ(r.U32(10), 54 + 4 * palette);
  EXPECT_EQ(r.U32(14), 40u);
  EXPECT_EQ(r.U32(18), w);
  EXPECT_EQ(r.U32(22), h);
  EXPECT_EQ(r.U16(26), 1);
  EXPECT_EQ(r.bits(), bits);
  EXPECT_EQ(r.U32(30), 0u);
  EXPECT_EQ(r.U32(34), r.stride() * h);
  EXPECT_EQ(r.U32(46), palette);
  EXPECT_EQ(r.bytes().size(), r.U32(10) + r.stride() * h);
}

// Padding after each row's last pixel is zero, down to the unused bits.
void ExpectZeroPadding(const ReadRaster& r) {
  const std::size_t used_bits = static_cast<std::size_t>(r.width()) * r.bits();
  for (std::int32_t row = 0; row < r.height(); ++row) {
    const std::size_t base = r.U32(10) + r.stride() * row;
    for (std::size_t bit = used_bits; bit < r.stride() * 8; ++bit) {
      ASSERT_EQ((r.bytes()[base + bit / 8] >> (7 - bit % 8)) & 1, 0) << "row " << row;
    }
  }
}

TEST(OutputForm, TwoInksGiveEightBitsWithInksThenWhiteAndOnlyValuesUpToTwo) {
  const std::int32_t inks[2] = {kColorBlack, kColorRed};
  for (std::uint32_t w : {1u, 5u, 33u, 64u}) {
    for (std::uint32_t grade = 0; grade < 3; ++grade) {
      auto out = ConvertBitmapFile(Mixed(17, 9), testing::TwoInkParams(w, 7, grade), inks);
      ASSERT_TRUE(out) << "width " << w << " grade " << grade;
      ReadRaster r(*out);
      ExpectHeaders(r, w, 7, 8, 256);
      EXPECT_EQ(r.Palette(0), kColorBlack);
      EXPECT_EQ(r.Palette(1), kColorRed);
      EXPECT_EQ(r.Palette(2), 0xFFFFFF);
      for (std::uint32_t y = 0; y < 7; ++y) {
        for (std::uint32_t x = 0; x < w; ++x) ASSERT_LE(r.Value(x, y), 2);
      }
      ExpectZeroPadding(r);
    }
  }
}

TEST(OutputForm, OneInkGivesOneBitWithWhiteFirstAndTheChosenInkSecond) {
  const std::int32_t inks[2] = {kColorBlack, kColorBlue};
  for (std::uint32_t ink : {0u, 1u}) {
    for (std::uint32_t w : {1u, 9u, 33u}) {
      auto out = ConvertBitmapFile(Mixed(12, 12), testing::OneInkParams(w, 5, 1, ink), inks);
      ASSERT_TRUE(out);
      ReadRaster r(*out);
      ExpectHeaders(r, w, 5, 1, 2);
      EXPECT_EQ(r.Palette(0), 0xFFFFFF);
      EXPECT_EQ(r.Palette(1), inks[ink]);
      ExpectZeroPadding(r);
    }
  }
}

TEST(OutputForm, OneInkInAWidePaletteUsesThePairsEntry) {
  const std::int32_t inks[2] = {kColorBlack, kColorRed};
  ConversionParams p = testing::OneInkParams(8, 8, 0, 1);
  p.palette_size = 256;
  auto out = ConvertBitmapFile(MakeBmp24(8, 8, [](auto, auto) { return Rgb{0, 0, 0}; }), p, inks);
  ASSERT_TRUE(out);
  ReadRaster r(*out);
  EXPECT_EQ(r.bits(), 8);
  EXPECT_DOUBLE_EQ(r.Share(1), 1.0);  // black printed in the only ink, entry 1
}

TEST(OutputForm, InkValuesOutsideTwentyFourBitsShowAsBlack) {
  const std::int32_t inks[2] = {kNoInk, 0x7F000000};
  auto out = ConvertBitmapFile(Mixed(4, 4), testing::TwoInkParams(4, 4, 0), inks);
  ASSERT_TRUE(out);
  ReadRaster r(*out);
  EXPECT_EQ(r.Palette(0), kColorBlack);
  EXPECT_EQ(r.Palette(1), kColorBlack);
}

}  // namespace
}  // namespace inkmark
