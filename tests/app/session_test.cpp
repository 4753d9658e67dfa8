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
  const std::pair<const char*, int> kCases[] = {
      {"/logos/a.jpg", kSourceJpeg}, {"a.Jpg", kSourceJpeg},          {"a.JPG", kSourceJpeg},
      {"a.jpeg", kSourceNone},       {"/logos.d/noext", kSourceNone}, {"shop.qlf", kSourceDocument},
      {"x.RLE", kSourceRle},         {"x.bmp", kSourceBitmap}};
  for (auto [path, kind] : kCases) EXPECT_EQ(SourceKindFromPath(path), kind) << path;
}

TEST(ColorFromName, FourInksAndNothingElse) {
  const std::pair<const char*, std::int32_t> kCases[] = {{"Black", 0x000000}, {"RED", 0x0000FF},
                                                         {"green", 0x00FF00}, {"Blue", 0xFF0000},
                                                         {"None", -1},        {"", -1}};
  for (auto [name, color] : kCases) EXPECT_EQ(ColorFromName(name), color) << name;
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
  const std::pair<const char*, int> kCases[] = {
      {"/logos;old/shop.bmp", 1}, {"/logos/shop;1.bmp", 0}, {"a?b", 0}, {"", 1}, {"/logos/", 1}};
  for (auto [path, valid] : kCases) EXPECT_EQ(IsValidFileName(path), valid) << path;
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
