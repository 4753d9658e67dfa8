// The key-entry and NV manager windows on screen, offscreen: built from their
// templates, wired to their logic, and ended as the logic says.
#include "app/protocol_windows_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "platform/string_table.h"
#include "qt_environment.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {
namespace {

QPushButton* Button(QWidget* dialog, const QString& text) {
  for (auto* b : dialog->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

TEST(KeyEntryQt, RefusesAShortKeyAndStopsWithoutRegistering) {
  RecordingMessageBoxes boxes;
  LogoSession session;
  std::string seen_text;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Setting Key");
    auto* edit = dialog->findChild<QLineEdit*>();
    ASSERT_TRUE(edit);
    seen_text = edit->text().toStdString();
    EXPECT_EQ(edit->maxLength(), 2);
    edit->setText("A");
    Button(dialog, "&Execute")->click();
    Button(dialog, "&Stop")->click();
  });
  EXPECT_EQ(RunKeyEntryWindow(nullptr, session), 0);
  EXPECT_EQ(seen_text, "00");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrBadKey)});
}

TEST(NvManagerQt, OpensWithOnlyListingUsableAndCloses) {
  RecordingMessageBoxes boxes;
  LogoSession session;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Control Printer Registry");
    auto* list = dialog->findChild<QListWidget*>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::MultiSelection);
    for (const char* text : {"&Select All", "&Remove Select", "&Print", "&Delete"})
      EXPECT_FALSE(Button(dialog, text)->isEnabled()) << text;
    EXPECT_TRUE(Button(dialog, "Get keycode lists")->isEnabled());
    Button(dialog, "&Close")->click();
  });
  EXPECT_EQ(RunNvManagerWindow(nullptr, session), 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
