// Scaling to the target size.
#include "converter/resample.h"

#include <gtest/gtest.h>

namespace inkmark::converter {
namespace {

RgbImage Make(std::uint32_t w, std::uint32_t h, auto color) {
  RgbImage img{w, h, std::vector<std::uint8_t>(std::size_t{w} * h * 3)};
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) {
      auto c = color(x, y);
      for (int k = 0; k < 3; ++k) img.pixels[(std::size_t{y} * w + x) * 3 + k] = c;
    }
  }
  return img;
}

std::uint8_t At(const RgbImage& img, std::uint32_t x, std::uint32_t y) {
  return img.pixels[(std::size_t{y} * img.width + x) * 3];
}

TEST(Resample, ReducingAveragesTheAreaInsteadOfPickingPixels) {
  // A one-pixel checkerboard halves to flat mid grey; sampling would give
  // solid black or solid white.
  RgbImage checker = Make(64, 48, [](auto x, auto y) { return ((x + y) & 1) ? 255 : 0; });
  RgbImage half = Resample(checker.View(), 32, 24);
  for (std::uint8_t v : half.pixels) ASSERT_NEAR(v, 128, 1);
  // An uneven 3:2 reduction of stripes keeps the mean.
  RgbImage stripes = Make(90, 3, [](auto x, auto) { return (x % 3 == 0) ? 255 : 0; });
  RgbImage two_thirds = Resample(stripes.View(), 60, 2);
  double sum = 0;
  for (std::uint8_t v : two_thirds.pixels) sum += v;
  EXPECT_NEAR(sum / two_thirds.pixels.size(), 85.0, 1.0);
  // Far more source pixels than weight steps still count evenly.
  RgbImage long_row = Make(40000, 1, [](auto x, auto) { return (x & 1) ? 255 : 0; });
  EXPECT_NEAR(At(Resample(long_row.View(), 1, 1), 0, 0), 128, 1);
}

TEST(Resample, EnlargingInterpolatesBetweenNeighbours) {
  RgbImage pair = Make(2, 1, [](auto x, auto) { return x ? 200 : 0; });
  RgbImage wide = Resample(pair.View(), 8, 3);
  EXPECT_EQ(At(wide, 0, 0), 0);
  EXPECT_EQ(At(wide, 7, 0), 200);
  int distinct_between = 0;
  for (std::uint32_t x = 1; x < 8; ++x) {
    EXPECT_GE(At(wide, x, 1), At(wide, x - 1, 1));
    if (At(wide, x, 1) > 0 && At(wide, x, 1) < 200) ++distinct_between;
  }
  EXPECT_GE(distinct_between, 3);
}

TEST(Resample, FlatColourSurvivesEveryScaleExactly) {
  RgbImage flat{37, 23, {}};
  for (std::size_t i = 0; i < 37 * 23; ++i) flat.pixels.insert(flat.pixels.end(), {77, 200, 10});
  for (auto [w, h] : {std::pair{100u, 7u}, {5u, 50u}, {1u, 1u}, {37u, 23u}, {600u, 400u}}) {
    RgbImage out = Resample(flat.View(), w, h);
    ASSERT_EQ(out.pixels.size(), std::size_t{w} * h * 3);
    for (std::size_t i = 0; i < out.pixels.size(); i += 3) {
      ASSERT_EQ(out.pixels[i], 77);
      ASSERT_EQ(out.pixels[i + 1], 200);
      ASSERT_EQ(out.pixels[i + 2], 10);
    }
  }
}

}  // namespace
}  // namespace inkmark::converter
