// Whole-file reading and writing, and LoadPicture's choice of reader by name.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/bitmap_fixture.h"
#include "image/picture.h"
#include "image/picture_io.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::BitmapFixture;
using testing::BuildBitmap;
using testing::Fixture;
using testing::PackRows;

TEST(PictureIo, ReadsAndWritesWholeFiles) {
  inkmark::testing::TempDir dir;
  const std::string path = (dir.path() / "f.bin").string();
  const std::vector<std::uint8_t> bytes = {1, 2, 3, 0, 255};
  ASSERT_TRUE(WriteWholeFile(path, bytes));
  EXPECT_EQ(ReadWholeFile(path), bytes);
  // Rewriting truncates.
  ASSERT_TRUE(WriteWholeFile(path, std::vector<std::uint8_t>{9}));
  EXPECT_EQ(ReadWholeFile(path), (std::vector<std::uint8_t>{9}));

  EXPECT_FALSE(WriteWholeFile("", bytes));
  EXPECT_FALSE(ReadWholeFile(""));
  EXPECT_FALSE(ReadWholeFile((dir.path() / "missing").string()));
  EXPECT_FALSE(ReadWholeFile(dir.path().string())) << "a directory is not a file";
  EXPECT_FALSE(WriteWholeFile((dir.path() / "no/such/dir").string(), bytes));
}

TEST(PictureLoad, ChoosesTheReaderByExtension) {
  inkmark::testing::TempDir dir;
  BitmapFixture fixture = Fixture(2, 1, 8);
  fixture.palette = {{1, 2, 3}, {4, 5, 6}};
  fixture.pixels = PackRows({{1, 0}}, 8);
  const auto file = BuildBitmap(fixture);
  for (const char* name : {"a.bmp", "b.BMP", "c.Rle", "d.x.bmp"}) {
    const std::string path = (dir.path() / name).string();
    ASSERT_TRUE(WriteWholeFile(path, file));
    auto picture = LoadPicture(path);
    ASSERT_TRUE(picture) << name;
    EXPECT_EQ(testing::PixelAt(*picture, 0, 0), (testing::Bgr{4, 5, 6})) << name;
  }
  for (const char* name : {"e.png", "bmp", "f.bmp.txt", "g.jpeg"}) {
    const std::string path = (dir.path() / name).string();
    ASSERT_TRUE(WriteWholeFile(path, file));
    EXPECT_FALSE(LoadPicture(path)) << name;
  }
  EXPECT_FALSE(LoadPicture((dir.path() / "missing.bmp").string()));
  EXPECT_FALSE(LoadPicture(""));
}

}  // namespace
}  // namespace inkmark
