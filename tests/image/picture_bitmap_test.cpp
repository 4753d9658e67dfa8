// Bitmap files of every depth and compression to 24-bit pictures.
#include <gtest/gtest.h>

#include "image/bitmap_fixture.h"
#include "image/picture.h"

namespace inkmark {
namespace {

using testing::Bgr;
using testing::BitmapFixture;
using testing::BuildBitmap;
using testing::Fixture;
using testing::PackRows;
using testing::PixelAt;
using testing::U32At;

const std::vector<Bgr> kPalette = {{0, 0, 0}, {255, 255, 255}, {0, 0, 255}, {255, 0, 0}};

// A 5 x 3 picture of palette indexes (odd width, so every depth pads its rows).
const std::vector<std::vector<std::uint32_t>> kIndexes = {
    {0, 1, 2, 3, 0}, {1, 1, 0, 2, 3}, {3, 2, 1, 0, 1}};

void ExpectIndexedPixels(const BitmapFile& out) {
  for (std::int32_t r = 0; r < 3; ++r) {
    for (std::int32_t x = 0; x < 5; ++x) {
      EXPECT_EQ(PixelAt(out, x, r), kPalette[kIndexes[r][x]]) << "x " << x << " row " << r;
    }
  }
}

TEST(PictureBitmap, IndexedDepthsExpandThroughThePalette) {
  for (unsigned bits : {4u, 8u}) {
    BitmapFixture fixture = Fixture(5, 3, static_cast<std::uint16_t>(bits));
    fixture.palette = kPalette;
    fixture.pixels = PackRows(kIndexes, bits);
    auto out = DecodeBitmapToRgb24(BuildBitmap(fixture));
    ASSERT_TRUE(out) << bits;
    ExpectIndexedPixels(*out);
  }
  // One bit: the most significant bit is the leftmost pixel.
  BitmapFixture fixture = Fixture(10, 1, 1);
  fixture.palette = {{1, 2, 3}, {4, 5, 6}};
  fixture.pixels = {0b10110000, 0b01000000, 0, 0};
  auto out = DecodeBitmapToRgb24(BuildBitmap(fixture));
  ASSERT_TRUE(out);
  const std::vector<int> bits = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelAt(*out, x, 0), fixture.palette[bits[x]]) << x;
}

TEST(PictureBitmap, ExpandedPictureHasTheFixed24BitHeader) {
  BitmapFixture fixture = Fixture(5, 3, 8);
  fixture.palette = kPalette;
  fixture.pixels = PackRows(kIndexes, 8);
  fixture.reserved1 = 0x1234;
  fixture.x_resolution = 2835;
  fixture.image_size = 999;
  auto out = DecodeBitmapToRgb24(BuildBitmap(fixture));
  ASSERT_TRUE(out);
  const std::uint32_t image_size = 16 * 3;
  ASSERT_EQ(out->size(), 54 + image_size);
  EXPECT_EQ((*out)[0], 'B');
  // The file header (reserved fields included) is carried over; the rest is fixed.
  testing::ExpectFields(*out, {{2, 4, 54 + image_size},
                               {6, 2, 0x1234},
                               {10, 4, 54},
                               {14, 4, 40},
                               {18, 4, 5},
                               {22, 4, 3},
                               {26, 2, 1},
                               {28, 2, 24},
                               {30, 4, 0},
                               {34, 4, image_size},
                               {38, 4, 0},
                               {42, 4, 0},
                               {46, 4, 0},
                               {50, 4, 0}});
  // Row padding stays zero.
  EXPECT_EQ((*out)[54 + 15], 0);
}

TEST(PictureBitmap, MaskedDepthsDecodeTheirChannels) {
  // 16 bits without bit fields is 5-5-5: full red, mid green, blue 1.
  BitmapFixture s555 = Fixture(1, 1, 16);
  s555.pixels = PackRows({{0x7C00 | (16 << 5) | 1}}, 16);
  auto out = DecodeBitmapToRgb24(BuildBitmap(s555));
  ASSERT_TRUE(out);
  EXPECT_EQ(PixelAt(*out, 0, 0), (Bgr{255 / 31, 16 * 255 / 31, 255}));

  // 5-6-5 bit fields: each channel scaled from its own range.
  BitmapFixture s565 = Fixture(2, 1, 16, 3);
  s565.masks = {0xF800, 0x07E0, 0x001F};
  s565.pixels = PackRows({{0xFFFF, 1 << 5}}, 16);
  out = DecodeBitmapToRgb24(BuildBitmap(s565));
  ASSERT_TRUE(out);
  EXPECT_EQ(PixelAt(*out, 0, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(PixelAt(*out, 1, 0), (Bgr{0, 255 / 63, 0}));

  // 32 bits: the low 8 bits of each field, unscaled; a zero mask gives 0.
  BitmapFixture s32 = Fixture(1, 1, 32);
  s32.pixels = PackRows({{0xAA112233}}, 32);
  out = DecodeBitmapToRgb24(BuildBitmap(s32));
  ASSERT_TRUE(out);
  EXPECT_EQ(PixelAt(*out, 0, 0), (Bgr{0x33, 0x22, 0x11}));
  s32.compression = 3;
  s32.masks = {0xFF000000, 0, 0x00000FF0};
  out = DecodeBitmapToRgb24(BuildBitmap(s32));
  ASSERT_TRUE(out);
  EXPECT_EQ(PixelAt(*out, 0, 0), (Bgr{0x23, 0, 0xAA}));
}

TEST(PictureBitmap, LongerInformationHeadersKeepPaletteAndMasksApart) {
  // With a 124-byte header the palette follows the header, and the masks are
  // the header's own fields at offset 54.
  BitmapFixture pal = Fixture(5, 3, 8);
  pal.header_size = 124;
  pal.palette = kPalette;
  pal.pixels = PackRows(kIndexes, 8);
  auto out = DecodeBitmapToRgb24(BuildBitmap(pal));
  ASSERT_TRUE(out);
  ExpectIndexedPixels(*out);

  BitmapFixture masked = Fixture(1, 1, 32, 3);
  masked.header_size = 108;
  masked.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  masked.pixels = PackRows({{0x00102030}}, 32);
  out = DecodeBitmapToRgb24(BuildBitmap(masked));
  ASSERT_TRUE(out);
  EXPECT_EQ(PixelAt(*out, 0, 0), (Bgr{0x10, 0x20, 0x30}));
}

TEST(PictureBitmap, IndexesPastThePaletteReadBlack) {
  BitmapFixture fixture = Fixture(3, 1, 8);
  fixture.palette = {{9, 9, 9}, {7, 7, 7}};
  fixture.pixels = PackRows({{1, 200, 255}}, 8);
  auto out = DecodeBitmapToRgb24(BuildBitmap(fixture));
  ASSERT_TRUE(out);
  EXPECT_EQ(PixelAt(*out, 0, 0), (Bgr{7, 7, 7}));
  EXPECT_EQ(PixelAt(*out, 1, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(PixelAt(*out, 2, 0), (Bgr{0, 0, 0}));
}

TEST(PictureBitmap, TwentyFourBitFileComesBackAsStored) {
  BitmapFixture fixture = Fixture(2, 2, 24);
  fixture.pixel_offset = 70;
  fixture.pixels = PackRows({{0x010203, 0x040506}, {0x070809, 0x0A0B0C}}, 24);
  const auto file = BuildBitmap(fixture);  // image size 0, pixels at 70
  auto out = DecodeBitmapToRgb24(std::span<const std::uint8_t>(file));
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, file);
  EXPECT_EQ(PixelAt(*out, 1, 1), (Bgr{0x0C, 0x0B, 0x0A}));
}

TEST(PictureBitmap, RefusesMalformedFiles) {
  BitmapFixture good = Fixture(5, 3, 8);
  good.palette = kPalette;
  good.pixels = PackRows(kIndexes, 8);
  ASSERT_TRUE(DecodeBitmapToRgb24(BuildBitmap(good)));

  const struct {
    void (*change)(BitmapFixture&);
    const char* why;
  } cases[] = {
      {[](BitmapFixture& f) { f.palette.clear(), f.pixel_offset = 54; }, "no palette"},
      {[](BitmapFixture& f) { f.pixels.pop_back(); }, "last row short"},
      {[](BitmapFixture& f) { f.height = -3; }, "top-down rows"},
      {[](BitmapFixture& f) { f.width = 0; }, "no width"},
      {[](BitmapFixture& f) { f.bits_per_pixel = 2; }, "2 bits per pixel"},
      {[](BitmapFixture& f) { f.compression = 2; }, "RLE4 on an 8-bit picture"},
      {[](BitmapFixture& f) { f.header_size = 12; }, "core header"},
      {[](BitmapFixture& f) { f.width = 40000; }, "wider than the limit"},
      {[](BitmapFixture& f) {
         f = Fixture(1, 1, 16, 3), f.masks = {0xF800, 0, 0x1F}, f.pixels = {0, 0, 0, 0};
       },
       "16-bit mask of 0"},
      {[](BitmapFixture& f) { f = Fixture(4, 4, 24), f.pixels.assign(12 * 4 - 1, 0); },
       "24-bit rows past the end"},
  };
  for (const auto& c : cases) {
    BitmapFixture fixture = good;
    c.change(fixture);
    EXPECT_FALSE(DecodeBitmapToRgb24(BuildBitmap(fixture))) << c.why;
  }
  auto far_offset = BuildBitmap(good);
  far_offset[10] = 0x88;  // pixel offset 0x1388, past the end
  far_offset[11] = 0x13;
  EXPECT_FALSE(DecodeBitmapToRgb24(far_offset)) << "pixel offset past the end";

  // Every truncation of a good file is refused without reading past it.
  const auto file = BuildBitmap(good);
  for (std::size_t n = 0; n < file.size(); ++n) {
    EXPECT_FALSE(DecodeBitmapToRgb24(std::span<const std::uint8_t>(file.data(), n))) << n;
  }
}

}  // namespace
}  // namespace inkmark
