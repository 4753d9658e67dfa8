#include "session/session.h"

#include <gtest/gtest.h>

#include "platform/shell_utils.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

TEST(SessionTest, SourceKindGoesByTheExtensionOnly) {
  const std::pair<const char*, int> kKinds[] = {
      {"a.JPG", kSourceJpeg}, {"a.jpeg", kSourceNone}, {"/logos.d/noext", kSourceNone}};
  for (auto [path, kind] : kKinds) EXPECT_EQ(SourceKindFromPath(path), kind) << path;
  // Paper dots without a usable resolution or paper choice.
  PrinterProfile p;
  p.paper_dots = {360, 512};
  p.paper_width_sel = 1;
  p.resolutions = {0, 0};  // no usable first resolution: no division by zero
  EXPECT_EQ(PrintWidthDots(p), 512);
  p.paper_width_sel = 5;
  EXPECT_EQ(PrintWidthDots(p), 0);
}

TEST(ShellUtilsTest, FileNamesAreCheckedInTheLastComponentAndLinksExist) {
  const std::pair<const char*, int> kNames[] = {
      {"/logos;old/shop.bmp", 1}, {"/logos/shop;1.bmp", 0}, {"a?b", 0}, {"", 1}, {"/logos/", 1}};
  for (auto [path, valid] : kNames) EXPECT_EQ(IsValidFileName(path), valid) << path;
  testing::TempDir dir;
  std::filesystem::create_symlink(dir.path() / "gone", dir.path() / "link");
  for (const std::string& path : {std::string("/"), dir.path().string(),
                                  dir.Write("a.bmp", "x").string(), (dir.path() / "link").string()})
    EXPECT_EQ(PathExists(path), 1) << path;
  EXPECT_EQ(PathExists((dir.path() / "missing").string()), 0);
  EXPECT_EQ(PathExists(""), 0);
}

}  // namespace
}  // namespace inkmark
