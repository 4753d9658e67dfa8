// The key-entry and NV manager windows on screen, offscreen: built from their
// templates, wired to their logic, and ended as the logic says.
#include "windows/protocol_windows_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "qt_environment.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {
namespace {

QPushButton* Button(const QString& text) {
  for (auto* b : QApplication::activeModalWidget()->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

TEST(ProtocolWindowsQt, WindowsOpenFromTheirTemplatesAndEndThroughTheirButtons) {
  RecordingMessageBoxes boxes;
  LogoSession session;
  QTimer::singleShot(0, [&] {
    auto* edit = QApplication::activeModalWidget()->findChild<QLineEdit*>();
    EXPECT_EQ(edit->text(), "00");
    EXPECT_EQ(edit->maxLength(), 2);
    Button("&Stop")->click();
  });
  EXPECT_EQ(RunKeyEntryWindow(nullptr, session), 0);
  QTimer::singleShot(0, [&] {
    EXPECT_FALSE(Button("&Delete")->isEnabled());
    Button("&Close")->click();
  });
  EXPECT_EQ(RunNvManagerWindow(nullptr, session), 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
