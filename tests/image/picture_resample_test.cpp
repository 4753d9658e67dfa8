// The 16.16 scaler, scale-and-crop to file, and the 24-bit header writer.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/bitmap_fixture.h"
#include "image/picture.h"
#include "image/picture_io.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::Bgr;
using testing::BitmapFixture;
using testing::BuildBitmap;
using testing::Fixture;
using testing::PixelAt;
using testing::U32At;

// Rows of W x H pixels whose blue byte is the column and green byte the row.
std::vector<std::uint8_t> CoordinateRows(std::int32_t w, std::int32_t h, std::size_t stride) {
  std::vector<std::uint8_t> rows(stride * h, 0);
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      rows[y * stride + 3 * x] = static_cast<std::uint8_t>(x);
      rows[y * stride + 3 * x + 1] = static_cast<std::uint8_t>(y);
    }
  }
  return rows;
}

BitmapFile CoordinatePicture(std::int32_t w, std::int32_t h) {
  BitmapFixture fixture = Fixture(w, h, 24);
  fixture.pixels = CoordinateRows(w, h, (3 * w + 3) & ~3);
  return BuildBitmap(fixture);
}

TEST(PictureResample, HalvingTakesTheNeighbourOnTheCentresSide) {
  const auto src = CoordinateRows(100, 100, 300);
  auto out = ResampleRgb24(100, 100, 50, 50, src.data(), 300, 7);
  ASSERT_TRUE(out);
  ASSERT_EQ(out->size(), 7u + 152 * 50);
  EXPECT_EQ((*out)[0], 0);  // header room stays zero
  std::vector<int> expected;
  for (int c = 1; c <= 51; c += 2) expected.push_back(c);
  for (int c = 52; c <= 98; c += 2) expected.push_back(c);
  ASSERT_EQ(expected.size(), 50u);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ((*out)[7 + 3 * i], expected[i]) << "column " << i;
    EXPECT_EQ((*out)[7 + i * 152 + 1], expected[i]) << "row " << i;
  }
}

TEST(PictureResample, LastRowAndColumnAreTakenAsTheyStand) {
  // Same size: inside, the centre-side neighbour; on the last column or row, the
  // pixel itself (so column 3 of row 0 is (3, 0), not (3, 1)).
  const auto src = CoordinateRows(4, 4, 12);
  auto out = ResampleRgb24(4, 4, 4, 4, src.data(), 12, 0);
  ASSERT_TRUE(out);
  auto at = [&](int x, int y) {
    return std::pair<int, int>{(*out)[y * 12 + 3 * x], (*out)[y * 12 + 3 * x + 1]};
  };
  EXPECT_EQ(at(0, 0), (std::pair{1, 1}));
  EXPECT_EQ(at(2, 2), (std::pair{3, 3}));
  EXPECT_EQ(at(3, 0), (std::pair{3, 0}));
  EXPECT_EQ(at(0, 3), (std::pair{0, 3}));
}

TEST(PictureResample, EnlargingRepeatsSourcePixels) {
  const auto src = CoordinateRows(2, 1, 8);
  auto out = ResampleRgb24(2, 1, 5, 2, src.data(), 8, 0);
  ASSERT_TRUE(out);
  ASSERT_EQ(out->size(), 16u * 2);
  // stepX = 0.4: columns 0 0 0 1 1; one source row: every output row is row 0.
  const std::vector<int> cols = {0, 0, 0, 1, 1};
  for (int r = 0; r < 2; ++r) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ((*out)[r * 16 + 3 * i], cols[i]) << r << "," << i;
  }
}

TEST(PictureResample, RefusesMissingSourceAndSizesOutOfRange) {
  const auto src = CoordinateRows(2, 2, 8);
  EXPECT_FALSE(ResampleRgb24(2, 2, 4, 4, nullptr, 8, 0));
  EXPECT_FALSE(ResampleRgb24(2, 2, 0, 4, src.data(), 8, 0));
  EXPECT_FALSE(ResampleRgb24(0, 2, 4, 4, src.data(), 8, 0));
  EXPECT_FALSE(ResampleRgb24(2, 2, 40000, 1, src.data(), 8, 0));
  EXPECT_FALSE(ResampleRgb24(2, 2, 4, 4, src.data(), 5, 0)) << "stride shorter than a row";
}

TEST(PictureScaleCrop, ScalesInProportionThenCropsTheLeftPart) {
  inkmark::testing::TempDir dir;
  const auto picture = CoordinatePicture(100, 40);
  const std::string dest = (dir.path() / "cut.bmp").string();
  std::array<std::int32_t, 2> size{};
  auto out = ScaleCropToFile(50, 30, "", &picture, dest, size);
  ASSERT_TRUE(out);
  EXPECT_EQ(size, (std::array<std::int32_t, 2>{30, 20}));
  const auto file_size = static_cast<std::uint32_t>(out->size());
  testing::ExpectFields(*out, {{2, 4, file_size}, {18, 4, 30}, {22, 4, 20}, {34, 4, 92 * 20}});
  EXPECT_EQ(out->size(), 54u + 92 * 20);
  EXPECT_EQ(PixelAt(*out, 0, 0), (Bgr{1, 1, 0}));
  EXPECT_EQ(PixelAt(*out, 29, 0)[0], 58);  // right of the centre: the column itself
  EXPECT_EQ(ReadWholeFile(dest), out);
}

TEST(PictureScaleCrop, SameWidthAndNarrowPicturesPassUntouched) {
  inkmark::testing::TempDir dir;
  // A picture with its pixels at 70: neither scaled nor cropped, it stays as it was.
  BitmapFixture fixture = Fixture(3, 2, 24);
  fixture.pixel_offset = 70;
  fixture.pixels = CoordinateRows(3, 2, 12);
  const auto picture = BuildBitmap(fixture);
  std::array<std::int32_t, 2> size{};
  auto out = ScaleCropToFile(3, 3, "", &picture, (dir.path() / "a.bmp").string(), size);
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, picture);
  EXPECT_EQ(size, (std::array<std::int32_t, 2>{3, 2}));

  // Cropping alone keeps the header room of the pixel offset.
  out = ScaleCropToFile(3, 2, "", &picture, "", size);
  ASSERT_TRUE(out);
  EXPECT_EQ(U32At(*out, 10), 70u);
  EXPECT_EQ(out->size(), 70u + 8 * 2);
  EXPECT_EQ(PixelAt(*out, 1, 1), (Bgr{1, 1, 0}));
}

TEST(PictureScaleCrop, LoadsFromAPathAndKeepsAtLeastOneRow) {
  inkmark::testing::TempDir dir;
  const auto wide = CoordinatePicture(200, 1);
  const auto path = dir.path() / "wide.BMP";
  ASSERT_TRUE(WriteWholeFile(path.string(), wide));
  std::array<std::int32_t, 2> size{};
  auto out = ScaleCropToFile(100, 100, path.string(), nullptr, "", size);
  ASSERT_TRUE(out);
  EXPECT_EQ(size, (std::array<std::int32_t, 2>{100, 1}));
}

TEST(PictureScaleCrop, FailsWhenTheDestinationCannotBeWritten) {
  inkmark::testing::TempDir dir;
  const auto picture = CoordinatePicture(4, 4);
  std::array<std::int32_t, 2> size{};
  EXPECT_FALSE(
      ScaleCropToFile(2, 2, "", &picture, (dir.path() / "no/such/dir.bmp").string(), size));
  EXPECT_FALSE(ScaleCropToFile(2, 2, (dir.path() / "missing.bmp").string(), nullptr, "", size));
  EXPECT_FALSE(ScaleCropToFile(0, 2, "", &picture, "", size));
}

TEST(PictureHeader, WriteRgb24HeaderWritesOnlyItsFields) {
  std::vector<std::uint8_t> block(60, 0xEE);
  WriteRgb24Header(block, 5, 3);
  EXPECT_EQ(block[0], 'B');
  EXPECT_EQ(block[1], 'M');
  testing::ExpectFields(block, {{2, 4, 54 + 16 * 3},
                                {6, 4, 0},
                                {10, 4, 54},
                                {14, 4, 40},
                                {18, 4, 5},
                                {22, 4, 3},
                                {26, 2, 1},
                                {28, 2, 24},
                                {30, 4, 0},
                                {34, 4, 16 * 3}});
  for (std::size_t i = 38; i < 60; ++i) EXPECT_EQ(block[i], 0xEE) << i;
  std::vector<std::uint8_t> tiny(20, 0);
  WriteRgb24Header(tiny, 5, 3);  // too small for a header: left alone
  EXPECT_EQ(tiny, std::vector<std::uint8_t>(20, 0));
}

}  // namespace
}  // namespace inkmark
