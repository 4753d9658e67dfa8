#include "app/session.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/shell_utils.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

TEST(ConversionParams, StartupBlockHasTheStoredLayout) {
  ConversionParams p = StartupConversionParams();
  unsigned char bytes[60];
  std::memcpy(bytes, &p, sizeof bytes);
  auto u32 = [&](int at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
  };
  auto u16 = [&](int at) { return bytes[at] | bytes[at + 1] << 8; };
  EXPECT_EQ(u32(8), 1);   // one ink
  EXPECT_EQ(u32(12), 0);  // the first ink of the pair
  EXPECT_EQ(u32(20), 3);
  EXPECT_EQ(u32(28), 3);
  EXPECT_EQ(u32(32), 256);
  EXPECT_EQ(u16(40), 0x0000);
  for (int level = 1; level < 7; ++level) EXPECT_EQ(u16(40 + 2 * level), 0x0001);
  EXPECT_EQ(u16(54), 0x0102);
  EXPECT_EQ(u32(56), 0);
}

TEST(SourceKind, ByExtensionOnlyWithoutRegardToCase) {
  EXPECT_EQ(SourceKindFromPath("/logos/a.jpg"), kSourceJpeg);
  EXPECT_EQ(SourceKindFromPath("a.Jpg"), kSourceJpeg);
  EXPECT_EQ(SourceKindFromPath("a.JPG"), kSourceJpeg);
  EXPECT_EQ(SourceKindFromPath("a.jpeg"), kSourceNone);
  EXPECT_EQ(SourceKindFromPath("/logos.d/noext"), kSourceNone);
  EXPECT_EQ(SourceKindFromPath("shop.qlf"), kSourceDocument);
  EXPECT_EQ(SourceKindFromPath("x.RLE"), kSourceRle);
  EXPECT_EQ(SourceKindFromPath("x.bmp"), kSourceBitmap);
}

TEST(ColorFromName, FourInksAndNothingElse) {
  EXPECT_EQ(ColorFromName("Black"), 0x000000);
  EXPECT_EQ(ColorFromName("RED"), 0x0000FF);
  EXPECT_EQ(ColorFromName("green"), 0x00FF00);
  EXPECT_EQ(ColorFromName("Blue"), 0xFF0000);
  EXPECT_EQ(ColorFromName("None"), -1);
  EXPECT_EQ(ColorFromName(""), -1);
}

TEST(PrintWidth, PaperDotsAreGivenAtTheFirstResolution) {
  PrinterProfile p;
  p.paper_dots = {360, 512};
  p.paper_width_sel = 1;
  p.resolutions = {180, 360, 0};
  p.resolution_count = 2;
  p.resolution_sel = 1;
  EXPECT_EQ(PrintWidthDots(p), 1024);
  p.resolution_sel = 0;
  EXPECT_EQ(PrintWidthDots(p), 512);
  // A file without a usable first resolution must not divide by zero.
  p.resolutions = {0, 0};
  EXPECT_EQ(PrintWidthDots(p), 512);
  p.paper_width_sel = 5;
  EXPECT_EQ(PrintWidthDots(p), 0);
}

TEST(ShellUtils, FileNameCharactersAreCheckedInTheLastComponentOnly) {
  EXPECT_EQ(IsValidFileName("/logos;old/shop.bmp"), 1);
  EXPECT_EQ(IsValidFileName("/logos/shop;1.bmp"), 0);
  EXPECT_EQ(IsValidFileName("a?b"), 0);
  EXPECT_EQ(IsValidFileName(""), 1);
  EXPECT_EQ(IsValidFileName("/logos/"), 1);
}

TEST(ShellUtils, PathExistsForRootFilesFoldersAndDanglingLinks) {
  testing::TempDir dir;
  EXPECT_EQ(PathExists("/"), 1);
  EXPECT_EQ(PathExists(dir.path().string()), 1);
  EXPECT_EQ(PathExists(dir.Write("a.bmp", "x").string()), 1);
  EXPECT_EQ(PathExists((dir.path() / "missing").string()), 0);
  std::filesystem::create_symlink(dir.path() / "gone", dir.path() / "link");
  EXPECT_EQ(PathExists((dir.path() / "link").string()), 1);
  EXPECT_EQ(PathExists(""), 0);
}

}  // namespace
}  // namespace inkmark
