// Scaling to the target size.
#include "converter/resample.h"

#include <gtest/gtest.h>

namespace inkmark::converter {
namespace {

RgbImage Make(std::uint32_t w, std::uint32_t h, auto grey) {
  RgbImage img{w, h, std::vector<std::uint8_t>(std::size_t{w} * h * 3)};
  for (std::size_t i = 0; i < img.pixels.size(); ++i) {
    img.pixels[i] = static_cast<std::uint8_t>(grey((i / 3) % w, (i / 3) / w));
  }
  return img;
}

double Mean(const RgbImage& img) {
  double sum = 0;
  for (std::uint8_t v : img.pixels) sum += v;
  return sum / img.pixels.size();
}

TEST(Resample, ReducingAveragesTheAreaInsteadOfPickingPixels) {
  // A one-pixel checkerboard halves to flat mid grey; sampling would give
  // solid black or solid white.
  RgbImage half =
      Resample(Make(64, 48, [](auto x, auto y) { return ((x + y) & 1) * 255; }).View(), 32, 24);
  for (std::uint8_t v : half.pixels) ASSERT_NEAR(v, 128, 1);
  // An uneven 3:2 reduction of stripes keeps the mean.
  EXPECT_NEAR(
      Mean(Resample(Make(90, 3, [](auto x, auto) { return x % 3 ? 0 : 255; }).View(), 60, 2)), 85.0,
      1.0);
  // Far more source pixels than weight steps still count evenly.
  EXPECT_NEAR(
      Mean(Resample(Make(40000, 1, [](auto x, auto) { return (x & 1) * 255; }).View(), 1, 1)), 128,
      1);
}

TEST(Resample, EnlargingInterpolatesBetweenNeighbours) {
  RgbImage wide = Resample(Make(2, 1, [](auto x, auto) { return x * 200; }).View(), 8, 3);
  const auto at = [&](std::uint32_t x, std::uint32_t y) { return wide.pixels[(y * 8 + x) * 3]; };
  EXPECT_EQ(at(0, 0), 0);
  EXPECT_EQ(at(7, 0), 200);
  int between = 0;
  for (std::uint32_t x = 1; x < 8; ++x) {
    EXPECT_GE(at(x, 1), at(x - 1, 1));
    between += at(x, 1) > 0 && at(x, 1) < 200;
  }
  EXPECT_GE(between, 3);
}

TEST(Resample, FlatColourSurvivesEveryScaleExactly) {
  RgbImage flat{37, 23, {}};
  for (std::size_t i = 0; i < 37 * 23; ++i) flat.pixels.insert(flat.pixels.end(), {77, 200, 10});
  for (auto [w, h] : {std::pair{100u, 7u}, {5u, 50u}, {1u, 1u}, {37u, 23u}, {600u, 400u}}) {
    RgbImage out = Resample(flat.View(), w, h);
    ASSERT_EQ(out.pixels.size(), std::size_t{w} * h * 3);
    for (std::size_t i = 0; i < out.pixels.size(); i += 3) {
      ASSERT_EQ((std::array{out.pixels[i], out.pixels[i + 1], out.pixels[i + 2]}),
                (std::array<std::uint8_t, 3>{77, 200, 10}));
    }
  }
}

}  // namespace
}  // namespace inkmark::converter
