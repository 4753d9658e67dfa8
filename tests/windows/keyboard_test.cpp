// Every window of the program worked from the keyboard, in English and in
// Japanese: each caption label and push button has a mnemonic, none twice in
// a window, and an edit that refuses a character leaves the cursor in place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>

#include "platform/qt_view.h"
#include "platform/translation.h"
#include "qt_environment.h"
#include "support/bitmap_fixture.h"
#include "support/recording_message_boxes.h"
#include "windows/main_ids.h"
#include "windows/main_template.h"
#include "windows/protocol_windows_qt.h"
#include "windows/transfer_progress_qt.h"
#include "windows/zoom_dialog.h"

namespace inkmark::testing {
namespace {

// A key press that types `text`, as an input method delivers characters that
// no key of the keyboard has.
void Type(QWidget* widget, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
}

// The main window's marks on the sliders' scales: the slider ends (Coarse,
// Fine), the Revise Level channels, the Color Attach column heads and levels.
// Each stands beside a slider that Tab reaches from the label naming its panel.
const int kScaleMarks[] = {kIdCoarseLabel,
                           kIdFineLabel,
                           kIdRLabel,
                           kIdGLabel,
                           kIdBLabel,
                           kIdAttachFirstLabel,
                           kIdAttachSecondLabel,
                           kIdAttachWhiteLabel,
                           1074,
                           1068,
                           1071,
                           1072,
                           1066,
                           1060,
                           1063,
                           1064};

// Checks that every caption label (not a selectable line of figures, not one
// of `marks`) and every push button of `window` has a mnemonic, and that no
// two share one. Returns how many were checked.
int CheckMnemonics(QWidget& window, const std::string& name,
                   const std::vector<const QWidget*>& marks = {}) {
  std::map<QKeySequence, QString> seen;
  int checked = 0;
  auto check = [&](const QString& text) {
    ++checked;
    const QKeySequence key = QKeySequence::mnemonic(text);
    EXPECT_FALSE(key.isEmpty()) << name << ": no mnemonic on \"" << text.toStdString() << '"';
    if (key.isEmpty()) return;
    auto [at, fresh] = seen.emplace(key, text);
    EXPECT_TRUE(fresh) << name << ": \"" << text.toStdString() << "\" and \""
                       << at->second.toStdString() << "\" share " << key.toString().toStdString();
  };
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->textInteractionFlags() & Qt::TextSelectableByMouse) continue;
    if (std::find(marks.begin(), marks.end(), label) != marks.end()) continue;
    check(label->text());
  }
  for (QPushButton* button : window.findChildren<QPushButton*>()) check(button->text());
  return checked;
}

// Walks the main window, key entry, the NV manager, the Preview window and
// the progress dialog.
void CheckEveryWindow(const std::string& language) {
  RecordingMessageBoxes boxes;
  LogoSession session;
  {
    QtDialogView main(MainTemplate(), {});
    std::vector<const QWidget*> marks;
    for (int id : kScaleMarks) marks.push_back(main.widget(id));
    EXPECT_EQ(CheckMnemonics(main.dialog(), language + " main window", marks), 9 + 15);
  }
  auto in_modal = [&](const std::string& name, int expected, const char* close) {
    QTimer::singleShot(0, [=] {
      QWidget* window = QApplication::activeModalWidget();
      ASSERT_NE(window, nullptr);
      EXPECT_EQ(CheckMnemonics(*window, language + " " + name), expected);
      for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(close)) return b->click();
      ADD_FAILURE() << name << ": no button \"" << close << '"';
      window->close();  // never left waiting for a click that cannot come
    });
  };
  const bool ja = language == "ja";
  in_modal("key entry", 4, ja ? "キャンセル(&S)" : "&Stop");
  EXPECT_EQ(RunKeyEntryWindow(nullptr, session), 0);
  in_modal("NV manager", 7, ja ? "閉じる(&C)" : "&Close");
  EXPECT_EQ(RunNvManagerWindow(nullptr, session), 1);

  ZoomState state;
  state.raster = BuildBitmap(Fixture(8, 8, 24));
  state.image_width = state.view_width = state.image_height = state.view_height = 8;
  state.dpi = 180;
  ZoomDialog preview(state, nullptr);
  EXPECT_EQ(CheckMnemonics(preview, language + " Preview"), 0);

  QtTransferProgress progress(nullptr, [] { return 240u; });
  ASSERT_TRUE(progress.Update(0, 2400));
  ASSERT_NE(progress.dialog(), nullptr);
  // Its one label is a line of figures, like the Preview's.
  const auto figures = progress.dialog()->findChildren<QLabel*>();
  EXPECT_EQ(
      CheckMnemonics(*progress.dialog(), language + " progress", {figures.begin(), figures.end()}),
      1);
  progress.Finished();
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST(Keyboard, EveryWindowHasAMnemonicOnEachCaptionAndButtonNoneTwice) {
  CheckEveryWindow("en");
  ASSERT_TRUE(LoadTranslations("ja", INKMARK_BIN_DIR "/translations"));
  InstallTranslations();
  CheckEveryWindow("ja");
  LoadTranslations("", {});
}

TEST(Keyboard, ARefusedCharacterLeavesTheCursorWhereItWas) {
  QtDialogView view(MainTemplate(), {});
  view.dialog().show();
  auto* text = static_cast<QLineEdit*>(view.widget(kIdItemText));
  view.SetCodePage(kIdItemText, 1252);
  view.SetTextLimit(kIdItemText, 40);
  view.SetText(kIdItemText, "Cr\xE8me");
  text->setFocus();
  // A character the item's code page has no code for.
  text->setCursorPosition(2);
  Type(text, QString::fromUtf8("語"));
  EXPECT_EQ(text->text(), QString::fromUtf8("Crème"));
  EXPECT_EQ(text->cursorPosition(), 2);
  // One it has goes in where the cursor is.
  Type(text, QString::fromUtf8("é"));
  EXPECT_EQ(text->text(), QString::fromUtf8("Créème"));
  EXPECT_EQ(text->cursorPosition(), 3);
  // Forty bytes are the most: the 40th is taken, the 41st refused in place.
  view.SetText(kIdItemText, std::string(39, 'a'));
  text->setCursorPosition(5);
  QTest::keyClicks(text, "b");
  EXPECT_EQ(text->text().size(), 40);
  EXPECT_EQ(text->cursorPosition(), 6);
  QTest::keyClicks(text, "c");
  EXPECT_EQ(text->text(), QString(5, 'a') + "b" + QString(34, 'a'));
  EXPECT_EQ(text->cursorPosition(), 6);
}

}  // namespace
}  // namespace inkmark::testing
