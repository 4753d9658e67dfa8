// Pictures of every depth and compression, made by an independent tool, loaded
// and compared pixel by pixel with that tool's own reading of the same file (the
// .ppm beside each picture). fixtures/make_fixtures.sh makes both.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "image/bitmap_fixture.h"
#include "image/picture.h"

namespace inkmark {
namespace {

using testing::Bgr;
using testing::PixelAt;
using testing::U16At;
using testing::U32At;

// A binary PPM (P6, maxval 255): rows top-down, bytes red, green, blue.
struct Ppm {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

std::string FixturePath(const std::string& name) {
  return std::string(INKMARK_FIXTURE_DIR) + "/" + name;
}

// The fixture script writes plain headers ("P6\n37 23\n255\n"), no comments.
Ppm ReadPpm(const std::string& name) {
  std::ifstream in(FixturePath(name), std::ios::binary);
  std::string magic;
  int maxval = 0;
  Ppm ppm;
  in >> magic >> ppm.width >> ppm.height >> maxval;
  in.get();  // the one blank before the samples
  ppm.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (magic != "P6" || maxval != 255 ||
      ppm.rgb.size() != static_cast<std::size_t>(ppm.width) * ppm.height * 3) {
    ADD_FAILURE() << name << ": not a whole P6 file with maxval 255";
    return {};
  }
  return ppm;
}

enum class Compare {
  // Every byte equal.
  kExact,
  // 16-bit fields: the reference widens an n-bit field by repeating its bits,
  // the loader scales it by 255 / (2^n - 1) with truncation. Both keep the field
  // in the top n bits, so the field is taken from the reference and the loaded
  // byte must be its scaled value.
  kFieldScaled,
  // JPEG: the reference may decode with another inverse DCT (see below).
  kNear,
};

struct Case {
  const char* name;
  const char* picture;
  Compare compare = Compare::kExact;
  std::array<int, 3> field_bits{};  // blue, green, red (kFieldScaled)
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.picture; }

// What the loaded byte should be, given the reference's byte for that channel.
int Expected(const Case& c, int channel, std::uint8_t reference) {
  if (c.compare != Compare::kFieldScaled) return reference;
  const int bits = c.field_bits[channel];
  const int field = reference >> (8 - bits);
  return field * 255 / ((1 << bits) - 1);
}

// Largest difference allowed on any channel of a JPEG pixel, and on the mean.
// An accurate inverse DCT other than ours (floating point) moves a sample by up
// to 2 and the mean by about 0.05; the fast integer one, by 4 and 0.9; plain
// instead of smooth chroma upsampling, by 80 and 9.
constexpr int kJpegTolerance = 2;
constexpr double kJpegMeanTolerance = 0.25;

class PictureReference : public ::testing::TestWithParam<Case> {};

TEST_P(PictureReference, PixelsMatchTheIndependentDecoder) {
  const Case& c = GetParam();
  const std::string stem = std::string(c.picture).substr(0, std::string(c.picture).rfind('.'));
  const Ppm want = ReadPpm(stem + ".ppm");
  ASSERT_GT(want.width, 0);

  auto loaded = LoadPicture(FixturePath(c.picture));
  ASSERT_TRUE(loaded) << c.picture << " was refused";
  const BitmapFile& got = *loaded;
  ASSERT_GE(got.size(), 54u);
  ASSERT_EQ(U16At(got, 28), 24);
  ASSERT_EQ(static_cast<std::int32_t>(U32At(got, 18)), want.width);
  ASSERT_EQ(static_cast<std::int32_t>(U32At(got, 22)), want.height);
  const std::size_t stride = (static_cast<std::size_t>(want.width) * 3 + 3) & ~std::size_t{3};
  ASSERT_GE(got.size(), U32At(got, 10) + stride * want.height);

  int mismatches = 0;
  int largest = 0;
  long long total = 0;
  std::ostringstream first;
  for (int y = 0; y < want.height; ++y) {
    for (int x = 0; x < want.width; ++x) {
      const std::uint8_t* rgb = &want.rgb[(static_cast<std::size_t>(y) * want.width + x) * 3];
      const Bgr pixel = PixelAt(got, x, want.height - 1 - y);  // loaded rows are bottom-up
      bool differs = false;
      for (int ch = 0; ch < 3; ++ch) {
        const int diff = std::abs(pixel[ch] - Expected(c, ch, rgb[2 - ch]));
        largest = std::max(largest, diff);
        total += diff;
        differs |= c.compare == Compare::kNear ? diff > kJpegTolerance : diff != 0;
      }
      if (differs && mismatches++ == 0) first << " first at (" << x << ", " << y << ")";
    }
  }
  EXPECT_EQ(mismatches, 0) << c.picture << ": largest channel difference " << largest
                           << first.str();
  if (c.compare == Compare::kNear) {
    const double mean = static_cast<double>(total) / (want.rgb.size());
    EXPECT_LE(mean, kJpegMeanTolerance) << c.picture << " drifts on average";
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
