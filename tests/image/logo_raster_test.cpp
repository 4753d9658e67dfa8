// The print raster: the classifier's one-ink and two-ink forms byte for byte, and
// the checked raster type refusing headers that do not describe their bytes.
#include "image/logo_raster.h"

#include <gtest/gtest.h>

#include "image/bitmap_fixture.h"

namespace inkmark {
namespace {

using testing::BitmapFixture;
using testing::BuildBitmap;
using testing::Fixture;
using testing::PackRows;
using testing::U32At;

constexpr std::uint32_t kWhite = 0xFFFFFF, kRedPixel = 0xFF0000, kGrey = 0xF0F0F0;

// A composed page: 24-bit, pixels at 54; values are 0xRRGGBB.
BitmapFile Page(const std::vector<std::vector<std::uint32_t>>& rows) {
  BitmapFixture fixture = Fixture(static_cast<std::int32_t>(rows[0].size()),
                                  static_cast<std::int32_t>(rows.size()), 24);
  fixture.pixels = PackRows(rows, 24);
  return BuildBitmap(fixture);
}

void ExpectHeader(const BitmapFile& f, std::uint32_t offset, std::uint16_t bits,
                  std::uint32_t width, std::uint32_t height, std::uint32_t stride,
                  std::uint32_t entries) {
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(f.size(), offset + stride * height);
  testing::ExpectFields(f, {{2, 4, offset + stride * height},
                            {6, 4, 0},
                            {10, 4, offset},
                            {14, 4, 40},
                            {18, 4, width},
                            {22, 4, height},
                            {26, 2, 1},
                            {28, 2, bits},
                            {30, 4, 0},
                            {34, 4, stride * height},
                            {38, 4, 0},
                            {42, 4, 0},
                            {46, 4, entries},
                            {50, 4, entries}});
}

TEST(RasterFromComposite, OneInkFormMarksOnlyPureWhite) {
  // 9 wide: bits 1 for white, 0 for anything else, a light grey included.
  const std::vector<std::uint32_t> bottom = {kWhite,    0,      kGrey, kWhite, kWhite,
                                             kRedPixel, kWhite, 0,     kWhite};
  const std::vector<std::uint32_t> top(9, 0);
  auto raster = RasterFromComposite(Page({bottom, top}), kColorRed, kNoInk);
  ASSERT_TRUE(raster);
  const auto& f = raster->bytes();
  ExpectHeader(f, 62, 1, 9, 2, 4, 2);
  EXPECT_EQ(U32At(f, 54), 0x00FF0000u);  // red ink: blue 0, green 0, red 255
  EXPECT_EQ(U32At(f, 58), 0x00FFFFFFu);
  const std::vector<std::uint8_t> rows = {0b10011010, 0b10000000, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 62, f.end()), rows);
}

TEST(RasterFromComposite, TwoInkFormCodesExactColoursOnly) {
  const std::vector<std::uint32_t> row = {0x000000, kRedPixel, kWhite, kGrey, 0xFE0000};
  auto raster = RasterFromComposite(Page({row}), kColorBlack, kColorRed);
  ASSERT_TRUE(raster);
  const auto& f = raster->bytes();
  ExpectHeader(f, 66, 8, 5, 1, 8, 3);
  EXPECT_EQ(U32At(f, 54), 0x00000000u);
  EXPECT_EQ(U32At(f, 58), 0x00FF0000u);
  EXPECT_EQ(U32At(f, 62), 0x00FFFFFFu);
  EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 66, f.end()),
            (std::vector<std::uint8_t>{0, 1, 2, 2, 2, 0, 0, 0}));
}

TEST(RasterFromComposite, InkEntriesFollowTheColourValues) {
  const std::vector<std::uint32_t> row = {0x000000, 0x00FF00, 0x0000FF};
  // Same ink twice: the first wins and code 1 never occurs.
  auto same = RasterFromComposite(Page({row}), kColorGreen, kColorGreen);
  ASSERT_TRUE(same);
  EXPECT_EQ(*same->pixel(1, 0), 0);
  EXPECT_EQ(*same->pixel(0, 0), 2);
  // An unknown first ink prints as black.
  auto unknown = RasterFromComposite(Page({row}), 0x123456, kColorBlue);
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->palette_entry(0), (PaletteEntry{0, 0, 0}));
  EXPECT_EQ(unknown->palette_entry(1), (PaletteEntry{255, 0, 0}));
  EXPECT_EQ(*unknown->pixel(0, 0), 0);
  EXPECT_EQ(*unknown->pixel(2, 0), 1);
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
  BitmapFixture eight = Fixture(2, 1, 8);
  eight.palette = {{0, 0, 0}};
  eight.pixels = {0, 0, 0, 0};
  EXPECT_FALSE(RasterFromComposite(BuildBitmap(eight), session)) << "not 24-bit";
}

TEST(LogoRaster, AccessorsStayInsideTheImage) {
  auto raster = RasterFromComposite(Page({{0, kWhite}, {kWhite, 0}}), kColorRed, kNoInk);
  ASSERT_TRUE(raster);
  EXPECT_EQ(raster->width(), 2);
  EXPECT_EQ(raster->height(), 2);
  EXPECT_EQ(raster->pixel_offset(), 62u);
  EXPECT_EQ(raster->palette_count(), 2u);
  EXPECT_EQ(*raster->pixel(1, 0), 1);
  EXPECT_EQ(*raster->pixel(0, 1), 1);
  EXPECT_FALSE(raster->pixel(2, 0));
  EXPECT_FALSE(raster->pixel(0, -1));
  EXPECT_TRUE(raster->row(2).empty());
  EXPECT_TRUE(raster->mutable_row(-1).empty());
  EXPECT_FALSE(raster->palette_entry(2));
  EXPECT_EQ(raster->FindInk(kColorRed), 0u);
  EXPECT_EQ(raster->FindInk(0xFFFFFF), 1u);
  EXPECT_FALSE(raster->FindInk(kColorBlack));
  EXPECT_FALSE(raster->FindInk(kNoInk)) << "no ink must not match white";
  raster->mutable_row(1)[0] = 0;
  EXPECT_EQ(*raster->pixel(0, 1), 0);
}

TEST(LogoRaster, RefusesInconsistentHeaders) {
  const auto good = RasterFromComposite(Page({{0, kWhite, 0}}), kColorBlack, kColorRed)->bytes();
  ASSERT_TRUE(LogoRaster::FromFile(good));
  auto patched = [&](std::size_t at, std::uint32_t value, int bytes = 4) {
    auto f = good;
    for (int i = 0; i < bytes; ++i) f[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return f;
  };
  EXPECT_FALSE(LogoRaster::FromFile(patched(0, 'X', 1))) << "not BM";
  EXPECT_FALSE(LogoRaster::FromFile(patched(14, 108))) << "header size";
  EXPECT_FALSE(LogoRaster::FromFile(patched(22, 0xFFFFFFFF))) << "top-down";
  EXPECT_FALSE(LogoRaster::FromFile(patched(18, 0))) << "no width";
  EXPECT_FALSE(LogoRaster::FromFile(patched(18, 100))) << "rows past the end";
  EXPECT_FALSE(LogoRaster::FromFile(patched(26, 2, 2))) << "planes";
  EXPECT_FALSE(LogoRaster::FromFile(patched(28, 24, 2))) << "24 bits";
  EXPECT_FALSE(LogoRaster::FromFile(patched(30, 1))) << "compressed";
  EXPECT_FALSE(LogoRaster::FromFile(patched(46, 0))) << "no palette";
  EXPECT_FALSE(LogoRaster::FromFile(patched(46, 4))) << "palette over the pixels";
  EXPECT_FALSE(LogoRaster::FromFile(patched(10, 60))) << "pixels inside the palette";
  EXPECT_FALSE(LogoRaster::FromFile(patched(2, 1000))) << "file size field";
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(LogoRaster::FromFile(BitmapFile(good.begin(), good.begin() + n))) << n;
  }
}

}  // namespace
}  // namespace inkmark
