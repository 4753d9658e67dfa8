// The print raster: the classifier's one-ink and two-ink forms byte for byte, and
// the checked raster type refusing headers that do not describe their bytes.
#include "image/logo_raster.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/bitmap_fixture.h"

namespace inkmark {
namespace {

using testing::Bgr;
using testing::BuildBitmap;
using testing::Fixture;

constexpr std::uint32_t kWhite = 0xFFFFFF, kRedPixel = 0xFF0000, kGrey = 0xF0F0F0;
constexpr Bgr kWhiteEntry{255, 255, 255};

// A composed page: 24-bit, pixels at 54; values are 0xRRGGBB, first stored row first.
BitmapFile Page(const std::vector<std::vector<std::uint32_t>>& rows) {
  auto f = Fixture(static_cast<std::int32_t>(rows[0].size()),
                   static_cast<std::int32_t>(rows.size()), 24);
  f.pixels = testing::PackRows(rows, 24);
  return BuildBitmap(f);
}

// The raster file the classifier must write: palette after the 40-byte header,
// both colour-count fields set, then the rows.
BitmapFile Raster(std::int32_t w, std::int32_t h, std::uint16_t bits, std::vector<Bgr> palette,
                  std::vector<std::uint8_t> rows) {
  auto f = Fixture(w, h, bits);
  f.palette = std::move(palette);
  f.image_size = static_cast<std::uint32_t>(rows.size());
  f.pixels = std::move(rows);
  auto file = BuildBitmap(f);
  std::copy_n(file.begin() + 46, 4, file.begin() + 50);
  return file;
}

TEST(RasterFromComposite, ClassifiesExactColoursIntoTheInkForms) {
  const Bgr black{0, 0, 0}, red{0, 0, 255}, green{0, 255, 0}, blue{255, 0, 0};
  const std::vector<std::uint32_t> three = {0x000000, 0x00FF00, 0x0000FF};
  const struct {
    std::int32_t first, second;
    std::vector<std::vector<std::uint32_t>> page;
    BitmapFile want;
    const char* why;
  } cases[] = {
      // clang-format off
      {kColorRed, kNoInk, {{kWhite, 0, kGrey, kWhite, kWhite, kRedPixel, kWhite, 0, kWhite},
                           {0, 0, 0, 0, 0, 0, 0, 0, 0}},
       Raster(9, 2, 1, {red, kWhiteEntry}, {0b10011010, 0b10000000, 0, 0, 0, 0, 0, 0}),
       "one ink: bit 1 for pure white only"},
      {kColorBlack, kColorRed, {{0, kRedPixel, kWhite, kGrey, 0xFE0000}},
       Raster(5, 1, 8, {black, red, kWhiteEntry}, {0, 1, 2, 2, 2, 0, 0, 0}),
       "two inks: exact colours only"},
      {kColorGreen, kColorGreen, {three}, Raster(3, 1, 8, {green, green, kWhiteEntry}, {2, 0, 2, 0}),
       "the same ink twice: the first wins"},
      {0x123456, kColorBlue, {three}, Raster(3, 1, 8, {black, blue, kWhiteEntry}, {0, 2, 1, 0}),
       "an unknown first ink prints as black"},
      // clang-format on
  };
  for (const auto& c : cases) {
    auto raster = RasterFromComposite(Page(c.page), c.first, c.second);
    ASSERT_TRUE(raster) << c.why;
    EXPECT_EQ(raster->bytes(), c.want) << c.why;
  }
}

TEST(RasterFromComposite, ReadsTheSessionsInksAndRefusesBrokenPages) {
  LogoSession session;
  session.first_color = kColorBlue;
  session.second_color = kNoInk;
  auto raster = RasterFromComposite(Page({{0}}), session);
  ASSERT_TRUE(raster);
  EXPECT_EQ(raster->bits_per_pixel(), 1);

  auto page = Page({{0, 0}, {0, 0}});
  page.pop_back();
  EXPECT_FALSE(RasterFromComposite(page, session)) << "rows past the end";
  EXPECT_FALSE(RasterFromComposite(std::span(page.data(), 40), session)) << "short header";
  auto eight = Fixture(2, 1, 8);
  eight.palette = {{0, 0, 0}};
  eight.pixels = {0, 0, 0, 0};
  EXPECT_FALSE(RasterFromComposite(BuildBitmap(eight), session)) << "not 24-bit";
}

TEST(LogoRaster, AccessorsStayInsideTheImageAndNoInkMatchesNothing) {
  auto raster = RasterFromComposite(Page({{0, kWhite}, {kWhite, 0}}), kColorRed, kNoInk);
  ASSERT_TRUE(raster);
  EXPECT_FALSE(raster->pixel(2, 0));
  EXPECT_FALSE(raster->pixel(0, -1));
  EXPECT_TRUE(raster->row(2).empty());
  EXPECT_TRUE(raster->mutable_row(-1).empty());
  EXPECT_FALSE(raster->palette_entry(2));
  EXPECT_EQ(raster->FindInk(0xFFFFFF), 1u);
  EXPECT_FALSE(raster->FindInk(kNoInk)) << "no ink must not match white";
}

TEST(LogoRaster, RefusesInconsistentHeaders) {
  const auto good = RasterFromComposite(Page({{0, kWhite, 0}}), kColorBlack, kColorRed)->bytes();
  ASSERT_TRUE(LogoRaster::FromFile(good));
  const struct {
    std::size_t at;
    std::uint32_t value;
    int bytes;
    const char* why;
  } cases[] = {
      // clang-format off
      {0, 'X', 1, "not BM"},          {14, 108, 4, "header size"},   {22, 0xFFFFFFFF, 4, "top-down"},
      {18, 0, 4, "no width"},         {18, 100, 4, "rows past the end"}, {26, 2, 2, "planes"},
      {28, 24, 2, "24 bits"},         {30, 1, 4, "compressed"},      {46, 0, 4, "no palette"},
      {46, 4, 4, "palette over the pixels"}, {10, 60, 4, "pixels inside the palette"},
      {2, 1000, 4, "file size field"},
      // clang-format on
  };
  for (const auto& c : cases) {
    auto f = good;
    for (int i = 0; i < c.bytes; ++i) f[c.at + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
    EXPECT_FALSE(LogoRaster::FromFile(f)) << c.why;
  }
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(LogoRaster::FromFile(BitmapFile(good.begin(), good.begin() + n))) << n;
  }
}

}  // namespace
}  // namespace inkmark
