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
using testing::ReadRaster;
using testing::Rgb;

constexpr std::int32_t kBlackRed[2] = {kColorBlack, kColorRed};

ReadRaster Convert(const std::vector<std::uint8_t>& bmp, const ConversionParams& p,
                   const std::int32_t inks[2] = kBlackRed) {
  auto out = ConvertBitmapFile(bmp, p, inks);
  if (!out) throw std::runtime_error("conversion refused");
  return ReadRaster(std::move(*out));
}

std::vector<std::uint8_t> Flat(Rgb c, std::uint32_t w = 64, std::uint32_t h = 64) {
  return MakeBmp24(w, h, [c](auto, auto) { return c; });
}

// Eight vertical bands, one grey from the middle of each brightness level,
// darkest on the left.
std::vector<std::uint8_t> LevelBands() {
  return MakeBmp24(64, 4, [](std::uint32_t x, std::uint32_t) {
    auto v = static_cast<std::uint8_t>(16 + 32 * (x / 8));
    return Rgb{v, v, v};
  });
}

TEST(Reduction, BlackAndRedLogoComesOutBlackAndRedAtEveryGrade) {
  // Thirds: black, red, white.
  auto logo = MakeBmp24(90, 30, [](std::uint32_t x, std::uint32_t) {
    return x < 30 ? Rgb{0, 0, 0} : x < 60 ? Rgb{255, 0, 0} : Rgb{255, 255, 255};
  });
  for (std::uint32_t grade = 0; grade < 3; ++grade) {
    ReadRaster r = Convert(logo, testing::TwoInkParams(90, 30, grade));
    for (std::uint32_t y = 0; y < 30; ++y) {
      for (std::uint32_t x = 0; x < 90; ++x) {
        ASSERT_EQ(r.Value(x, y), x < 30   ? 0
                                 : x < 60 ? 1
                                          : 2)
            << x << "," << y << " grade " << grade;
      }
    }
  }
}

TEST(Reduction, AutomaticAttachesByColourAndDarkness) {
  const auto coarse = testing::TwoInkParams(8, 8, 0);
  EXPECT_EQ(Convert(Flat({200, 60, 60}), coarse).Value(3, 3), 1);    // red-ish mid-tone
  EXPECT_EQ(Convert(Flat({230, 120, 40}), coarse).Value(3, 3), 1);   // orange
  EXPECT_EQ(Convert(Flat({90, 90, 90}), coarse).Value(3, 3), 0);     // dark grey
  EXPECT_EQ(Convert(Flat({20, 30, 120}), coarse).Value(3, 3), 0);    // dark blue
  EXPECT_EQ(Convert(Flat({255, 225, 225}), coarse).Value(3, 3), 2);  // pale pink
  EXPECT_EQ(Convert(Flat({200, 200, 200}), coarse).Value(3, 3), 2);  // light grey
}

TEST(Reduction, FinerGradesKeepTheToneOfGreys) {
  for (std::uint8_t v : {24, 64, 128, 190, 235}) {
    const double darkness = 1.0 - v / 255.0;
    for (std::uint32_t grade : {1u, 2u}) {
      ReadRaster two = Convert(Flat({v, v, v}), testing::TwoInkParams(64, 64, grade));
      EXPECT_NEAR(two.Share(0), darkness, 0.02) << int(v) << " grade " << grade;
      EXPECT_EQ(two.Share(1), 0.0) << "a neutral grey needs no second ink";
      ReadRaster one = Convert(Flat({v, v, v}), testing::OneInkParams(64, 64, grade));
      EXPECT_NEAR(one.Share(1), darkness, 0.02) << int(v) << " grade " << grade;
    }
  }
}

TEST(Reduction, FinerGradesKeepTheToneOfARamp) {
  auto ramp = MakeBmp24(256, 48, [](std::uint32_t x, std::uint32_t) {
    auto v = static_cast<std::uint8_t>(x);
    return Rgb{v, v, v};
  });
  for (std::uint32_t grade = 0; grade < 3; ++grade) {
    ReadRaster r = Convert(ramp, testing::OneInkParams(256, 48, grade));
    EXPECT_NEAR(r.Share(1), 0.5, 0.02) << "grade " << grade;
  }
  // Coarse splits the ramp at mid grey: dark half ink, light half paper.
  ReadRaster coarse = Convert(ramp, testing::OneInkParams(256, 48, 0));
  EXPECT_EQ(coarse.Value(100, 10), 1);
  EXPECT_EQ(coarse.Value(156, 10), 0);
}

TEST(Reduction, TintedAreasMixBothInksAtTheFineGrade) {
  ReadRaster r = Convert(Flat({200, 60, 60}), testing::TwoInkParams(64, 64, 2));
  EXPECT_GT(r.Share(0), 0.05);
  EXPECT_GT(r.Share(1), 0.3);
  EXPECT_GT(r.Share(1), r.Share(0));
}

TEST(Reduction, ManualSendsEachLevelWhereItsEntrySays) {
  ConversionParams p = testing::TwoInkParams(64, 4, 0);
  p.attach_manual = 1;
  const std::array<std::uint16_t, 8> map = {kAttachWhite, kAttachFirst,  kAttachSecond,
                                            kAttachWhite, kAttachSecond, kAttachFirst,
                                            kAttachFirst, kAttachSecond};
  std::copy(map.begin(), map.end(), p.level_attach);
  ReadRaster r = Convert(LevelBands(), p);
  const int expect[8] = {2, 0, 1, 2, 1, 0, 0, 1};
  for (std::uint32_t x = 0; x < 64; ++x) EXPECT_EQ(r.Value(x, 1), expect[x / 8]) << "x " << x;

  std::fill(std::begin(p.level_attach), std::end(p.level_attach), kAttachWhite);
  auto dark = MakeBmp24(32, 32, [](std::uint32_t x, std::uint32_t y) {
    return Rgb{static_cast<std::uint8_t>(x * 8), 0, static_cast<std::uint8_t>(y * 8)};
  });
  p.target_width = p.target_height = 32;
  EXPECT_DOUBLE_EQ(Convert(dark, p).Share(2), 1.0);
}

TEST(Reduction, ManualAttachmentAppliesAtTheCoarseGradeOnly) {
  ConversionParams p = testing::TwoInkParams(16, 16, 2);
  p.attach_manual = 1;
  std::fill(std::begin(p.level_attach), std::end(p.level_attach), kAttachWhite);
  EXPECT_DOUBLE_EQ(Convert(Flat({0, 0, 0}, 16, 16), p).Share(0), 1.0);
}

TEST(Reduction, MonochromeManualReadsTheHighByte) {
  ConversionParams p = testing::OneInkParams(64, 4, 0, 1);
  p.attach_manual = 1;
  // Low bytes would say 2nd colour for levels 2 and 5; in Monochrome they are
  // ink, like the 1st colour, and only the white entries stay paper.
  const std::array<std::uint16_t, 8> map = {kAttachWhite, kAttachSecond, kAttachFirst,
                                            kAttachWhite, kAttachSecond, kAttachFirst,
                                            kAttachWhite, kAttachFirst};
  std::copy(map.begin(), map.end(), p.level_attach);
  ReadRaster r = Convert(LevelBands(), p, kBlackRed);
  const int expect[8] = {0, 1, 1, 0, 1, 1, 0, 1};
  for (std::uint32_t x = 0; x < 64; ++x) EXPECT_EQ(r.Value(x, 2), expect[x / 8]) << "x " << x;
}

TEST(Reduction, ReviseLevelsWeighTheChannelsButLeaveGreysAlone) {
  auto ink_share = [](Rgb c, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    ConversionParams p = testing::OneInkParams(64, 64, 2);
    p.adjust_r = r;
    p.adjust_g = g;
    p.adjust_b = b;
    return Convert(Flat(c), p).Share(1);
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

TEST(Reduction, EqualInputGivesEqualOutput) {
  auto photo = MakeBmp24(40, 30, [](std::uint32_t x, std::uint32_t y) {
    return Rgb{static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>(y * 8),
               static_cast<std::uint8_t>((x * y) & 0xFF)};
  });
  for (std::uint32_t grade = 0; grade < 3; ++grade) {
    auto p = testing::TwoInkParams(57, 21, grade);
    EXPECT_EQ(Convert(photo, p).bytes(), Convert(photo, p).bytes());
  }
}

}  // namespace
}  // namespace inkmark
