// JPEG pictures through libjpeg: what the decoder writes besides the pixels (those
// are checked against the fixtures), and every way a JPEG can be refused.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "image/bitmap_fixture.h"
#include "image/jpeg_fixture.h"
#include "image/picture.h"
#include "image/picture_io.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::EncodeJpeg;
using testing::JpegFixture;
using testing::JpegKind;

JpegFixture Colour() {
  JpegFixture f;
  f.width = f.height = 16;
  f.samples.assign(16 * 16 * 3, 200);
  return f;
}

TEST(PictureJpeg, SkipsCommentsAndGivesTheResolutionOnlyPerCentimetre) {
  auto colour = Colour();
  const auto plain = DecodeJpegToBitmap(EncodeJpeg(colour));
  ASSERT_TRUE(plain);
  EXPECT_EQ(testing::U16At(*plain, 28), 24);
  colour.with_comment_and_app12 = true;
  EXPECT_EQ(DecodeJpegToBitmap(EncodeJpeg(colour)), plain);
  // The resolution is the density times 100, only when given per centimetre.
  colour.x_density = 80;
  colour.y_density = 40;
  for (int unit : {1, 2}) {
    colour.density_unit = unit;
    auto dense = DecodeJpegToBitmap(EncodeJpeg(colour));
    ASSERT_TRUE(dense);
    EXPECT_EQ(testing::U32At(*dense, 38), unit == 2 ? 8000u : 0u);
    EXPECT_EQ(testing::U32At(*dense, 42), unit == 2 ? 4000u : 0u);
  }
}

TEST(PictureJpeg, RefusesCmykAndBrokenData) {
  JpegFixture cmyk;
  cmyk.kind = JpegKind::kCmyk;
  cmyk.samples.assign(8 * 8 * 4, 128);
  EXPECT_FALSE(DecodeJpegToBitmap(EncodeJpeg(cmyk)));
  EXPECT_FALSE(DecodeJpegToBitmap({}));
  EXPECT_FALSE(DecodeJpegToBitmap(std::vector<std::uint8_t>(300, 0x5A)));
  // Cut inside the headers: the library's error exit must fail the step without
  // reading past the bytes.
  const auto good = EncodeJpeg(Colour());
  for (std::size_t n = 0; n < 200 && n < good.size(); ++n) {
    EXPECT_FALSE(DecodeJpegToBitmap(std::span(good.data(), n))) << n;
  }
  auto bad_comment = good;  // a comment length of 1 is a fatal error, not a crash
  const std::uint8_t marker[] = {0xFF, 0xFE, 0x00, 0x01};
  bad_comment.insert(bad_comment.begin() + 2, std::begin(marker), std::end(marker));
  EXPECT_FALSE(DecodeJpegToBitmap(bad_comment));
}

TEST(PictureJpeg, FileStepWritesTheBitmapNeverThroughALinkAndLoadingRemovesIt) {
  inkmark::testing::TempDir dir;
  const auto jpeg = EncodeJpeg(Colour());
  const std::string in = (dir.path() / "in.JPG").string(), out = (dir.path() / "out.bmp").string();
  ASSERT_TRUE(WriteWholeFile(in, jpeg));
  ASSERT_EQ(DecodeJpegToBitmapFile(in, out), 1);
  EXPECT_EQ(ReadWholeFile(out), DecodeJpegToBitmap(jpeg));
  EXPECT_EQ(DecodeJpegToBitmapFile((dir.path() / "missing.jpg").string(), out), 0);
  EXPECT_EQ(DecodeJpegToBitmapFile(dir.Write("empty.jpg", "").string(), out), 0);
  const auto victim = dir.Write("victim.txt", "keep");
  std::filesystem::create_symlink(victim, dir.path() / "link.bmp");
  EXPECT_EQ(DecodeJpegToBitmapFile(in, (dir.path() / "link.bmp").string()), 0);
  EXPECT_EQ(inkmark::testing::ReadFileText(victim), "keep");

  // Loading decodes through a temporary file in the private folder, then removes it.
  const auto jpeg_named = dir.Write("in.jpeg", std::string(jpeg.begin(), jpeg.end()));
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", dir.path().c_str(), 1);
  auto picture = LoadPicture(in);
  auto refused = LoadPicture(jpeg_named.string());  // ".jpeg" is not a JPEG source name
  const bool temp_left = std::filesystem::exists(
      dir.path() / ("inkmark-" + std::to_string(::getuid())) / "~qvlogo.$$$");
  old ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
  EXPECT_EQ(picture, DecodeBitmapToRgb24(*DecodeJpegToBitmap(jpeg)));
  EXPECT_FALSE(temp_left);
  EXPECT_FALSE(refused);
}

}  // namespace
}  // namespace inkmark
