#include "editor/editor_command_line.h"

#include <gtest/gtest.h>

namespace inkmark {
namespace {

EditorLaunch Launch(std::vector<std::string> args) {
  auto parsed = ParseEditorCommandLine(args);
  EXPECT_TRUE(std::holds_alternative<EditorLaunch>(parsed));
  return std::holds_alternative<EditorLaunch>(parsed) ? std::get<EditorLaunch>(parsed)
                                                      : EditorLaunch{};
}

bool Refused(std::vector<std::string> args) {
  return std::holds_alternative<std::string>(ParseEditorCommandLine(args));
}

TEST(EditorCommandLineTest, TakesTheToolsTwoLines) {
  const EditorLaunch blank = Launch({"-w512", "-sub"});
  EXPECT_EQ(blank.mode, EditorLaunch::Mode::kNew);
  EXPECT_EQ(blank.page_width, 512);
  EXPECT_TRUE(blank.sub);
  const EditorLaunch open = Launch({"-f/home/me/My Logos/shop logo.QLF", "-sub"});
  EXPECT_EQ(open.mode, EditorLaunch::Mode::kOpen);
  EXPECT_EQ(open.path, "/home/me/My Logos/shop logo.QLF");
  EXPECT_FALSE(Launch({"-w1"}).sub);
  EXPECT_EQ(Launch({"-w32768"}).page_width, 32768);
}

TEST(EditorCommandLineTest, RefusesBadWidths) {
  for (const char* arg :
       {"-w", "-w0", "-w32769", "-w99999", "-w-5", "-w+5", "-w 5", "-w5x", "-w123456789012"}) {
    EXPECT_TRUE(Refused({arg, "-sub"})) << arg;
  }
}

TEST(EditorCommandLineTest, RefusesAnythingElse) {
  EXPECT_TRUE(Refused({}));
  EXPECT_TRUE(Refused({"-sub"}));
  EXPECT_TRUE(Refused({"-f", "-sub"}));
  EXPECT_TRUE(Refused({"-w512", "-f/a.QLF"}));
  EXPECT_TRUE(Refused({"-w512", "-w256"}));
  EXPECT_TRUE(Refused({"-w512", "-sub", "-sub"}));
  EXPECT_TRUE(Refused({"-f/a", "b.QLF", "-sub"}));  // a path split by a shell
  EXPECT_TRUE(Refused({"-x"}));
  EXPECT_TRUE(Refused({"-f" + std::string(260, 'a')}));
  EXPECT_FALSE(Refused({"-f" + std::string(259, 'a')}));
}

}  // namespace
}  // namespace inkmark
