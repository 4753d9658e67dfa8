// New and Edit in the real main window, offscreen, with the stand-in editor
// beside the program: the command lines it gets and the reload after Edit.
#include <QPushButton>

#include "app/main_window_qt.h"
#include "main_window_fixture.h"
#include "qt_environment.h"

namespace inkmark::testing {
namespace {

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder_);
    std::filesystem::copy_file(INKMARK_STAND_IN_EDITOR, folder_ / "InkmarkEdit");
    session_.profiles = {MakeProfile("DT-300", "COM1")};
    session_.profiles[0].paper_width_sel = 1;  // 512 dots at 180 dpi
    session_.profile_count = 1;
    auto pipeline = std::make_unique<RecordingPipeline>();
    pipeline->busy = &busy_;
    pipeline->items = {ItemState{}};
    pipeline_ = pipeline.get();
    window_.emplace(session_, folder_, std::move(pipeline));
    window_->Open();
  }
  void Click(int id) {
    auto* button = static_cast<QPushButton*>(window_->view().widget(id));
    ASSERT_TRUE(button->isEnabled()) << id;
    button->click();
  }
  std::string Recorded() const { return ReadFileText(folder_ / "argv.txt"); }

  TempDir dir_;
  RecordingMessageBoxes boxes_;
  std::filesystem::path folder_ = dir_.path() / "Inkmark Tool";
  LogoSession session_;
  int busy_ = 0;
  RecordingPipeline* pipeline_ = nullptr;
  std::optional<QtMainWindow> window_;
};

TEST_F(EditorWindowTest, NewStartsTheEditorAtThePrintWidthAndReloadsNothing) {
  Click(kIdNew);
  EXPECT_EQ(Recorded(), (folder_ / "InkmarkEdit").string() + "\n-w512\n-sub\n--\n");
  EXPECT_TRUE(pipeline_->calls.empty());
  EXPECT_TRUE(window_->view().dialog().isEnabled());
}

TEST_F(EditorWindowTest, EditPassesTheDocumentWithBlanksInItsPathAndReloadsIt) {
  std::filesystem::path doc = dir_.path() / "my logos" / "shop sign.QLF";
  TempDir::WriteFile(doc, "document");
  window_->view().SetText(kIdSourceEdit, doc.string());
  ASSERT_EQ(session_.source_kind, kSourceDocument);
  const std::size_t loads = pipeline_->calls.size();
  Click(kIdEdit);
  EXPECT_EQ(Recorded(),
            (folder_ / "InkmarkEdit").string() + "\n-f" + doc.string() + "\n-sub\n--\n");
  EXPECT_EQ(ReadFileText(doc), "documentedited\n");
  EXPECT_EQ(pipeline_->calls.size(), loads + 2) << "the document was not loaded again";
  EXPECT_TRUE(window_->view().dialog().isEnabled());
}

TEST_F(EditorWindowTest, EditorRemovedAfterStartUpFailsWithButtonsLeftEnabled) {
  std::filesystem::remove(folder_ / "InkmarkEdit");
  Click(kIdNew);
  EXPECT_EQ(boxes_.texts().size(), 1u);
  EXPECT_TRUE(window_->view().IsEnabled(kIdNew));
  EXPECT_TRUE(window_->view().dialog().isEnabled());
}

}  // namespace
}  // namespace inkmark::testing
