// Pictures of every depth and compression, made by an independent tool, loaded
// and compared pixel by pixel with that tool's own reading of the same file (the
// .ppm beside each picture). fixtures/make_fixtures.sh makes both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "picture/picture.h"
#include "support/bitmap_fixture.h"

namespace inkmark {
namespace {

struct Case {
  std::string picture;
  // 16-bit fields (blue, green, red): the reference widens an n-bit field by
  // repeating its bits, the loader scales it by 255 / (2^n - 1) with truncation.
  // Both keep the field in the top n bits, so the field is taken from the
  // reference and scaled.
  std::array<int, 3> field_bits{};
  // JPEG: an accurate inverse DCT other than ours (floating point) moves a sample
  // by up to 2 and the mean by about 0.05; the fast integer one, by 4 and 0.9;
  // plain instead of smooth chroma upsampling, by 80 and 9.
  bool near = false;
};

class PictureReference : public ::testing::TestWithParam<Case> {};

TEST_P(PictureReference, PixelsMatchTheIndependentDecoder) {
  const Case& c = GetParam();
  const std::string dir = std::string(INKMARK_FIXTURE_DIR) + "/";
  // The fixture script writes plain headers ("P6\n37 23\n255\n"), rows top-down.
  std::ifstream in(dir + c.picture.substr(0, c.picture.rfind('.')) + ".ppm", std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  in >> magic >> width >> height >> maxval;
  in.get();
  const std::vector<std::uint8_t> rgb((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
  ASSERT_TRUE(magic == "P6" && maxval == 255 && width > 0 &&
              rgb.size() == static_cast<std::size_t>(width) * height * 3)
      << "the .ppm of " << c.picture << " is not a whole P6 file with maxval 255";

  auto got = LoadPicture(dir + c.picture);
  ASSERT_TRUE(got) << c.picture << " was refused";
  ASSERT_EQ((std::array{testing::U32At(*got, 18), testing::U32At(*got, 22)}),
            (std::array<std::uint32_t, 2>{std::uint32_t(width), std::uint32_t(height)}));
  int largest = 0, at_x = 0, at_y = 0;  // the largest channel difference and where
  double total = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* want = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      const auto pixel = testing::PixelAt(*got, x, height - 1 - y);  // loaded rows bottom-up
      for (int ch = 0; ch < 3; ++ch) {
        const int bits = c.field_bits[ch];
        const int expected =
            bits ? (want[2 - ch] >> (8 - bits)) * 255 / ((1 << bits) - 1) : want[2 - ch];
        const int diff = std::abs(pixel[ch] - expected);
        if (diff > largest) largest = diff, at_x = x, at_y = y;
        total += diff;
      }
    }
  }
  EXPECT_LE(largest, c.near ? 2 : 0)
      << c.picture << ": largest channel difference at " << at_x << ", " << at_y;
  EXPECT_LE(c.near ? total / rgb.size() : 0.0, 0.25) << c.picture;
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PictureReference,
    ::testing::Values(Case{"pal1.bmp"}, Case{"pal4.bmp"}, Case{"pal8.bmp"}, Case{"rle4.bmp"},
                      Case{"rle8.bmp"}, Case{"rle8lit.bmp"}, Case{"rgb555.bmp", {5, 5, 5}},
                      Case{"bf555.bmp", {5, 5, 5}}, Case{"bf565.bmp", {5, 6, 5}}, Case{"rgb24.bmp"},
                      Case{"rgb32.bmp"}, Case{"bf32.bmp"}, Case{"photo.jpg", {}, true},
                      Case{"progressive.jpg", {}, true}, Case{"grey.jpg", {}, true}),
    [](const ::testing::TestParamInfo<Case>& info) {
      return info.param.picture.substr(0, info.param.picture.find('.'));
    });

// libjpeg only warns about data that ends early and fills the rest with grey:
// a picture cut anywhere in its scans, or missing just its end marker, is refused.
TEST(PictureJpegCut, BaselineAndProgressiveCutMidScanAreRefused) {
  for (const char* name : {"photo.jpg", "progressive.jpg", "grey.jpg"}) {
    std::ifstream in(std::string(INKMARK_FIXTURE_DIR) + "/" + name, std::ios::binary);
    const std::vector<std::uint8_t> whole((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 400u) << name;
    ASSERT_TRUE(DecodeJpegToBitmap(whole)) << name;
    for (std::size_t cut :
         {whole.size() / 2, whole.size() * 3 / 4, whole.size() - 40, whole.size() - 2}) {
      EXPECT_FALSE(DecodeJpegToBitmap(std::span(whole.data(), cut))) << name << " cut at " << cut;
    }
  }
}

}  // namespace
}  // namespace inkmark
