// Logo rasters classified from composed pages, and the raster headers refused.
#include "document/logo_raster.h"

#include <gtest/gtest.h>

#include "support/bitmap_fixture.h"

namespace inkmark {
namespace {

using namespace testing;

constexpr std::uint32_t kWhite = 0xFFFFFF, kRedPixel = 0xFF0000, kGrey = 0xF0F0F0;

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
  const Bgr black{0, 0, 0}, red{0, 0, 255}, white{255, 255, 255};
  const std::tuple<std::int32_t, std::int32_t, Rows, BitmapFile, const char*> cases[] = {
      // clang-format off
      {kColorRed, kNoInk, {{kWhite, 0, kGrey, kWhite, kWhite, kRedPixel, kWhite, 0, kWhite},
                           {0, 0, 0, 0, 0, 0, 0, 0, 0}},
       Raster(9, 2, 1, {red, white}, {0b10011010, 0b10000000, 0, 0, 0, 0, 0, 0}),
       "one ink: bit 1 for pure white only"},
      {kColorBlack, kColorRed, {{0, kRedPixel, kWhite, kGrey, 0xFE0000}},
       Raster(5, 1, 8, {black, red, white}, {0, 1, 2, 2, 2, 0, 0, 0}),
       "two inks: exact colours only"},
      // clang-format on
  };
  for (const auto& [first, second, page, want, why] : cases) {
    auto raster = RasterFromComposite(Page(page), first, second);
    ASSERT_TRUE(raster) << why;
    EXPECT_EQ(raster->bytes(), want) << why;
  }
}

TEST(RasterFromComposite, ReadsTheSessionsInksRefusesBrokenPagesAndStaysInside) {
  LogoSession session;
  session.first_color = kColorBlue;
  session.second_color = kNoInk;
  auto raster = RasterFromComposite(Page({{0, kWhite}, {kWhite, 0}}), session);
  ASSERT_TRUE(raster && raster->bits_per_pixel() == 1);
  EXPECT_FALSE(raster->pixel(2, 0) || raster->pixel(0, -1) || raster->row(2).size());
  EXPECT_EQ(raster->FindInk(0xFFFFFF), 1u);
  // Blue (0xFF0000) and red (0x0000FF) are each other's byte order reversed.
  EXPECT_EQ(raster->FindInk(kColorBlue), 0u);
  EXPECT_FALSE(raster->FindInk(kColorRed)) << "red read as blue";
  EXPECT_FALSE(raster->FindInk(kNoInk)) << "no ink must not match white";

  auto page = Page({{0, 0}, {0, 0}});
  page.pop_back();
  EXPECT_FALSE(RasterFromComposite(page, session)) << "rows past the end";
  EXPECT_FALSE(RasterFromComposite(std::span(page.data(), 40), session)) << "short header";
  EXPECT_FALSE(RasterFromComposite(Raster(2, 1, 8, {{0, 0, 0}}, {0, 0, 0, 0}), session))
      << "not 24-bit";
}

TEST(LogoRaster, RefusesInconsistentHeaders) {
  const auto good = RasterFromComposite(Page({{0, kWhite, 0}}), kColorBlack, kColorRed)->bytes();
  ASSERT_TRUE(LogoRaster::FromFile(good));
  const std::tuple<std::size_t, std::uint32_t, int, const char*> cases[] = {
      // clang-format off
      {0, 'X', 1, "not BM"},          {22, 0xFFFFFFFF, 4, "top-down"}, {18, 0, 4, "no width"},
      {18, 100, 4, "rows past the end"}, {28, 24, 2, "24 bits"},      {46, 0, 4, "no palette"},
      {46, 4, 4, "palette over the pixels"}, {10, 60, 4, "pixels inside the palette"},
      {2, 1000, 4, "file size field"},
      // clang-format on
  };
  for (const auto& [at, value, bytes, why] : cases) {
    auto f = good;
    for (int i = 0; i < bytes; ++i) f[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    EXPECT_FALSE(LogoRaster::FromFile(f)) << why;
  }
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(LogoRaster::FromFile(BitmapFile(good.begin(), good.begin() + n))) << n;
  }
}

}  // namespace
}  // namespace inkmark
