#include "editor/editor_command_line.h"

#include <gtest/gtest.h>

namespace inkmark {
namespace {

using Args = std::vector<std::string>;

EditorLaunch Launch(const Args& args) {
  return std::get<EditorLaunch>(ParseEditorCommandLine(args));
}

TEST(EditorCommandLineTest, TakesTheToolsTwoLines) {
  const EditorLaunch blank = Launch({"-w512", "-sub"});
  EXPECT_EQ(blank.mode, EditorLaunch::Mode::kNew);
  EXPECT_EQ(blank.page_width, 512);
  EXPECT_TRUE(blank.sub);
  const EditorLaunch open = Launch({"-f/home/me/My Logos/shop logo.QLF", "-sub"});
  EXPECT_EQ(open.mode, EditorLaunch::Mode::kOpen);
  EXPECT_EQ(open.path, "/home/me/My Logos/shop logo.QLF");
  EXPECT_EQ(Launch({"-w32768"}).page_width, 32768);
  EXPECT_FALSE(Launch({"-w1"}).sub);
  EXPECT_EQ(Launch({"-f" + std::string(259, 'a')}).path.size(), 259u);
}

TEST(EditorCommandLineTest, RefusesBadWidthsAndAnythingElse) {
  for (const Args& args : std::vector<Args>{{"-w", "-sub"},
                                            {"-w0"},
                                            {"-w32769"},
                                            {"-w-5"},
                                            {"-w+5"},
                                            {"-w 5"},
                                            {"-w5x"},
                                            {"-w123456789012"},
                                            {},
                                            {"-sub"},
                                            {"-f", "-sub"},
                                            {"-w512", "-f/a.QLF"},
                                            {"-w512", "-w256"},
                                            {"-w512", "-sub", "-sub"},
                                            {"-f/a", "b.QLF", "-sub"},
                                            {"-x"},
                                            {"-f" + std::string(260, 'a')}}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseEditorCommandLine(args)))
        << (args.empty() ? "(none)" : args[0]);
  }
}

}  // namespace
}  // namespace inkmark
