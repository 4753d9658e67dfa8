// New and Edit in the real main window, offscreen, with the stand-in editor
// beside the program: the command lines it gets and the reload after Edit.
#include <QPushButton>

#include "main_window_fixture.h"
#include "qt_environment.h"
#include "windows/main_window_qt.h"

namespace inkmark::testing {
namespace {

TEST(EditorWindowTest, NewAndEditStartTheEditorAndOnlyEditReloads) {
  TempDir dir;
  RecordingMessageBoxes boxes;
  const auto folder = dir.path() / "Inkmark Tool", editor = folder / "InkmarkEdit";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(INKMARK_STAND_IN_EDITOR, editor);
  LogoSession session;
  session.profiles = {MakeProfile("DT-300", "COM1")};
  session.profiles[0].paper_widths.sel = 1;  // 512 dots at 180 dpi
  auto owned = std::make_unique<Recorder>();
  Recorder& pipeline = *owned;
  pipeline.items = {ItemState{}};
  QtMainWindow window(session, folder, std::move(owned));
  window.Open();
  auto click = [&](int id) { static_cast<QPushButton*>(window.view().widget(id))->click(); };

  click(kIdNew);
  EXPECT_EQ(ReadFileText(folder / "argv.txt"), editor.string() + "\n-w512\n-sub\n--\n");
  EXPECT_TRUE(pipeline.calls.empty());

  const auto doc = dir.path() / "my logos" / "shop sign.QLF";
  TempDir::WriteFile(doc, "document");
  window.view().SetText(kIdSourceEdit, doc.string());
  ASSERT_EQ(session.source_kind, kSourceDocument);
  const std::size_t loads = pipeline.calls.size();
  std::filesystem::remove(folder / "argv.txt");
  click(kIdEdit);
  EXPECT_EQ(ReadFileText(folder / "argv.txt"),
            editor.string() + "\n-f" + doc.string() + "\n-sub\n--\n");
  EXPECT_EQ(ReadFileText(doc), "documentedited\n");
  EXPECT_EQ(pipeline.calls.size(), loads + 2) << "the document was not loaded again";
  EXPECT_TRUE(window.view().dialog().isEnabled());
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
