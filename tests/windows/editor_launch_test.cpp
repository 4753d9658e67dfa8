// The hand-off to the editor with a stand-in editor program that records how
// it was started.
#include "windows/editor_launch.h"

#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

// Records what the waiting window went through.
class RecordingOwner final : public EditorOwner {
 public:
  void Enable(bool on) override { changes.push_back(enabled = on); }
  void ProcessEvents() override {
    ++rounds;
    disabled_in_every_round &= !enabled;
  }
  void BringToFront() override { ++raised; }
  WindowHandle Handle() const override { return this; }

  bool enabled = true;
  std::vector<bool> changes;
  int rounds = 0;
  bool disabled_in_every_round = true;
  int raised = 0;
};

TEST(EditorLaunchTest, TheWindowWaitsDisabledAndAnEditorThatCannotStartSaysSo) {
  TempDir dir;
  RecordingMessageBoxes boxes;
  RecordingOwner owner;
  const std::string editor = (dir.path() / "InkmarkEdit").string();
  std::filesystem::copy_file(INKMARK_STAND_IN_EDITOR, editor);
  EXPECT_EQ(RunEditor(owner, NewEditorArgs(editor, 512)), 1);
  EXPECT_EQ(ReadFileText(dir.path() / "argv.txt"), editor + "\n-w512\n-sub\n--\n");
  EXPECT_EQ(owner.changes, (std::vector<bool>{false, true}));
  EXPECT_TRUE(owner.rounds >= 1 && owner.disabled_in_every_round) << owner.rounds;
  EXPECT_EQ(owner.raised, 1);
  EXPECT_TRUE(boxes.boxes().empty());

  // A missing editor, and a file that is no program, fail with a box; the window is free again.
  for (const std::string& bad : {editor + "-gone", dir.Write("NotAProgram", "text").string()}) {
    boxes.clear();
    EXPECT_EQ(RunEditor(owner, NewEditorArgs(bad, 512)), 0) << bad;
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrCannotInitialize)});
    EXPECT_EQ(boxes.boxes().at(0).owner, &owner);
    EXPECT_TRUE(owner.enabled);
  }
  EXPECT_EQ(owner.raised, 1);
}

}  // namespace
}  // namespace inkmark::testing
