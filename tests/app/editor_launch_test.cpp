// The hand-off to the editor with a stand-in editor program that records how
// it was started.
#include "app/editor_launch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/string_table.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

// Records what the waiting window went through.
class RecordingOwner final : public EditorOwner {
 public:
  void Enable(bool enabled) override {
    this->enabled = enabled;
    changes.push_back(enabled);
  }
  void ProcessEvents() override {
    ++rounds;
    disabled_in_every_round = disabled_in_every_round && !enabled;
  }
  void BringToFront() override { ++raised; }
  WindowHandle Handle() const override { return this; }

  bool enabled = true;
  std::vector<bool> changes;
  int rounds = 0;
  bool disabled_in_every_round = true;
  int raised = 0;
};

// The stand-in editor copied into a folder whose name holds blanks.
class EditorLaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = dir.path() / "Program Files" / "Inkmark Tool";
    std::filesystem::create_directories(folder);
    editor = (folder / "InkmarkEdit").string();
    std::filesystem::copy_file(INKMARK_STAND_IN_EDITOR, editor);
  }

  // The argument vectors the stand-in recorded, one argument a line, "--" after each run.
  std::string Recorded() const { return ReadFileText(folder / "argv.txt"); }

  TempDir dir;
  RecordingMessageBoxes boxes;
  std::filesystem::path folder;
  std::string editor;
  RecordingOwner owner;
};

TEST_F(EditorLaunchTest, NewStartsWithWidthAndSubWhileTheWindowWaitsDisabled) {
  EXPECT_EQ(RunEditor(owner, NewEditorArgs(editor, 512)), 1);
  EXPECT_EQ(Recorded(), editor + "\n-w512\n-sub\n--\n");
  EXPECT_EQ(owner.changes, (std::vector<bool>{false, true}));
  EXPECT_GE(owner.rounds, 1);
  EXPECT_TRUE(owner.disabled_in_every_round);
  EXPECT_EQ(owner.raised, 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(EditorLaunchTest, EditPassesPathWithBlanksAsOneArgument) {
  std::string path = (dir.path() / "my logos" / "a b.QLF").string();
  TempDir::WriteFile(path, "doc\n");
  EXPECT_EQ(RunEditor(owner, EditEditorArgs(editor, path)), 1);
  EXPECT_EQ(Recorded(), editor + "\n-f" + path + "\n-sub\n--\n");
  EXPECT_EQ(ReadFileText(path), "doc\nedited\n");
}

TEST_F(EditorLaunchTest, EditorThatCannotStartSaysSoAndFreesTheWindow) {
  std::filesystem::remove(editor);
  EXPECT_EQ(RunEditor(owner, NewEditorArgs(editor, 512)), 0);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrCannotInitialize)});
  EXPECT_EQ(boxes.boxes()[0].owner, &owner);
  EXPECT_TRUE(owner.enabled);
  EXPECT_EQ(owner.raised, 0);

  // A file that is there but no program fails the same way.
  TempDir::WriteFile(editor, "not a program");
  boxes.clear();
  EXPECT_EQ(RunEditor(owner, NewEditorArgs(editor, 512)), 0);
  EXPECT_EQ(boxes.boxes().size(), 1u);
}

}  // namespace
}  // namespace inkmark::testing
