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
  p.paper_widths.sel = 1;
  p.resolutions.values = {0, 0};  // no usable first resolution: no division by zero
  EXPECT_EQ(PrintWidthDots(p), 512);
  p.paper_widths.sel = 5;
  EXPECT_EQ(PrintWidthDots(p), 0);
}

TEST(ChoiceListTest, TheExtraElementIsNeverAChoiceAndAddedPortsGoBeforeIt) {
  ChoiceList<std::int32_t> numbers{{180, 360, 1}, 1};
  EXPECT_EQ(numbers.count(), 2);
  EXPECT_EQ(numbers.Selected(), 360);  // the last choice
  numbers.sel = 2;
  EXPECT_EQ(numbers.Selected(), 0) << "the extra element is not selectable";
  numbers.sel = -1;
  EXPECT_EQ(numbers.Selected(), 0);
  EXPECT_FALSE(numbers.SelectFirst([](std::int32_t n) { return n == 1; }));
  EXPECT_EQ(numbers.sel, -1) << "a failed search keeps the selection";
  EXPECT_EQ((ChoiceList<std::int32_t>{}.count()), 0);
  ChoiceList<std::string, false> drivers{{"A"}, 0};
  EXPECT_EQ(drivers.Selected(), "A") << "a list without the extra element offers all it holds";

  PrinterProfile p;
  AddPortChoice(p, "tcp://a");  // a list with nothing in it gains its extra element too
  EXPECT_EQ(std::pair(p.ports.count(), p.ports.Selected()), std::pair(1, std::string("tcp://a")));
  p.ports.values = {"COM1", "tcp://b", "0"};
  AddPortChoice(p, "TCP://B");
  EXPECT_EQ(std::pair(p.ports.values.size(), p.ports.sel), std::pair(std::size_t(3), 1));
  AddPortChoice(p, "tcp://c");
  EXPECT_EQ(p.ports.values, (std::vector<std::string>{"COM1", "tcp://b", "tcp://c", "0"}));
  EXPECT_EQ(p.ports.sel, 2);
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
