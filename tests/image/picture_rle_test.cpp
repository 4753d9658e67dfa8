// Run-length encoded bitmaps: runs, literals, escapes, and data that would write
// outside the picture.
#include <gtest/gtest.h>

#include "image/bitmap_fixture.h"
#include "image/picture.h"

namespace inkmark {
namespace {

using testing::Bgr;
using testing::BitmapFixture;
using testing::BuildBitmap;
using testing::Fixture;
using testing::PixelAt;

const Bgr kBlack{0, 0, 0};
std::vector<Bgr> Palette16() {
  std::vector<Bgr> p;
  for (std::uint8_t i = 0; i < 16; ++i) p.push_back({i, static_cast<std::uint8_t>(i * 2), 100});
  return p;
}
Bgr Entry(std::uint8_t i) { return {i, static_cast<std::uint8_t>(i * 2), 100}; }

std::optional<BitmapFile> Decode(std::int32_t width, std::int32_t height, std::uint16_t bits,
                                 std::vector<std::uint8_t> data) {
  BitmapFixture fixture = Fixture(width, height, bits, bits == 8 ? 1u : 2u);
  fixture.palette = Palette16();
  fixture.pixels = std::move(data);
  return DecodeBitmapToRgb24(BuildBitmap(fixture));
}

TEST(PictureRle, Rle8RunsLiteralsAndEscapes) {
  // Row 0: run of 2 x entry 3, literal 5 6 7 (padded), end of line.
  // Row 1: delta 1 right 1 up lands on row 2 x 1: run 1 x entry 9, end of picture.
  auto out = Decode(5, 4, 8,
                    {2, 3, 0, 3, 5, 6, 7, 0, 0, 0,  //
                     0, 2, 1, 1, 1, 9, 0, 1});
  ASSERT_TRUE(out);
  EXPECT_EQ(PixelAt(*out, 0, 0), Entry(3));
  EXPECT_EQ(PixelAt(*out, 1, 0), Entry(3));
  EXPECT_EQ(PixelAt(*out, 2, 0), Entry(5));
  EXPECT_EQ(PixelAt(*out, 4, 0), Entry(7));
  // Skipped by the delta, and rows after the end-of-picture marker, stay black.
  EXPECT_EQ(PixelAt(*out, 0, 1), kBlack);
  EXPECT_EQ(PixelAt(*out, 0, 2), kBlack);
  EXPECT_EQ(PixelAt(*out, 1, 2), Entry(9));
  EXPECT_EQ(PixelAt(*out, 2, 2), kBlack);
  EXPECT_EQ(PixelAt(*out, 4, 3), kBlack);
}

TEST(PictureRle, Rle4AlternatesNibblesAndPadsLiterals) {
  // Run of 5 from 0x12: 1 2 1 2 1. Literal of 3 nibbles in 2 bytes (no pad),
  // literal of 5 nibbles in 3 bytes plus one pad byte.
  auto out = Decode(8, 2, 4,
                    {5, 0x12, 0, 3, 0x34, 0x50, 0, 0,  //
                     0, 5, 0xAB, 0xCD, 0xE0, 0x00, 0, 1});
  ASSERT_TRUE(out);
  const std::vector<std::uint8_t> row0 = {1, 2, 1, 2, 1, 3, 4, 5};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(*out, x, 0), Entry(row0[x])) << x;
  const std::vector<std::uint8_t> row1 = {10, 11, 12, 13, 14};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(*out, x, 1), Entry(row1[x])) << x;
  EXPECT_EQ(PixelAt(*out, 5, 1), kBlack);
}

TEST(PictureRle, DropsPixelsPastTheRowEnd) {
  // Row 0: a run of 5 in a row of 4. Row 1: a literal of 5, then a run that
  // starts past the end. The next row starts at its first pixel all the same.
  auto out = Decode(4, 3, 8, {5, 1, 0, 0, 0, 5, 2, 3, 4, 5, 6, 0, 2, 7, 0, 0, 1, 8, 0, 1});
  ASSERT_TRUE(out);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*out, x, 0), Entry(1)) << x;
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*out, x, 1), Entry(2 + x)) << x;
  EXPECT_EQ(PixelAt(*out, 0, 2), Entry(8));
  EXPECT_EQ(PixelAt(*out, 1, 2), kBlack);
  out = Decode(3, 1, 4, {5, 0x12, 0, 1});
  ASSERT_TRUE(out);
  EXPECT_EQ(PixelAt(*out, 2, 0), Entry(1));
}

TEST(PictureRle, AcceptsRunsFillingTheRowAndRejectsWritesOutsideOrDataEndingEarly) {
  EXPECT_TRUE(Decode(4, 1, 8, {4, 1, 0, 0, 0, 1}));
  EXPECT_TRUE(Decode(4, 1, 4, {4, 0x11, 0, 1}));
  const struct {
    std::int32_t height;
    std::vector<std::uint8_t> data;
    const char* why;
  } refused[] = {
      {1, {2, 1, 0, 2, 3, 0, 0, 1}, "delta past row end"},
      {2, {0, 2, 0, 3, 0, 1}, "delta above the top row"},
      {1, {0, 0, 1, 1, 0, 1}, "run above the top row"},
      {1, {0, 0, 0, 0, 0, 1}, "end of line above the top row"},
      {1, {4, 1}, "no end-of-picture marker"},
      {1, {0, 3, 1, 2}, "literal cut short"},
      {1, {0, 2, 1}, "delta cut short"},
      {1, {4}, "half a pair"},
  };
  for (const auto& c : refused) EXPECT_FALSE(Decode(4, c.height, 8, c.data)) << c.why;
}

}  // namespace
}  // namespace inkmark
