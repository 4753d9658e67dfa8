// JPEG pictures through libjpeg: the bitmap file written, and every way a JPEG
// can be refused.
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
using testing::PixelAt;
using testing::U16At;
using testing::U32At;

// 16 x 16: top half red, bottom half blue (flat blocks survive compression).
JpegFixture RedOverBlue() {
  JpegFixture fixture;
  fixture.width = 16;
  fixture.height = 16;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool top = y < 8;
      fixture.samples.insert(fixture.samples.end(),
                             {std::uint8_t(top ? 255 : 0), 0, std::uint8_t(top ? 0 : 255)});
    }
  }
  return fixture;
}

void ExpectNear(testing::Bgr got, testing::Bgr want) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], 6) << "channel " << c;
}

TEST(PictureJpeg, ColourGives24BitFileBottomUp) {
  auto fixture = RedOverBlue();
  fixture.with_comment_and_app12 = true;  // skipped, not decoded
  auto bmp = DecodeJpegToBitmap(EncodeJpeg(fixture));
  ASSERT_TRUE(bmp);
  ASSERT_EQ(bmp->size(), 54u + 48 * 16);
  EXPECT_EQ((*bmp)[0], 'B');
  const auto size = static_cast<std::uint32_t>(bmp->size());  // image size (34) is left 0
  testing::ExpectFields(*bmp, {{2, 4, size},
                               {10, 4, 54},
                               {14, 4, 40},
                               {18, 4, 16},
                               {22, 4, 16},
                               {28, 2, 24},
                               {34, 4, 0},
                               {46, 4, 0}});
  // The first stored row is the JPEG's bottom line (blue).
  ExpectNear(PixelAt(*bmp, 3, 0), {255, 0, 0});
  ExpectNear(PixelAt(*bmp, 3, 15), {0, 0, 255});
}

TEST(PictureJpeg, GreyGives8BitFileWithGreyPalette) {
  JpegFixture fixture;
  fixture.width = 5;
  fixture.height = 2;
  fixture.kind = JpegKind::kGrey;
  fixture.samples = {10, 10, 10, 10, 10, 200, 200, 200, 200, 200};
  auto bmp = DecodeJpegToBitmap(EncodeJpeg(fixture));
  ASSERT_TRUE(bmp);
  ASSERT_EQ(bmp->size(), 1078u + 8 * 2);
  testing::ExpectFields(*bmp, {{10, 4, 1078}, {28, 2, 8}, {46, 4, 256}});
  for (unsigned i = 0; i < 256; i += 51) {
    EXPECT_EQ(U32At(*bmp, 54 + 4 * i), i | (i << 8) | (i << 16)) << i;
  }
  // Expanded to 24 bits as any 8-bit picture is.
  auto rgb = DecodeBitmapToRgb24(*bmp);
  ASSERT_TRUE(rgb);
  EXPECT_NEAR(PixelAt(*rgb, 4, 1)[1], 10, 4);
  EXPECT_NEAR(PixelAt(*rgb, 0, 0)[2], 200, 4);
}

TEST(PictureJpeg, ResolutionIsDensityTimes100OnlyPerCentimetre) {
  auto fixture = RedOverBlue();
  fixture.density_unit = 2;
  fixture.x_density = 80;
  fixture.y_density = 40;
  auto bmp = DecodeJpegToBitmap(EncodeJpeg(fixture));
  ASSERT_TRUE(bmp);
  testing::ExpectFields(*bmp, {{38, 4, 8000}, {42, 4, 4000}});
  fixture.density_unit = 1;
  bmp = DecodeJpegToBitmap(EncodeJpeg(fixture));
  ASSERT_TRUE(bmp);
  testing::ExpectFields(*bmp, {{38, 4, 0}, {42, 4, 0}});
}

TEST(PictureJpeg, RefusesCmykAndBrokenData) {
  JpegFixture cmyk;
  cmyk.width = 8;
  cmyk.height = 8;
  cmyk.kind = JpegKind::kCmyk;
  cmyk.samples.assign(8 * 8 * 4, 128);
  EXPECT_FALSE(DecodeJpegToBitmap(EncodeJpeg(cmyk)));

  EXPECT_FALSE(DecodeJpegToBitmap({}));
  const std::vector<std::uint8_t> garbage(300, 0x5A);
  EXPECT_FALSE(DecodeJpegToBitmap(garbage));
  // Cut inside the headers: the library's error exit must fail the step, and
  // every prefix must come back without reading past the bytes.
  const auto good = EncodeJpeg(RedOverBlue());
  for (std::size_t n = 0; n < 200 && n < good.size(); ++n) {
    EXPECT_FALSE(DecodeJpegToBitmap(std::span(good.data(), n))) << n;
  }
  // A bogus comment length is a fatal error, not a crash.
  std::vector<std::uint8_t> bad_comment = good;
  const std::uint8_t marker[] = {0xFF, 0xFE, 0x00, 0x01};
  bad_comment.insert(bad_comment.begin() + 2, std::begin(marker), std::end(marker));
  EXPECT_FALSE(DecodeJpegToBitmap(bad_comment));
}

TEST(PictureJpeg, FileStepWritesTheBitmapAndNeverFollowsALink) {
  inkmark::testing::TempDir dir;
  const auto jpeg = EncodeJpeg(RedOverBlue());
  const std::string jpeg_path = (dir.path() / "in.jpg").string();
  ASSERT_TRUE(WriteWholeFile(jpeg_path, jpeg));
  const std::string bmp_path = (dir.path() / "out.bmp").string();
  ASSERT_EQ(DecodeJpegToBitmapFile(jpeg_path, bmp_path), 1);
  EXPECT_EQ(ReadWholeFile(bmp_path), DecodeJpegToBitmap(jpeg));

  EXPECT_EQ(DecodeJpegToBitmapFile((dir.path() / "missing.jpg").string(), bmp_path), 0);
  ASSERT_TRUE(WriteWholeFile((dir.path() / "empty.jpg").string(), {}));
  EXPECT_EQ(DecodeJpegToBitmapFile((dir.path() / "empty.jpg").string(), bmp_path), 0);

  const auto victim = dir.Write("victim.txt", "keep");
  const auto link = dir.path() / "link.bmp";
  std::filesystem::create_symlink(victim, link);
  EXPECT_EQ(DecodeJpegToBitmapFile(jpeg_path, link.string()), 0);
  EXPECT_EQ(inkmark::testing::ReadFileText(victim), "keep");
}

TEST(PictureJpeg, LoadPictureDecodesThroughTheTemporaryFileAndRemovesIt) {
  inkmark::testing::TempDir dir;
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", dir.path().c_str(), 1);
  const std::string jpeg_path = (dir.path() / "photo.JPG").string();
  ASSERT_TRUE(WriteWholeFile(jpeg_path, EncodeJpeg(RedOverBlue())));
  auto picture = LoadPicture(jpeg_path);
  const auto temp = dir.path() / ("inkmark-" + std::to_string(::getuid())) / "~qvlogo.$$$";
  const bool temp_left = std::filesystem::exists(temp);
  // A ".jpeg" name is not a JPEG source.
  const std::string jpeg_named = (dir.path() / "photo.jpeg").string();
  ASSERT_TRUE(WriteWholeFile(jpeg_named, EncodeJpeg(RedOverBlue())));
  auto refused = LoadPicture(jpeg_named);
  if (old) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  ASSERT_TRUE(picture);
  EXPECT_EQ(U16At(*picture, 28), 24);
  ExpectNear(PixelAt(*picture, 0, 15), {0, 0, 255});
  EXPECT_FALSE(temp_left);
  EXPECT_FALSE(refused);
}

}  // namespace
}  // namespace inkmark
