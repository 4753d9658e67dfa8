// The two-colour converter: the C entry point and its refusals, the output's form
// over every combination of settings, the reduction (inks, tone, Manual), scaling.
#include "converter/convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <numeric>

#include "converter/resample.h"
#include "picture/picture.h"
#include "support/bitmap_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using namespace converter;
using namespace testing;
using Rgb = std::array<std::uint8_t, 3>;  // red, green, blue

constexpr std::int32_t kInks[2] = {kColorBlack, kColorRed};

// A 24-bit bitmap file; `color(x, y)` gives each pixel, y = 0 the top line.
std::vector<std::uint8_t> MakeBmp24(std::uint32_t w, std::uint32_t h,
                                    const std::function<Rgb(std::uint32_t, std::uint32_t)>& color) {
  std::vector<std::vector<std::uint32_t>> rows(h);
  for (std::uint32_t i = 0; i < w * h; ++i) {
    const Rgb c = color(i % w, h - 1 - i / w);
    rows[i / w].push_back(c[2] | c[1] << 8 | c[0] << 16);
  }
  auto f = Fixture(static_cast<std::int32_t>(w), static_cast<std::int32_t>(h), 24);
  f.pixels = PackRows(rows, 24);
  return BuildBitmap(f);
}

Rgb Grey(std::uint32_t v) { return {std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}; }

std::vector<std::uint8_t> Flat(Rgb c, std::uint32_t w = 64, std::uint32_t h = 64) {
  return MakeBmp24(w, h, [c](auto, auto) { return c; });
}

// Start-up parameters for two inks, or for one ink (2 palette) printing inks[ink].
ConversionParams Params(std::uint32_t w, std::uint32_t h, std::uint32_t grade,
                        std::uint32_t ink_count = 2, std::uint32_t ink = 0) {
  ConversionParams p = StartupConversionParams();
  std::tie(p.target_width, p.target_height, p.processing, p.color_count, p.color_table) =
      std::tie(w, h, grade, ink_count, ink);
  p.palette_size = ink_count == 2 ? 256 : 2;
  return p;
}

BitmapFile Convert(const std::vector<std::uint8_t>& bmp, const ConversionParams& p) {
  return ConvertBitmapFile(bmp, p, kInks).value();
}

// Row stride, palette entry as 0x00BBGGRR, pixel values (y = 0 the top line), and
// the share of pixels holding `value`.
std::size_t Stride(const BitmapFile& r) { return (U32At(r, 18) * U16At(r, 28) + 31) / 32 * 4; }
std::int32_t PaletteAt(const BitmapFile& r, int index) {
  return r.at(56 + 4 * index) | (r.at(55 + 4 * index) << 8) | (r.at(54 + 4 * index) << 16);
}
int ValueAt(const BitmapFile& r, std::uint32_t x, std::uint32_t y) {
  const std::size_t row = U32At(r, 10) + Stride(r) * (U32At(r, 22) - 1 - y);
  return U16At(r, 28) == 1 ? (r.at(row + x / 8) >> (7 - x % 8)) & 1 : r.at(row + x);
}
std::vector<int> RowValues(const BitmapFile& r, std::uint32_t y) {
  std::vector<int> values;
  for (std::uint32_t x = 0; x < U32At(r, 18); ++x) values.push_back(ValueAt(r, x, y));
  return values;
}
double Share(const BitmapFile& r, int value) {
  double n = 0;
  for (std::uint32_t y = 0; y < U32At(r, 22); ++y) n += std::ranges::count(RowValues(r, y), value);
  return n / (U32At(r, 18) * U32At(r, 22));
}

std::vector<int> Bands(std::vector<int> values) {  // 8-dot bands
  std::vector<int> row;
  for (int v : values) row.insert(row.end(), 8, v);
  return row;
}

std::string AsText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(EntryPoint, WritesTheConversionOfAnySourceDepthAndMayReplaceItsSource) {
  TempDir dir;
  auto f = Fixture(3, 2, 8);
  f.palette = {{0, 0, 0}, {0, 0, 255}, {255, 255, 255}};  // black, red, white
  f.pixels = PackRows({{0, 1, 2}, {0, 1, 2}}, 8);
  const auto indexed = BuildBitmap(f);
  const auto src = dir.Write("logo.bmp", AsText(indexed)), dst = dir.path() / "out.bmp";
  ConversionParams p = Params(3, 2, 0);
  ASSERT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, dst.c_str()), 1);
  EXPECT_EQ(ReadFileText(dst), AsText(Convert(indexed, p)));
  EXPECT_EQ(RowValues(Convert(indexed, p), 1), (std::vector{0, 1, 2}));

  p = Params(20, 10, 2, 1);
  ASSERT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, src.c_str()), 1);
  EXPECT_EQ(ReadFileText(src), AsText(Convert(indexed, p)));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
      << "no temporary files are left";
}

TEST(EntryPoint, RefusedParametersSourcesAndDestinationsLeaveTheDestinationUntouched) {
  TempDir dir;
  const auto logo = Flat({0, 0, 0}, 40, 20);
  auto src = dir.Write("logo.bmp", AsText(logo)), dst = dir.Write("keep.bmp", "keep");
  const std::vector<std::function<void(ConversionParams&)>> faults = {
      [](auto& p) { p.target_width = 0; },
      [](auto& p) { p.target_width = 65536; },
      [](auto& p) { p.target_width = p.target_height = 65535; },  // past the pixel cap
      [](auto& p) { p.color_count = 3; },
      [](auto& p) { p.color_table = 1; },  // two inks must start at the first
      [](auto& p) { p.palette_size = 16; },
      [](auto& p) { p.palette_size = 2; },  // two inks cannot fit two entries
      [](auto& p) { p.processing = 3; },
      [](auto& p) { p.adjust_r = 0; },
      [](auto& p) { p.attach_manual = 2; },
      [](auto& p) { p.level_attach[3] = 0x0002; },
  };
  for (std::size_t i = 0; i < faults.size(); ++i) {
    ConversionParams p = Params(40, 20, 0);
    faults[i](p);
    EXPECT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, dst.c_str()), 0) << "fault " << i;
    EXPECT_FALSE(ConvertBitmapFile(logo, p, kInks)) << "fault " << i;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
      << "no temporary files are left";
  ConversionParams p = Params(40, 20, 0);
  for (const auto& bad : {dir.path() / "missing.bmp", dir.Write("garbage.bmp", "BM not a picture"),
                          dir.Write("cut.bmp", AsText(logo).substr(0, logo.size() - 5))}) {
    EXPECT_EQ(QrvConvertLogo(bad.c_str(), &p, kInks, dst.c_str()), 0) << bad;
  }
  EXPECT_EQ(QrvConvertLogo(nullptr, &p, kInks, dst.c_str()), 0);
  EXPECT_EQ(QrvConvertLogo(src.c_str(), nullptr, kInks, dst.c_str()), 0);
  EXPECT_EQ(ReadFileText(dst), "keep");
  EXPECT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, (dir.path() / "no/out.bmp").c_str()), 0);
}

// A picture with every kind of pixel: black, red, mid grey, white.
std::vector<std::uint8_t> Mixed(std::uint32_t w, std::uint32_t h) {
  return MakeBmp24(w, h, [](std::uint32_t x, std::uint32_t y) {
    const Rgb kinds[4] = {{0, 0, 0}, {255, 0, 0}, {128, 128, 128}, {255, 255, 255}};
    return kinds[(x + 2 * y) % 4];
  });
}

TEST(OutputForm, EveryCombinationGivesItsDepthPaletteValuesAndZeroPadding) {
  const std::int32_t black_red[2] = {kColorBlack, kColorRed};
  const std::int32_t black_blue[2] = {kColorBlack, kColorBlue};
  const struct {
    bool monochrome;
    std::uint32_t ink;
    const std::int32_t* inks;
  } setups[] = {
      {false, 0, black_red}, {false, 0, black_blue}, {true, 0, black_red}, {true, 1, black_blue}};
  const std::uint16_t manual_map[8] = {kAttachFirst,  kAttachSecond, kAttachWhite, kAttachFirst,
                                       kAttachSecond, kAttachWhite,  kAttachFirst, kAttachWhite};
  for (int combo = 0; combo < 4 * 3 * 2 * 4; ++combo) {
    const auto& s = setups[combo % 4];
    const std::uint32_t grade = combo / 4 % 3, manual = combo / 12 % 2;
    const std::uint32_t w = std::array{1u, 9u, 33u, 64u}[combo / 24];
    SCOPED_TRACE(::testing::Message() << "combination " << combo);
    ConversionParams p = s.monochrome ? Params(w, 7, grade, 1, s.ink) : Params(w, 7, grade);
    p.attach_manual = manual;
    if (manual) std::copy(std::begin(manual_map), std::end(manual_map), p.level_attach);
    const BitmapFile r = ConvertBitmapFile(Mixed(17, 9), p, s.inks).value();
    const std::uint32_t bits = s.monochrome ? 1 : 8, entries = s.monochrome ? 2 : 256;
    const auto stride = static_cast<std::uint32_t>(Stride(r)), offset = 54 + 4 * entries;
    ASSERT_EQ(r.size(), offset + stride * 7);
    EXPECT_EQ((std::vector<std::uint32_t>{r[0], r[1], U32At(r, 2), U32At(r, 10), U32At(r, 14),
                                          U32At(r, 18), U32At(r, 22), U16At(r, 26), U16At(r, 28),
                                          U32At(r, 30), U32At(r, 34), U32At(r, 46)}),
              (std::vector<std::uint32_t>{'B', 'M', offset + stride * 7, offset, 40, w, 7, 1, bits,
                                          0, stride * 7, entries}));
    EXPECT_EQ((std::array{PaletteAt(r, 0), PaletteAt(r, 1), s.monochrome ? 0 : PaletteAt(r, 2)}),
              (s.monochrome ? std::array{0xFFFFFF, s.inks[s.ink], 0}
                            : std::array{s.inks[0], s.inks[1], 0xFFFFFF}));
    // Values name the inks or white; the padding after each row is zero, down
    // to the unused bits.
    for (std::size_t bit = 0; bit < 7 * stride * 8; bit += bits) {
      const int value = (r[offset + bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
      ASSERT_LE(value, bit % (stride * 8) < w * bits ? 2 : 0) << "bit " << bit;
    }
  }
  // One ink in a 256-entry palette: 8 bits, black printed in the only ink, entry 1.
  ConversionParams p = Params(8, 8, 0, 1, 1);
  p.palette_size = 256;
  const auto out = Convert(Flat({0, 0, 0}, 8, 8), p);
  EXPECT_TRUE(U16At(out, 28) == 8 && Share(out, 1) == 1.0);
}

TEST(Reduction, BlackAndRedLogoComesOutBlackAndRedAtEveryGrade) {
  const auto logo = MakeBmp24(24, 30, [](std::uint32_t x, std::uint32_t) {
    return x < 8 ? Rgb{0, 0, 0} : x < 16 ? Rgb{255, 0, 0} : Rgb{255, 255, 255};
  });
  for (std::uint32_t grade = 0; grade < 3; ++grade) {
    const auto r = Convert(logo, Params(24, 30, grade));
    for (std::uint32_t y = 0; y < 30; ++y)
      ASSERT_EQ(RowValues(r, y), Bands({0, 1, 2})) << y << grade;
  }
}

TEST(Reduction, AutomaticAttachesByColourAndDarkness) {
  // Orange, dark blue, pale pink.
  for (auto [colour, value] :
       {std::pair{Rgb{230, 120, 40}, 1}, {{20, 30, 120}, 0}, {{255, 225, 225}, 2}})
    EXPECT_EQ(ValueAt(Convert(Flat(colour), Params(8, 8, 0)), 3, 3), value) << int(colour[1]);
  // At the fine grade a tinted area mixes both inks, mostly the second.
  const auto tinted = Convert(Flat({200, 60, 60}), Params(64, 64, 2));
  EXPECT_GT(Share(tinted, 0), 0.05);
  EXPECT_GT(Share(tinted, 1), std::max(0.3, Share(tinted, 0)));
}

TEST(Reduction, FinerGradesKeepTheToneOfGreysAndOfARamp) {
  for (std::uint8_t v : {24, 128, 235}) {
    const double darkness = 1.0 - v / 255.0;
    for (std::uint32_t grade : {1u, 2u}) {
      const auto two = Convert(Flat(Grey(v)), Params(64, 64, grade));
      EXPECT_NEAR(Share(two, 0), darkness, 0.02) << int(v) << " grade " << grade;
      EXPECT_EQ(Share(two, 1), 0.0) << "a neutral grey needs no second ink";
      const auto one = Convert(Flat(Grey(v)), Params(64, 64, grade, 1));
      EXPECT_NEAR(Share(one, 1), darkness, 0.02) << int(v) << " grade " << grade;
    }
  }
  // Coarse splits a ramp at mid grey: dark half ink, light half paper.
  const auto ramp = MakeBmp24(256, 2, [](auto x, auto) { return Grey(x); });
  const auto coarse = RowValues(Convert(ramp, Params(256, 2, 0, 1)), 0);
  EXPECT_EQ((std::array{coarse[100], coarse[156]}), (std::array{1, 0}));
}

TEST(Reduction, ManualSendsEachLevelWhereItsEntrySaysAtTheCoarseGradeOnly) {
  // Eight vertical bands, one grey from the middle of each level, darkest left.
  const auto bands = MakeBmp24(64, 4, [](auto x, auto) { return Grey(16 + 32 * (x / 8)); });
  const std::uint16_t map[8] = {kAttachWhite,  kAttachFirst, kAttachSecond, kAttachWhite,
                                kAttachSecond, kAttachFirst, kAttachFirst,  kAttachSecond};
  ConversionParams p = Params(64, 4, 0), mono = Params(64, 4, 0, 1, 1);
  p.attach_manual = mono.attach_manual = 1;
  std::copy_n(map, 8, p.level_attach);
  std::copy_n(map, 8, mono.level_attach);
  EXPECT_EQ(RowValues(Convert(bands, p), 1), Bands({2, 0, 1, 2, 1, 0, 0, 1}));
  // Monochrome reads the high byte: 2nd colour entries are ink like the 1st.
  EXPECT_EQ(RowValues(Convert(bands, mono), 1), Bands({0, 1, 1, 0, 1, 1, 1, 1}));

  // All white: any picture vanishes, but only at the coarse grade.
  std::fill(std::begin(p.level_attach), std::end(p.level_attach), kAttachWhite);
  p.target_width = p.target_height = 32;
  EXPECT_DOUBLE_EQ(Share(Convert(Mixed(32, 32), p), 2), 1.0);
  p.processing = 2;
  EXPECT_DOUBLE_EQ(Share(Convert(Flat({0, 0, 0}, 32, 32), p), 0), 1.0);
}

// A photograph-like picture: smooth colour fields with grain, crossed by
// saturated bands of pure red, blue and black and flat white areas.
std::vector<std::uint8_t> PhotoLike(std::uint32_t w, std::uint32_t h) {
  std::uint32_t grain = 12345;
  return MakeBmp24(w, h, [&grain, w, h](std::uint32_t x, std::uint32_t y) {
    grain = grain * 1103515245u + 12345u;
    const int noise = static_cast<int>(grain >> 27) - 16;
    auto level = [noise](std::uint32_t v) {
      return std::uint8_t(std::clamp<int>(v + noise, 0, 255));
    };
    switch ((x * 7 / w + y * 5 / h) % 6) {
      case 0:
        return Rgb{level(x * 255 / w), level(y * 255 / h), level((x + y) * 127 / (w + h))};
      case 1:
        return Rgb{level(200 + y % 56), 0, 0};
      case 2:
        return Grey(255);
      case 3:
        return Rgb{0, level(x * 80 / w), level(255 - y * 255 / h)};
      case 4:
        return Grey(x % 3 == 0 ? 0 : level(128));
      default:
        return Grey(level((x * 255 / w + y * 255 / h) / 2));
    }
  });
}

// FNV-1a, folded over every result of one size and grade.
std::uint64_t Fold(std::uint64_t h, const BitmapFile& bytes) {
  for (std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

TEST(Reduction, EveryGradeInkCountReviseAndWidthKeepsItsExactResult) {
  // Widths around the lengths of vector loops and the paper's width; one
  // source scaled down and one enlarged. The figures are hashes of the
  // results, one per size and grade: a change to a pixel loop must leave
  // every pixel as it was.
  struct Case {
    std::uint32_t sw, sh, tw, th;
    std::array<std::uint64_t, 3> expected;  // per grade
  };
  const Case cases[] = {
      {1, 5, 1, 5, {0x644fa6ec50cb1940ull, 0xb25d112c8825cf13ull, 0xdd12ceaddadd3ull}},
      {7, 9, 7, 9, {0x7e91401a4e9a7be5ull, 0x3ae630d302f03148ull, 0xaa86c22f5e740187ull}},
      {33, 17, 33, 17, {0x2acc6102e1516a75ull, 0x8fe7295800e8ae3full, 0x97fadbaa17fc186full}},
      {576, 40, 576, 40, {0x8a58437381b868e6ull, 0xb9259d2d87d8ccf5ull, 0x7cd4a6f6629a2c64ull}},
      {300, 200, 67, 45, {0x8f5e78de1e150223ull, 0xcb23cd98713caa4cull, 0x5208ee85a0c0832aull}},
      {50, 30, 101, 61, {0x676e1b5d5bbfbf4aull, 0x759fc035cdfa9468ull, 0x54fd52d31dc39598ull}},
  };
  const std::array<std::uint32_t, 3> revises[] = {{3, 3, 3}, {1, 5, 2}, {5, 1, 4}};
  const std::int32_t blue_red[2] = {kColorBlue, kColorRed};
  const std::uint16_t map[8] = {kAttachFirst,  kAttachSecond, kAttachFirst, kAttachWhite,
                                kAttachSecond, kAttachWhite,  kAttachFirst, kAttachWhite};
  for (const Case& c : cases) {
    const auto source = PhotoLike(c.sw, c.sh);
    for (std::uint32_t grade = 0; grade < 3; ++grade) {
      std::uint64_t h = 14695981039346656037ull;
      for (const auto& revise : revises) {
        for (std::uint32_t inks = 1; inks <= 2; ++inks) {
          ConversionParams p = Params(c.tw, c.th, grade, inks, inks == 1 ? 1 : 0);
          std::tie(p.adjust_r, p.adjust_g, p.adjust_b) = std::tie(revise[0], revise[1], revise[2]);
          h = Fold(h, Convert(source, p));
        }
      }
      ConversionParams manual = Params(c.tw, c.th, grade);
      manual.attach_manual = 1;
      std::copy_n(map, 8, manual.level_attach);
      h = Fold(h, Convert(source, manual));
      h = Fold(h, ConvertBitmapFile(source, Params(c.tw, c.th, grade), blue_red).value());
      EXPECT_EQ(h, c.expected[grade])
          << std::hex << "0x" << h << std::dec << ": " << c.tw << " x " << c.th << " from " << c.sw
          << " x " << c.sh << ", grade " << grade;
    }
  }
}

RgbImage Make(std::uint32_t w, std::uint32_t h, auto grey) {
  RgbImage img{w, h, std::vector<std::uint8_t>(std::size_t{w} * h * 3)};
  for (std::size_t i = 0; i < img.pixels.size(); ++i)
    img.pixels[i] = static_cast<std::uint8_t>(grey((i / 3) % w, (i / 3) / w));
  return img;
}

double ResampledMean(const RgbImage& img, std::uint32_t w, std::uint32_t h) {
  const auto out = Resample(img.View(), w, h).pixels;
  return std::accumulate(out.begin(), out.end(), 0.0) / out.size();
}

TEST(Resample, ReducingAveragesTheAreaAndEnlargingInterpolates) {
  // A one-pixel checkerboard halves to flat mid grey, not to black or white.
  RgbImage half =
      Resample(Make(64, 48, [](auto x, auto y) { return ((x + y) & 1) * 255; }).View(), 32, 24);
  for (std::uint8_t v : half.pixels) ASSERT_NEAR(v, 128, 1);
  // Far more source pixels than weight steps still count evenly.
  EXPECT_NEAR(ResampledMean(Make(40000, 1, [](auto x, auto) { return (x & 1) * 255; }), 1, 1), 128,
              1);

  // Enlarging keeps the ends and interpolates a rising run between them.
  const auto wide = Resample(Make(2, 1, [](auto x, auto) { return x * 200; }).View(), 8, 3).pixels;
  std::vector<int> row;
  for (std::size_t x = 0; x < 8; ++x) row.push_back(wide[3 * x]);
  EXPECT_TRUE(std::ranges::is_sorted(row) && row.front() == 0 && row.back() == 200);
  EXPECT_GE(std::ranges::count_if(row, [](int v) { return v > 0 && v < 200; }), 3);
}

// Odd sizes leave a part of each row outside the 16-value blocks (37 pixels:
// 111 values, 15 past the last block), which must round as the blocks do.
TEST(Resample, AGradientReducedToOddSizesMatchesItsValuesByteForByte) {
  const auto out =
      Resample(Make(37, 5, [](auto x, auto y) { return x * 5 + y * 8; }).View(), 20, 3);
  // By hand: the first pixel averages x in [0, 1.85) and y in [0, 1.67),
  // 2.30 + 3.20 = 5.50 just short of the half; the last averages x in
  // [35.15, 37) and y in [3.33, 5), 177.70 + 28.80 = 206.50, just past it,
  // which only a rounded end of the row keeps.
  const std::uint8_t expected[3][20] = {
      {5, 15, 24, 33, 42, 51, 61, 70, 79, 89, 98, 107, 116, 126, 135, 144, 153, 163, 172, 181},
      {18, 27, 37, 46, 55, 64, 74, 83, 92, 101, 111, 120, 129, 138, 148, 157, 166, 175, 185, 194},
      {31, 40, 49, 59, 68, 77, 86, 96, 105, 114, 123, 133, 142, 151, 161, 170, 179, 188, 197, 207},
  };
  std::vector<std::uint8_t> want;
  for (const auto& row : expected)
    for (std::uint8_t v : row) want.insert(want.end(), 3, v);  // grey: all three channels
  EXPECT_EQ(out.pixels, want);
}

// A palette or run-length picture of more than one band of expanded rows is
// expanded band by band as the scaler reaches it: the result is that of the
// same picture held whole, shrunk, grown (which reads a row again across a
// band's edge) and at its own size, and damage past the first band still
// refuses it.
TEST(Banded, PaletteAndRunLengthSourcesConvertAsTheirWholePicture) {
  // 3000 x 1000 expands to 9 MB, past the 8 MB band: about 932 rows a band.
  auto paletted = Fixture(3000, 1000, 8);
  for (int i = 0; i < 256; ++i)
    paletted.palette.push_back(Bgr{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7)});
  Rows rows(1000);
  for (std::uint32_t i = 0; i < 3000u * 1000u; ++i)
    rows[i / 3000].push_back((i * 37 + i / 3000 * 11) & 0xFF);
  paletted.pixels = PackRows(rows, 8);
  // 2048 x 2048 run-length: stripes a row, some rows skipped by deltas.
  auto rle = Fixture(2048, 2048, 8, 1);
  for (int i = 0; i < 256; ++i)
    rle.palette.push_back(Bgr{std::uint8_t(255 - i), std::uint8_t(i), 0});
  for (std::uint32_t r = 0; r < 2040; ++r) {
    if (r % 500 == 7) rle.pixels.insert(rle.pixels.end(), {0, 2, 3, 1});
    for (std::uint32_t run = 0; run < 8; ++run)
      rle.pixels.insert(rle.pixels.end(), {200, std::uint8_t(r + run * 31)});
    rle.pixels.insert(rle.pixels.end(), {0, 0});
  }
  rle.pixels.insert(rle.pixels.end(), {0, 1});
  for (const auto& fixture : {paletted, rle}) {
    const auto file = BuildBitmap(fixture);
    const auto whole = DecodeBitmapToRgb24(std::span<const std::uint8_t>(file));
    ASSERT_TRUE(whole);
    const std::uint32_t w = fixture.width, h = fixture.height;
    for (auto [tw, th] : {std::pair{577u, 200u}, {w / 2, h * 2 - 1}, {w, h}, {1u, 1u}}) {
      for (std::uint32_t grade = 0; grade < 3; grade += 2) {
        const ConversionParams p = Params(tw, th, grade);
        EXPECT_EQ(Convert(file, p), Convert(*whole, p)) << w << " to " << tw << " x " << th;
      }
    }
  }
  // A literal run that leaves the last row's data short, in the last band only.
  auto damaged = rle;
  damaged.pixels.resize(damaged.pixels.size() - 2);
  damaged.pixels.insert(damaged.pixels.end(), {0, 9, 1, 2});
  EXPECT_FALSE(ConvertBitmapFile(BuildBitmap(damaged), Params(100, 100, 0), kInks));
}

}  // namespace
}  // namespace inkmark
