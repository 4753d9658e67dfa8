// The tool tips of the main window, key entry and the NV manager as the
// windows show them: every control has one, and each reads differently in
// Japanese.
#include "windows/tool_tips.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <map>

#include "platform/translation.h"
#include "qt_environment.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"
#include "windows/main_window_qt.h"
#include "windows/protocol_windows_qt.h"

namespace inkmark::testing {
namespace {

// Each window's controls (not its labels and group boxes) and their tips,
// keyed by window and place.
using Tips = std::map<std::string, QString>;

void Collect(QWidget& window, const std::string& name, Tips& tips) {
  for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w)) continue;
    const QRect g = w->geometry();
    tips[name + " " + w->metaObject()->className() + " at " + std::to_string(g.x()) + "," +
         std::to_string(g.y())] = w->toolTip();
  }
}

// The tips of the three windows, as built in the current language.
Tips AllTips() {
  RecordingMessageBoxes boxes;
  LogoSession session;
  TempDir folder;
  Tips tips;
  {
    QtMainWindow main(session, folder.path());
    Collect(main.view().dialog(), "main window", tips);
  }
  auto in_modal = [&](const std::string& name, int closing_button) {
    QTimer::singleShot(0, [&, name, closing_button] {
      QWidget* window = QApplication::activeModalWidget();
      ASSERT_NE(window, nullptr);
      Collect(*window, name, tips);
      window->findChildren<QPushButton*>().at(closing_button)->click();
    });
  };
  in_modal("key entry", 1);  // Stop
  EXPECT_EQ(RunKeyEntryWindow(nullptr, session), 0);
  in_modal("NV manager", 0);  // Close
  EXPECT_EQ(RunNvManagerWindow(nullptr, session), 1);
  EXPECT_TRUE(boxes.boxes().empty());
  return tips;
}

TEST(ToolTips, EveryControlHasOneAndJapaneseHasItsOwn) {
  const Tips english = AllTips();
  // 9 buttons, 14 lists, 2 edits, 2 previews, 2 check boxes, 2 radio
  // buttons and 12 sliders; 3 controls; 6 buttons and the key list.
  EXPECT_EQ(english.size(), 43u + 3 + 7);
  for (const auto& [control, tip] : english) EXPECT_FALSE(tip.isEmpty()) << control;

  ASSERT_TRUE(LoadTranslations("ja", INKMARK_BIN_DIR "/translations"));
  InstallTranslations();
  const Tips japanese = AllTips();
  LoadTranslations("", {});
  ASSERT_EQ(japanese.size(), english.size());
  for (const auto& [control, tip] : japanese) {
    EXPECT_FALSE(tip.isEmpty()) << control;
    EXPECT_NE(tip, english.at(control)) << control << " is not translated";
  }
}

}  // namespace
}  // namespace inkmark::testing
