// Pictures to 24-bit form: what the reference pictures made by an independent
// tool do not cover (long headers, odd masks, run-length escapes, data that
// would write outside the picture), refusals of bitmaps and JPEGs, the JPEG file
// step, loading through a temporary file, and the scaler's exact sampling. The print raster: the
// classifier's one-ink and two-ink forms byte for byte, and the checked raster
// type refusing headers that do not describe their bytes.
#include "picture/picture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "picture/picture_formats.h"
#include "picture/picture_io.h"
#include "platform/string_table.h"
#include "support/bitmap_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using namespace testing;

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

// The picture a decoder must give for those indexes: entries past the palette are black.
BitmapFile Expected(Rows rgb, const std::vector<Bgr>& palette) {
  for (auto& row : rgb)
    for (auto& i : row)
      i = i < palette.size() ? palette[i][0] | palette[i][1] << 8 | palette[i][2] << 16 : 0;
  return Page(rgb);
}

const std::vector<Bgr> kPalette = {{0, 0, 0}, {255, 255, 255}, {0, 0, 255}, {255, 0, 0}};

TEST(PictureBitmap, ExpandsPalettesAndOddMasksAndRefusesMalformedFiles) {
  // The palette follows a longer header; indexes past it read black.
  BitmapFixture good = Fixture(5, 3, 8);
  good.header_size = 124;
  good.palette = kPalette;
  good.pixels = PackRows(Indexes("01230 1f023 3210c"), 8);
  good.image_size = 999;
  const auto file = BuildBitmap(good);
  ASSERT_EQ(DecodeBitmapToRgb24(file), Expected(Indexes("01230 1f023 3210c"), kPalette));
  BitmapFixture fields = Fixture(1, 1, 32, 3);
  fields.header_size = 108;
  fields.masks = {0xFF000000, 0, 0x00000FF0};  // red, green (0 gives 0), blue
  fields.pixels = PackRows({{0xAA112233}}, 32);
  EXPECT_EQ(DecodeBitmapToRgb24(BuildBitmap(fields)), Expected({{0}}, {{0x23, 0, 0xAA}}));

  constexpr auto kCorrupt = FailureCode::kCorrupt;
  const std::tuple<void (*)(BitmapFixture&), FailureCode, const char*> cases[] = {
      {[](BitmapFixture& f) { f.palette.clear(), f.pixel_offset = 14 + 124; }, kCorrupt,
       "no palette"},
      {[](BitmapFixture& f) { f.pixels.pop_back(); }, kCorrupt, "last row short"},
      {[](BitmapFixture& f) { f.height = -3; }, kCorrupt, "top-down rows"},
      {[](BitmapFixture& f) { f.width = 0; }, kCorrupt, "no width"},
      {[](BitmapFixture& f) { f.compression = 2; }, FailureCode::kUnsupported,
       "RLE4 on an 8-bit picture"},
      {[](BitmapFixture& f) { f.width = 40000; }, FailureCode::kTooLarge, "wider than the limit"},
      {[](BitmapFixture& f) {
         f = Fixture(1, 1, 16, 3), f.masks = {0xF800, 0, 0x1F}, f.pixels = {0, 0, 0, 0};
       },
       kCorrupt, "16-bit mask of 0"},
      {[](BitmapFixture& f) { f = Fixture(4, 4, 24), f.pixels.assign(12 * 4 - 1, 0); }, kCorrupt,
       "24-bit rows past the end"},
  };
  for (const auto& [change, code, why] : cases) {
    BitmapFixture f = good;
    change(f);
    auto refused = DecodeBitmapToRgb24(BuildBitmap(f));
    ASSERT_FALSE(refused) << why;
    EXPECT_EQ(refused.code(), code) << why << ": " << refused.detail();
    EXPECT_TRUE(refused.detail().starts_with("bitmap: ")) << why << ": " << refused.detail();
  }
  // The pixel limit, both sides: 8192 x 8192 is taken (and then wants its rows),
  // one row more is refused before anything is allocated.
  BitmapFixture most = Fixture(8192, 8192, 24);
  most.pixels.clear();
  EXPECT_EQ(DecodeBitmapToRgb24(BuildBitmap(most)).code(), kCorrupt);
  most.height = 8193;
  auto over = DecodeBitmapToRgb24(BuildBitmap(most));
  EXPECT_EQ(over.code(), FailureCode::kTooLarge);
  EXPECT_EQ(over.detail(), "bitmap: 8192 \u00d7 8193 is more than the 64-megapixel limit");
  auto far = file;
  far[11] = 0x13;  // a pixel offset past the end
  EXPECT_FALSE(DecodeBitmapToRgb24(far));
  // Every truncation of a good file is refused without reading past it.
  for (std::size_t n = 0; n < file.size(); ++n) {
    EXPECT_FALSE(DecodeBitmapToRgb24(std::span<const std::uint8_t>(file.data(), n))) << n;
  }
}

Result<BitmapFile> DecodeRle(const Rows& size, std::uint16_t bits, std::vector<std::uint8_t> data,
                             std::vector<Bgr> palette) {
  BitmapFixture f = Fixture(static_cast<std::int32_t>(size[0].size()),
                            static_cast<std::int32_t>(size.size()), bits, bits == 8 ? 1u : 2u);
  f.palette = std::move(palette);
  f.pixels = std::move(data);
  return DecodeBitmapToRgb24(BuildBitmap(f));
}

TEST(PictureRle, RunsLiteralsEscapesAndPixelsPastTheRowEnd) {
  std::vector<Bgr> palette;
  for (std::uint8_t i = 0; i < 16; ++i) palette.push_back({i, std::uint8_t(i * 2), 100});
  const std::tuple<std::uint16_t, std::vector<std::uint8_t>, const char*> cases[] = {
      // Run, padded literal, end of line; a delta to row 2 x 1, a run, end of
      // picture: what the delta skips and the rows after the end stay black.
      {8, {2, 3, 0, 3, 5, 6, 7, 0, 0, 0, 0, 2, 1, 1, 1, 9, 0, 1}, "33567 ..... .9... ....."},
      // Alternating nibbles; literals of 3 nibbles (no pad) and 5 (one pad byte).
      {4, {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0xAB, 0xCD, 0xE0, 0, 0, 1}, "12121345 abcde..."},
      // Runs and literals longer than the row, a run starting past its end: the
      // next row starts at its first pixel all the same.
      {8, {5, 1, 0, 0, 0, 5, 2, 3, 4, 5, 6, 0, 2, 7, 0, 0, 1, 8, 0, 1}, "1111 2345 8..."},
  };
  for (const auto& [bits, data, rows] : cases) {
    const Rows want = Indexes(rows);
    EXPECT_EQ(DecodeRle(want, bits, data, palette), Expected(want, palette)) << rows;
  }
  const std::tuple<const char*, std::vector<std::uint8_t>, const char*> refused[] = {
      {"....", {2, 1, 0, 2, 3, 0, 0, 1}, "delta past row end"},
      {".... ....", {0, 2, 0, 3, 0, 1}, "delta above the top row"},
      {"....", {0, 0, 1, 1, 0, 1}, "run above the top row"},
      {"....", {0, 0, 0, 0, 0, 1}, "end of line above the top row"},
      {"....", {4, 1}, "no end-of-picture marker"},
      {"....", {0, 3, 1, 2}, "literal cut short"},
      {"....", {0, 2, 1}, "delta cut short"},
      {"....", {4}, "half a pair"},
  };
  for (const auto& [size, data, why] : refused) {
    EXPECT_FALSE(DecodeRle(Indexes(size), 8, data, palette)) << why;
  }
}

TEST(PictureJpeg, RefusesCmykAndBrokenData) {
  EXPECT_FALSE(DecodeJpegToBitmap(EncodeJpeg(4)));
  // Cut inside the headers: the library's error exit must fail the step without
  // reading past the bytes.
  const auto good = EncodeJpeg(3);
  ASSERT_TRUE(DecodeJpegToBitmap(good));
  for (std::size_t n = 0; n < 200 && n < good.size(); ++n) {
    EXPECT_FALSE(DecodeJpegToBitmap(std::span(good.data(), n))) << n;
  }
}

// The table of formats is the one list: the session's source kinds and the
// Open dialog's file types name exactly its extensions, in either letter case.
TEST(PictureFormats, SourceKindsAndTheOpenDialogFollowTheTable) {
  const std::string types = LoadString(kStrOpenFileTypes, 255);
  std::string upper;
  for (const PictureFormatInfo& f : PictureFormats()) {
    const std::string ext(f.extension);
    std::string lower = ext;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(SourceKindFromPath("a." + ext), kSourceNone) << ext;
    EXPECT_NE(SourceKindFromPath("a." + lower), kSourceNone) << ext;
    EXPECT_EQ(PictureFormatOf("dir.x/a." + lower), &f) << ext;
    EXPECT_NE(types.find("*." + ext), std::string::npos) << ext;
    upper += ext;
  }
  EXPECT_EQ(PictureExtensionList(), ".BMP, .RLE, .JPG, .PNG, .GIF, .SVG");
  // Nothing else is taken for a picture.
  for (const char* other : {"a.tif", "a.jpeg", "a", "a.bmp.txt", "bmp"}) {
    EXPECT_EQ(PictureFormatOf(other), nullptr) << other;
    EXPECT_EQ(SourceKindFromPath(other), kSourceNone) << other;
  }
  EXPECT_EQ(SourceKindFromPath("a.QLF"), kSourceDocument);
  // Every file type the Open dialog offers is one of them or a logo document.
  for (std::size_t at = types.find("*."); at != std::string::npos; at = types.find("*.", at + 2)) {
    const std::string ext = types.substr(at + 2, 3);
    EXPECT_TRUE(ext == "QLF" || upper.find(ext) != std::string::npos) << ext;
  }
}

TEST(PictureLoad, EachRefusalSaysWhyAndAFifoIsRefusedAtOnce) {
  TempDir dir;
  const std::string fifo = (dir.path() / "pipe.bmp").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Opened without waiting for a writer, then refused: the test would hang otherwise.
  auto piped = LoadPicture(fifo);
  ASSERT_FALSE(piped);
  EXPECT_EQ(piped.code(), FailureCode::kNotRegularFile);
  auto missing = LoadPicture((dir.path() / "none.jpg").string());
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.detail(), "No such file or directory");
  EXPECT_EQ(LoadPicture(dir.Write("logo.tif", "II*").string()).code(), FailureCode::kUnknownFormat);
  auto cmyk = DecodeJpegToRgb24(EncodeJpeg(4));
  EXPECT_EQ(cmyk.code(), FailureCode::kUnsupported);
  // Broken data keeps libjpeg's own words.
  const auto good = EncodeJpeg(3);
  auto cut = DecodeJpegToRgb24(std::span(good.data(), good.size() / 2));
  ASSERT_FALSE(cut);
  EXPECT_EQ(cut.code(), FailureCode::kCorrupt);
  EXPECT_EQ(cut.detail(), "JPEG: Premature end of JPEG file");
}

TEST(PictureLoad, JpegFileStepNeverWritesThroughALinkAndLoadingWritesNoFile) {
  TempDir dir;
  const auto jpeg = EncodeJpeg(3);
  const std::string in = (dir.path() / "in.JPG").string(), out = (dir.path() / "out.bmp").string();
  ASSERT_TRUE(WriteWholeFile(in, jpeg));
  ASSERT_EQ(DecodeJpegToBitmapFile(in, out), 1);
  EXPECT_EQ(ReadWholeFile(out), DecodeJpegToBitmap(jpeg));
  const auto victim = dir.Write("victim.txt", "keep");
  std::filesystem::create_symlink(victim, dir.path() / "link.bmp");
  EXPECT_EQ(DecodeJpegToBitmapFile(in, (dir.path() / "link.bmp").string()), 0);
  EXPECT_EQ(ReadFileText(victim), "keep");

  // Loading decodes in memory: nothing appears in the temporary folder.
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", dir.path().c_str(), 1);
  auto picture = LoadPicture(in);
  const auto folder = dir.path() / ("inkmark-" + std::to_string(::getuid()));
  const bool temp_left = std::filesystem::exists(folder) && !std::filesystem::is_empty(folder);
  old ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
  EXPECT_EQ(picture, DecodeBitmapToRgb24(*DecodeJpegToBitmap(jpeg)));
  EXPECT_EQ(picture, DecodeJpegToRgb24(jpeg));
  EXPECT_FALSE(temp_left);
}

// Rows of w x h pixels whose blue byte is the column and green byte the row,
// each padded to 4 bytes.
std::vector<std::uint8_t> CoordinateRows(std::int32_t w, std::int32_t h) {
  Rows rows(h);
  for (std::int32_t i = 0; i < w * h; ++i) rows[i / w].push_back(i % w | i / w << 8);
  return PackRows(rows, 24);
}

TEST(PictureResample, TakesTheNeighbourOnTheCentresSideButTheLastRowAndColumnAsTheyStand) {
  const auto big = CoordinateRows(100, 100);
  auto half = ResampleRgb24(100, 100, 50, 50, big.data(), 300, 7);
  ASSERT_TRUE(half && half->size() == 7u + 152 * 50);
  EXPECT_EQ((*half)[0], 0) << "header room stays zero";
  for (int i = 0; i < 50; ++i) {
    const int want = i <= 25 ? 2 * i + 1 : 2 * i;  // 1, 3 .. 51, then 52, 54 .. 98
    EXPECT_EQ((*half)[7 + 3 * i], want) << "column " << i;
    EXPECT_EQ((*half)[7 + i * 152 + 1], want) << "row " << i;
  }

  const auto small = CoordinateRows(4, 4);
  auto same = ResampleRgb24(4, 4, 4, 4, small.data(), 12, 0);
  ASSERT_TRUE(same);
  for (auto [x, y, column, row] :
       {std::array{0, 0, 1, 1}, {2, 2, 3, 3}, {3, 0, 3, 0}, {0, 3, 0, 3}})
    EXPECT_EQ(((*same)[y * 12 + 3 * x] << 8) | (*same)[y * 12 + 3 * x + 1], column << 8 | row)
        << x << "," << y;

  // Enlarging 2 x 1 to 5 x 2 (step 0.4): columns 0 0 0 1 1 on both rows.
  auto wide = ResampleRgb24(2, 1, 5, 2, small.data(), 12, 0);
  ASSERT_TRUE(wide && wide->size() == 16u * 2);
  for (int i = 0; i < 10; ++i) EXPECT_EQ((*wide)[i / 5 * 16 + i % 5 * 3], i % 5 < 3 ? 0 : 1) << i;

  EXPECT_FALSE(ResampleRgb24(0, 2, 4, 4, small.data(), 8, 0));
  EXPECT_FALSE(ResampleRgb24(2, 2, 40000, 1, small.data(), 8, 0));
  EXPECT_FALSE(ResampleRgb24(2, 2, 4, 4, small.data(), 5, 0)) << "stride shorter than a row";
}

}  // namespace
}  // namespace inkmark
