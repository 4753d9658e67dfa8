// What the reduction makes of pictures: inks where the colours call for them,
// tone kept at the finer grades, levels sent where Manual says.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "converter/convert.h"
#include "converter_fixtures.h"

namespace inkmark {
namespace {

using testing::MakeBmp24;
using testing::OneInkParams;
using testing::Rgb;
using testing::RowValues;
using testing::Share;
using testing::TwoInkParams;
using testing::ValueAt;

constexpr std::int32_t kBlackRed[2] = {kColorBlack, kColorRed};

BitmapFile Convert(const std::vector<std::uint8_t>& bmp, const ConversionParams& p) {
  auto out = ConvertBitmapFile(bmp, p, kBlackRed);
  if (!out) throw std::runtime_error("conversion refused");
  return *out;
}

std::vector<std::uint8_t> Flat(Rgb c, std::uint32_t w = 64, std::uint32_t h = 64) {
  return MakeBmp24(w, h, [c](auto, auto) { return c; });
}

// Eight 8-dot bands of the given values.
std::vector<int> Bands(std::vector<int> values) {
  std::vector<int> row;
  for (int v : values) row.insert(row.end(), 8, v);
  return row;
}

TEST(Reduction, BlackAndRedLogoComesOutBlackAndRedAtEveryGrade) {
  for (std::uint32_t grade = 0; grade < 3; ++grade) {
    const auto r = Convert(testing::BlackRedWhite(90, 30), TwoInkParams(90, 30, grade));
    std::vector<int> want(30, 0);
    want.resize(60, 1);
    want.resize(90, 2);
    for (std::uint32_t y = 0; y < 30; ++y)
      ASSERT_EQ(RowValues(r, y), want) << y << " grade " << grade;
  }
}

TEST(Reduction, AutomaticAttachesByColourAndDarkness) {
  const struct {
    Rgb colour;
    int value;
  } cases[] = {{{200, 60, 60}, 1},   {{230, 120, 40}, 1},    // red-ish mid-tone, orange
               {{90, 90, 90}, 0},    {{20, 30, 120}, 0},     // dark grey, dark blue
               {{255, 225, 225}, 2}, {{200, 200, 200}, 2}};  // pale pink, light grey
  for (const auto& c : cases) {
    EXPECT_EQ(ValueAt(Convert(Flat(c.colour), TwoInkParams(8, 8, 0)), 3, 3), c.value)
        << int(c.colour.r) << " " << int(c.colour.g) << " " << int(c.colour.b);
  }
  // At the fine grade a tinted area mixes both inks, mostly the second.
  const auto tinted = Convert(Flat({200, 60, 60}), TwoInkParams(64, 64, 2));
  EXPECT_GT(Share(tinted, 0), 0.05);
  EXPECT_GT(Share(tinted, 1), 0.3);
  EXPECT_GT(Share(tinted, 1), Share(tinted, 0));
}

TEST(Reduction, FinerGradesKeepTheToneOfGreysAndOfARamp) {
  for (std::uint8_t v : {24, 64, 128, 190, 235}) {
    const double darkness = 1.0 - v / 255.0;
    for (std::uint32_t grade : {1u, 2u}) {
      const auto two = Convert(Flat({v, v, v}), TwoInkParams(64, 64, grade));
      EXPECT_NEAR(Share(two, 0), darkness, 0.02) << int(v) << " grade " << grade;
      EXPECT_EQ(Share(two, 1), 0.0) << "a neutral grey needs no second ink";
      const auto one = Convert(Flat({v, v, v}), OneInkParams(64, 64, grade));
      EXPECT_NEAR(Share(one, 1), darkness, 0.02) << int(v) << " grade " << grade;
    }
  }
  auto ramp = MakeBmp24(256, 48, [](std::uint32_t x, std::uint32_t) {
    auto v = static_cast<std::uint8_t>(x);
    return Rgb{v, v, v};
  });
  for (std::uint32_t grade = 0; grade < 3; ++grade) {
    EXPECT_NEAR(Share(Convert(ramp, OneInkParams(256, 48, grade)), 1), 0.5, 0.02) << grade;
    const auto scaled = TwoInkParams(57, 21, grade);
    EXPECT_EQ(Convert(ramp, scaled), Convert(ramp, scaled)) << "equal input";
  }
  // Coarse splits the ramp at mid grey: dark half ink, light half paper.
  const auto coarse = Convert(ramp, OneInkParams(256, 48, 0));
  EXPECT_EQ(ValueAt(coarse, 100, 10), 1);
  EXPECT_EQ(ValueAt(coarse, 156, 10), 0);
}

TEST(Reduction, ManualSendsEachLevelWhereItsEntrySaysAtTheCoarseGradeOnly) {
  // Eight vertical bands, one grey from the middle of each level, darkest left.
  const auto bands = MakeBmp24(64, 4, [](std::uint32_t x, std::uint32_t) {
    auto v = static_cast<std::uint8_t>(16 + 32 * (x / 8));
    return Rgb{v, v, v};
  });
  ConversionParams p = TwoInkParams(64, 4, 0);
  p.attach_manual = 1;
  const std::array<std::uint16_t, 8> map = {kAttachWhite, kAttachFirst,  kAttachSecond,
                                            kAttachWhite, kAttachSecond, kAttachFirst,
                                            kAttachFirst, kAttachSecond};
  std::copy(map.begin(), map.end(), p.level_attach);
  EXPECT_EQ(RowValues(Convert(bands, p), 1), Bands({2, 0, 1, 2, 1, 0, 0, 1}));

  // Monochrome reads the high byte: 2nd colour entries are ink like the 1st,
  // only white entries stay paper.
  ConversionParams mono = OneInkParams(64, 4, 0, 1);
  mono.attach_manual = 1;
  std::copy(map.begin(), map.end(), mono.level_attach);
  EXPECT_EQ(RowValues(Convert(bands, mono), 1), Bands({0, 1, 1, 0, 1, 1, 1, 1}));

  // All white: any picture vanishes, but only at the coarse grade.
  std::fill(std::begin(p.level_attach), std::end(p.level_attach), kAttachWhite);
  auto colourful = MakeBmp24(32, 32, [](std::uint32_t x, std::uint32_t y) {
    return Rgb{static_cast<std::uint8_t>(x * 8), 0, static_cast<std::uint8_t>(y * 8)};
  });
  p.target_width = p.target_height = 32;
  EXPECT_DOUBLE_EQ(Share(Convert(colourful, p), 2), 1.0);
  p.processing = 2;
  EXPECT_DOUBLE_EQ(Share(Convert(Flat({0, 0, 0}, 32, 32), p), 0), 1.0);
}

TEST(Reduction, ReviseLevelsWeighTheChannelsButLeaveGreysAlone) {
  auto ink_share = [](Rgb c, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    ConversionParams p = OneInkParams(64, 64, 2);
    p.adjust_r = r;
    p.adjust_g = g;
    p.adjust_b = b;
    return Share(Convert(Flat(c), p), 1);
  };
  // Yellow lacks blue: the more blue counts, the darker yellow prints.
  const Rgb yellow{255, 255, 0};
  EXPECT_LT(ink_share(yellow, 3, 3, 1), ink_share(yellow, 3, 3, 3));
  EXPECT_LT(ink_share(yellow, 3, 3, 3), ink_share(yellow, 3, 3, 5));
  // Red is all red: the more red counts, the lighter it prints.
  const Rgb red{255, 0, 0};
  EXPECT_GT(ink_share(red, 1, 3, 3), ink_share(red, 5, 3, 3));
  EXPECT_EQ(ink_share({100, 100, 100}, 1, 5, 2), ink_share({100, 100, 100}, 3, 3, 3));
}

}  // namespace
}  // namespace inkmark
