// The 16.16 scaler's exact sampling, and scale-and-crop to file.
#include <gtest/gtest.h>

#include "image/bitmap_fixture.h"
#include "image/picture.h"
#include "image/picture_io.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::Bgr;
using testing::PixelAt;
using Size = std::array<std::int32_t, 2>;

// Rows of w x h pixels whose blue byte is the column and green byte the row.
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

BitmapFile CoordinatePicture(std::int32_t w, std::int32_t h, std::uint32_t pixel_offset = 54) {
  auto f = testing::Fixture(w, h, 24);
  f.pixel_offset = pixel_offset;
  f.pixels = CoordinateRows(w, h, (3 * w + 3) & ~3);
  return testing::BuildBitmap(f);
}

TEST(PictureResample, TakesTheNeighbourOnTheCentresSideButTheLastRowAndColumnAsTheyStand) {
  const auto big = CoordinateRows(100, 100, 300);
  auto half = ResampleRgb24(100, 100, 50, 50, big.data(), 300, 7);
  ASSERT_TRUE(half);
  ASSERT_EQ(half->size(), 7u + 152 * 50);
  EXPECT_EQ((*half)[0], 0) << "header room stays zero";
  for (int i = 0; i < 50; ++i) {
    const int want = i <= 25 ? 2 * i + 1 : 2 * i;  // 1, 3 .. 51, then 52, 54 .. 98
    EXPECT_EQ((*half)[7 + 3 * i], want) << "column " << i;
    EXPECT_EQ((*half)[7 + i * 152 + 1], want) << "row " << i;
  }

  const auto small = CoordinateRows(4, 4, 12);
  auto same = ResampleRgb24(4, 4, 4, 4, small.data(), 12, 0);
  ASSERT_TRUE(same);
  auto at = [&](int x, int y) {
    return std::pair<int, int>{(*same)[y * 12 + 3 * x], (*same)[y * 12 + 3 * x + 1]};
  };
  EXPECT_EQ(at(0, 0), (std::pair{1, 1}));
  EXPECT_EQ(at(2, 2), (std::pair{3, 3}));
  EXPECT_EQ(at(3, 0), (std::pair{3, 0}));
  EXPECT_EQ(at(0, 3), (std::pair{0, 3}));

  // Enlarging 2 x 1 to 5 x 2 (step 0.4): columns 0 0 0 1 1 on both rows.
  auto wide = ResampleRgb24(2, 1, 5, 2, small.data(), 12, 0);
  ASSERT_TRUE(wide);
  ASSERT_EQ(wide->size(), 16u * 2);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ((*wide)[3 * i], i < 3 ? 0 : 1) << i;
    EXPECT_EQ((*wide)[16 + 3 * i], i < 3 ? 0 : 1) << i;
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

// Scaling and cropping by size is exercised through the print raster and the
// previews; these are the cases those do not reach.
TEST(PictureScaleCrop, KeepsTheHeaderRoomAndOneRowAndFailsWithoutADestination) {
  inkmark::testing::TempDir dir;
  const auto picture = CoordinatePicture(3, 2, 70);
  Size size{};
  EXPECT_EQ(ScaleCropToFile(3, 3, "", &picture, "", size), picture) << "same width: untouched";
  auto cut = ScaleCropToFile(3, 2, "", &picture, (dir.path() / "cut.bmp").string(), size);
  ASSERT_TRUE(cut);
  EXPECT_EQ(testing::U32At(*cut, 10), 70u);
  EXPECT_EQ(cut->size(), 70u + 8 * 2);
  EXPECT_EQ(PixelAt(*cut, 1, 1), (Bgr{1, 1, 0}));
  EXPECT_EQ(ReadWholeFile((dir.path() / "cut.bmp").string()), cut);

  ASSERT_TRUE(WriteWholeFile((dir.path() / "wide.BMP").string(), CoordinatePicture(200, 1)));
  ASSERT_TRUE(ScaleCropToFile(100, 100, (dir.path() / "wide.BMP").string(), nullptr, "", size));
  EXPECT_EQ(size, (Size{100, 1}));

  EXPECT_FALSE(ScaleCropToFile(2, 2, "", &picture, (dir.path() / "no/dir.bmp").string(), size));
  EXPECT_FALSE(ScaleCropToFile(2, 2, (dir.path() / "missing.bmp").string(), nullptr, "", size));
  EXPECT_FALSE(ScaleCropToFile(0, 2, "", &picture, "", size));
}

}  // namespace
}  // namespace inkmark
