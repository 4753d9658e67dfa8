// Pictures of every depth and compression, made by an independent tool, loaded
// and compared pixel by pixel with that tool's own reading of the same file (the
// .ppm beside each picture). fixtures/make_fixtures.sh makes both.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/bitmap_fixture.h"
#include "image/picture.h"

namespace inkmark {
namespace {

using testing::U32At;

std::string FixturePath(const std::string& name) {
  return std::string(INKMARK_FIXTURE_DIR) + "/" + name;
}

enum class Compare {
  kExact,
  // 16-bit fields: the reference widens an n-bit field by repeating its bits, the
  // loader scales it by 255 / (2^n - 1) with truncation. Both keep the field in
  // the top n bits, so the field is taken from the reference and scaled.
  kFieldScaled,
  // JPEG: an accurate inverse DCT other than ours (floating point) moves a sample
  // by up to 2 and the mean by about 0.05; the fast integer one, by 4 and 0.9;
  // plain instead of smooth chroma upsampling, by 80 and 9.
  kNear,
};
constexpr int kJpegTolerance = 2;
constexpr double kJpegMeanTolerance = 0.25;

struct Case {
  const char* name;
  const char* picture;
  Compare compare = Compare::kExact;
  std::array<int, 3> field_bits{};  // blue, green, red (kFieldScaled)
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.picture; }

class PictureReference : public ::testing::TestWithParam<Case> {};

TEST_P(PictureReference, PixelsMatchTheIndependentDecoder) {
  const Case& c = GetParam();
  const std::string stem = std::string(c.picture).substr(0, std::string(c.picture).rfind('.'));
  // The fixture script writes plain headers ("P6\n37 23\n255\n"), rows top-down.
  std::ifstream in(FixturePath(stem + ".ppm"), std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  in >> magic >> width >> height >> maxval;
  in.get();
  const std::vector<std::uint8_t> rgb((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
  ASSERT_TRUE(magic == "P6" && maxval == 255 && width > 0 &&
              rgb.size() == static_cast<std::size_t>(width) * height * 3)
      << stem << ".ppm is not a whole P6 file with maxval 255";

  auto got = LoadPicture(FixturePath(c.picture));
  ASSERT_TRUE(got) << c.picture << " was refused";
  ASSERT_EQ(testing::U16At(*got, 28), 24);
  ASSERT_EQ(U32At(*got, 18), static_cast<std::uint32_t>(width));
  ASSERT_EQ(U32At(*got, 22), static_cast<std::uint32_t>(height));
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  ASSERT_GE(got->size(), U32At(*got, 10) + stride * height);
  std::string first;

  int largest = 0;
  double total = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* want = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      const auto pixel = testing::PixelAt(*got, x, height - 1 - y);  // loaded rows bottom-up
      for (int ch = 0; ch < 3; ++ch) {
        int expected = want[2 - ch];
        if (c.compare == Compare::kFieldScaled) {
          const int bits = c.field_bits[ch];
          expected = (expected >> (8 - bits)) * 255 / ((1 << bits) - 1);
        }
        const int diff = std::abs(pixel[ch] - expected);
        if (diff > largest) first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
        largest = std::max(largest, diff);
        total += diff;
      }
    }
  }
  EXPECT_LE(largest, c.compare == Compare::kNear ? kJpegTolerance : 0)
      << c.picture << ": largest channel difference first at " << first;
  if (c.compare == Compare::kNear) {
    EXPECT_LE(total / rgb.size(), kJpegMeanTolerance) << c.picture;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PictureReference,
    ::testing::Values(Case{"Palette1", "pal1.bmp"}, Case{"Palette4", "pal4.bmp"},
                      Case{"Palette8", "pal8.bmp"}, Case{"Rle4", "rle4.bmp"},
                      Case{"Rle8RunsOnly", "rle8.bmp"}, Case{"Rle8Literals", "rle8lit.bmp"},
                      Case{"Plain555", "rgb555.bmp", Compare::kFieldScaled, {5, 5, 5}},
                      Case{"BitFields555", "bf555.bmp", Compare::kFieldScaled, {5, 5, 5}},
                      Case{"BitFields565", "bf565.bmp", Compare::kFieldScaled, {5, 6, 5}},
                      Case{"Rgb24", "rgb24.bmp"}, Case{"Plain32", "rgb32.bmp"},
                      Case{"BitFields32", "bf32.bmp"},
                      Case{"JpegColour", "photo.jpg", Compare::kNear},
                      Case{"JpegProgressive", "progressive.jpg", Compare::kNear},
                      Case{"JpegGrey", "grey.jpg", Compare::kNear}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace inkmark
