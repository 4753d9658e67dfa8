// Bitmap files to 24-bit pictures: what the fixtures made by an independent tool
// do not cover (header carried over, long headers, odd masks, run-length escapes,
// data that would write outside the picture), refusals, and reading by name.
#include <gtest/gtest.h>

#include "image/bitmap_fixture.h"
#include "image/picture.h"
#include "image/picture_io.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::Bgr;
using testing::BitmapFixture;
using testing::BuildBitmap;
using testing::Fixture;
using testing::PackRows;
using Rows = std::vector<std::vector<std::uint32_t>>;

// Rows of hex palette indexes, first stored row first, split by blanks; '.' is
// an index past every palette.
Rows Indexes(const std::string& text) {
  Rows rows(1);
  for (char ch : text) {
    if (ch == ' ') rows.emplace_back();
    if (ch != ' ') rows.back().push_back(ch == '.' ? 99 : std::stoul(std::string(1, ch), 0, 16));
  }
  return rows;
}

// The 24-bit picture a decoder must give for those indexes: entries past the
// palette are black; the header is the fixed one, with reserved1 carried over.
BitmapFile Expected(const Rows& indexes, const std::vector<Bgr>& palette,
                    std::uint16_t reserved1 = 0) {
  Rows rgb = indexes;
  for (auto& row : rgb) {
    for (auto& i : row)
      i = i < palette.size() ? palette[i][0] | palette[i][1] << 8 | palette[i][2] << 16 : 0;
  }
  BitmapFixture f =
      Fixture(static_cast<std::int32_t>(rgb[0].size()), static_cast<std::int32_t>(rgb.size()), 24);
  f.pixels = PackRows(rgb, 24);
  f.image_size = static_cast<std::uint32_t>(f.pixels.size());
  f.reserved1 = reserved1;
  return BuildBitmap(f);
}

const std::vector<Bgr> kPalette = {{0, 0, 0}, {255, 255, 255}, {0, 0, 255}, {255, 0, 0}};

TEST(PictureBitmap, IndexedPicturesExpandToTheFixed24BitForm) {
  const struct {
    std::uint16_t bits;
    std::uint32_t header_size;
    const char* rows;
  } cases[] = {
      {1, 40, "1011000001 0100000110"},  // the top bit is the leftmost pixel
      {4, 124, "01230 32103"},           // the palette follows a longer header
      {8, 40, "3210fc1 1cf0123"},        // indexes past the palette read black
  };
  for (const auto& c : cases) {
    const Rows indexes = Indexes(c.rows);
    BitmapFixture f = Fixture(static_cast<std::int32_t>(indexes[0].size()), 2, c.bits);
    f.header_size = c.header_size;
    f.palette = kPalette;
    f.pixels = PackRows(indexes, c.bits);
    f.reserved1 = 0x1234;
    f.x_resolution = 2835;
    f.image_size = 999;
    EXPECT_EQ(DecodeBitmapToRgb24(BuildBitmap(f)), Expected(indexes, kPalette, 0x1234)) << c.bits;
  }
}

TEST(PictureBitmap, ThirtyTwoBitFieldsTakeTheLowEightBitsAndTrueColourStaysAsStored) {
  BitmapFixture f = Fixture(1, 1, 32, 3);
  f.header_size = 108;
  f.masks = {0xFF000000, 0, 0x00000FF0};  // red, green (0 gives 0), blue
  f.pixels = PackRows({{0xAA112233}}, 32);
  EXPECT_EQ(DecodeBitmapToRgb24(BuildBitmap(f)), Expected({{0}}, {{0x23, 0, 0xAA}}));

  BitmapFixture rgb = Fixture(2, 2, 24);
  rgb.pixel_offset = 70;
  rgb.pixels = PackRows({{0x010203, 0x040506}, {0x070809, 0x0A0B0C}}, 24);
  const auto file = BuildBitmap(rgb);
  EXPECT_EQ(DecodeBitmapToRgb24(std::span<const std::uint8_t>(file)), file);
}

TEST(PictureBitmap, RefusesMalformedFiles) {
  BitmapFixture good = Fixture(5, 3, 8);
  good.palette = kPalette;
  good.pixels = PackRows(Indexes("01230 11023 32101"), 8);
  const auto file = BuildBitmap(good);
  ASSERT_TRUE(DecodeBitmapToRgb24(file));
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
    BitmapFixture f = good;
    c.change(f);
    EXPECT_FALSE(DecodeBitmapToRgb24(BuildBitmap(f))) << c.why;
  }
  auto far_offset = file;
  far_offset[10] = 0x88;
  far_offset[11] = 0x13;
  EXPECT_FALSE(DecodeBitmapToRgb24(far_offset)) << "pixel offset past the end";
  // Every truncation of a good file is refused without reading past it.
  for (std::size_t n = 0; n < file.size(); ++n) {
    EXPECT_FALSE(DecodeBitmapToRgb24(std::span<const std::uint8_t>(file.data(), n))) << n;
  }
}

std::optional<BitmapFile> DecodeRle(const Rows& size, std::uint16_t bits,
                                    std::vector<std::uint8_t> data, std::vector<Bgr> palette) {
  BitmapFixture f = Fixture(static_cast<std::int32_t>(size[0].size()),
                            static_cast<std::int32_t>(size.size()), bits, bits == 8 ? 1u : 2u);
  f.palette = std::move(palette);
  f.pixels = std::move(data);
  return DecodeBitmapToRgb24(BuildBitmap(f));
}

TEST(PictureRle, RunsLiteralsEscapesAndPixelsPastTheRowEnd) {
  std::vector<Bgr> palette;
  for (std::uint8_t i = 0; i < 16; ++i) palette.push_back({i, std::uint8_t(i * 2), 100});
  const struct {
    std::uint16_t bits;
    std::vector<std::uint8_t> data;
    const char* rows;
  } cases[] = {
      // Run, padded literal, end of line; a delta to row 2 x 1, a run, end of
      // picture: what the delta skips and the rows after the end stay black.
      {8, {2, 3, 0, 3, 5, 6, 7, 0, 0, 0, 0, 2, 1, 1, 1, 9, 0, 1}, "33567 ..... .9... ....."},
      // Alternating nibbles; literals of 3 nibbles (no pad) and 5 (one pad byte).
      {4, {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0xAB, 0xCD, 0xE0, 0, 0, 1}, "12121345 abcde..."},
      // Runs and literals longer than the row, a run starting past its end: the
      // next row starts at its first pixel all the same.
      {8, {5, 1, 0, 0, 0, 5, 2, 3, 4, 5, 6, 0, 2, 7, 0, 0, 1, 8, 0, 1}, "1111 2345 8..."},
      {4, {5, 0x12, 0, 1}, "121"},
      {8, {4, 1, 0, 0, 0, 1}, "1111"},
      {4, {4, 0x11, 0, 1}, "1111"},
  };
  for (const auto& c : cases) {
    const Rows want = Indexes(c.rows);
    EXPECT_EQ(DecodeRle(want, c.bits, c.data, palette), Expected(want, palette)) << c.rows;
  }
  const struct {
    const char* size;
    std::vector<std::uint8_t> data;
    const char* why;
  } refused[] = {
      {"....", {2, 1, 0, 2, 3, 0, 0, 1}, "delta past row end"},
      {".... ....", {0, 2, 0, 3, 0, 1}, "delta above the top row"},
      {"....", {0, 0, 1, 1, 0, 1}, "run above the top row"},
      {"....", {0, 0, 0, 0, 0, 1}, "end of line above the top row"},
      {"....", {4, 1}, "no end-of-picture marker"},
      {"....", {0, 3, 1, 2}, "literal cut short"},
      {"....", {0, 2, 1}, "delta cut short"},
      {"....", {4}, "half a pair"},
  };
  for (const auto& c : refused) {
    EXPECT_FALSE(DecodeRle(Indexes(c.size), 8, c.data, palette)) << c.why;
  }
}

TEST(PictureIo, ReadsAndWritesWholeFilesAndLoadsByExtension) {
  inkmark::testing::TempDir dir;
  const auto at = [&](const char* name) { return (dir.path() / name).string(); };
  ASSERT_TRUE(WriteWholeFile(at("f.bin"), std::vector<std::uint8_t>{1, 2, 3, 0, 255}));
  ASSERT_TRUE(WriteWholeFile(at("f.bin"), std::vector<std::uint8_t>{9}));
  EXPECT_EQ(ReadWholeFile(at("f.bin")), (std::vector<std::uint8_t>{9})) << "rewriting truncates";
  EXPECT_FALSE(WriteWholeFile("", {}));
  EXPECT_FALSE(WriteWholeFile(at("no/such/dir"), {}));
  EXPECT_FALSE(ReadWholeFile(""));
  EXPECT_FALSE(ReadWholeFile(at("missing")));
  EXPECT_FALSE(ReadWholeFile(dir.path().string())) << "a directory is not a file";

  BitmapFixture f = Fixture(2, 1, 8);
  f.palette = kPalette;
  f.pixels = PackRows({{1, 0}}, 8);
  const auto file = BuildBitmap(f);
  const auto want = DecodeBitmapToRgb24(file);
  const char* names[] = {"a.bmp", "b.BMP", "c.Rle", "d.x.bmp", "e.png", "bmp", "f.bmp.txt"};
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(WriteWholeFile(at(names[i]), file));
    EXPECT_EQ(LoadPicture(at(names[i])), i < 4 ? want : std::nullopt) << names[i];
  }
  EXPECT_FALSE(LoadPicture(at("missing.bmp")));
}

}  // namespace
}  // namespace inkmark
