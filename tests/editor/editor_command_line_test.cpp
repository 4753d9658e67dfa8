#include "editor/editor_command_line.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <tuple>

namespace inkmark {
namespace {

TEST(EditorCommandLineTest, TakesTheToolsTwoLinesAndRefusesAnythingElse) {
  const auto blank = std::get<EditorLaunch>(ParseEditorCommandLine({"-w32768"}));
  EXPECT_EQ(std::tuple(blank.mode, blank.page_width, blank.sub),
            std::tuple(EditorLaunch::Mode::kNew, 32768, false));
  const std::string path = "/home/me/My Logos/" + std::string(241, 'a');  // the longest
  const auto open = std::get<EditorLaunch>(ParseEditorCommandLine({"-f" + path, "-sub"}));
  EXPECT_EQ(std::tuple(open.mode, open.path, open.sub),
            std::tuple(EditorLaunch::Mode::kOpen, path, true));

  // From the desktop: a bare path opens it, nothing at all gives a blank page.
  const auto menu = std::get<EditorLaunch>(ParseEditorCommandLine({}));
  EXPECT_EQ(std::tuple(menu.mode, menu.page_width), std::tuple(EditorLaunch::Mode::kNew, 512));
  const auto file = std::get<EditorLaunch>(ParseEditorCommandLine({"/logos/ショップ.QLF"}));
  EXPECT_EQ(std::tuple(file.mode, file.path),
            std::tuple(EditorLaunch::Mode::kOpen, "/logos/ショップ.QLF"));

  // Arguments apart by blanks; each line is refused.
  for (const std::string& line : std::vector<std::string>{
           "-w -sub", "-w0", "-w32769", "-w+5", "-w5x", "-w123456789012", "-sub", "-f -sub",
           "-w512 -f/a.QLF", "-w512 -sub -sub", "-f/a b.QLF -sub", "a.QLF -w5", "-x",
           std::string(260, 'a'), "-f" + std::string(260, 'a')}) {
    std::istringstream in(line);
    const std::vector<std::string> args{std::istream_iterator<std::string>(in), {}};
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseEditorCommandLine(args))) << line;
  }
}

}  // namespace
}  // namespace inkmark
