// The key-entry and NV manager windows on screen, offscreen: built from their
// templates, wired to their logic, and ended as the logic says.
#include "windows/protocol_windows_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>

#include "ledger/ledger.h"
#include "platform/string_table.h"
#include "qt_environment.h"
#include "support/protocol_fixtures.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

QPushButton* Button(const QString& text) {
  for (auto* b : QApplication::activeModalWidget()->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

// Runs `work` on the modal window that the next call opens, once it is shown.
void InModal(std::function<void(QWidget*)> work) {
  QTimer::singleShot(0, [work] { work(QApplication::activeModalWidget()); });
}

class ProtocolWindowsQt : public ::testing::Test {
 protected:
  RecordingMessageBoxes boxes;
  LogoSession session;
};

TEST_F(ProtocolWindowsQt, WindowsOpenFromTheirTemplatesAndEndThroughTheirButtons) {
  InModal([&](QWidget* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>();
    EXPECT_EQ(edit->text(), "00");
    EXPECT_EQ(edit->maxLength(), 2);
    Button("&Stop")->click();
  });
  EXPECT_EQ(RunKeyEntryWindow(nullptr, session), 0);
  InModal([&](QWidget*) {
    EXPECT_FALSE(Button("&Delete")->isEnabled());
    Button("&Close")->click();
  });
  EXPECT_EQ(RunNvManagerWindow(nullptr, session), 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ProtocolWindowsQt, KeyEntryIsWorkedFromTheKeyboard) {
  InModal([&](QWidget* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>();
    // Typing replaces the selected "00" at once.
    EXPECT_EQ(dialog->focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), "00");
    QLabel* key = nullptr;
    for (auto* label : dialog->findChildren<QLabel*>())
      if (label->text() == "&Key:") key = label;
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->buddy(), edit) << "the label shows & instead of underlining K";
    // Mnemonics reach the active window only.
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    Button("&Stop")->setFocus();
    QTest::keyClick(dialog, Qt::Key_K, Qt::AltModifier);
    EXPECT_EQ(dialog->focusWidget(), edit);
    // Escape is Stop: the window ends without registering anything.
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible()) << "Escape did not end the window";
    if (dialog->isVisible()) Button("&Stop")->click();
  });
  EXPECT_EQ(RunKeyEntryWindow(nullptr, session), 0);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ProtocolWindowsQt, KeyEntryErrorSelectsTheKeyAndRefusedCharactersKeepTheCursor) {
  InModal([&](QWidget* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>();
    // The field is full: a third character is refused where the cursor is.
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(edit->text(), "00");
    EXPECT_EQ(edit->cursorPosition(), 1) << "a refused character moved the cursor";
    // A one-character key is refused; the field is selected again for the
    // correction, so that typing replaces the key.
    edit->setText("A");
    edit->setCursorPosition(1);
    Button("&Execute")->setFocus();
    Button("&Execute")->click();
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{LoadString(kStrBadKey)}));
    EXPECT_EQ(dialog->focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), "A");
    QTest::keyClicks(edit, "K1");
    EXPECT_EQ(edit->text(), "K1");
    Button("&Stop")->click();
  });
  EXPECT_EQ(RunKeyEntryWindow(nullptr, session), 0);
}

// Every label and push button of the active window has a mnemonic, none twice;
// the controls taking the focus, in tab order, by their names.
std::vector<QString> CheckMnemonicsAndTabs(QWidget* dialog) {
  std::set<QChar> seen;
  std::vector<QString> texts;
  for (auto* l : dialog->findChildren<QLabel*>()) texts.push_back(l->text());
  for (auto* b : dialog->findChildren<QPushButton*>()) texts.push_back(b->text());
  for (const QString& text : texts) {
    const qsizetype at = text.indexOf('&');
    EXPECT_TRUE(at >= 0 && at + 1 < text.size()) << text.toStdString() << " has no mnemonic";
    if (at >= 0 && at + 1 < text.size()) {
      EXPECT_TRUE(seen.insert(text[at + 1].toUpper()).second) << text.toStdString() << " twice";
    }
  }
  std::vector<QString> order;
  QWidget* first = dialog->focusWidget();
  for (QWidget* w = first; w != nullptr;) {
    auto* b = qobject_cast<QPushButton*>(w);
    order.push_back(b ? b->text() : QString::fromLatin1(w->metaObject()->className()));
    w = w->nextInFocusChain();
    while (w != first && !(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
    if (w == first || order.size() > 20) break;
  }
  return order;
}

TEST_F(ProtocolWindowsQt, MnemonicsAndTabOrderFollowTheLayout) {
  InModal([&](QWidget* dialog) {
    EXPECT_EQ(CheckMnemonicsAndTabs(dialog),
              (std::vector<QString>{"QLineEdit", "&Execute", "&Stop"}));
    Button("&Stop")->click();
  });
  RunKeyEntryWindow(nullptr, session);
  InModal([&](QWidget* dialog) {
    auto* list = dialog->findChild<QListWidget*>();
    list->setFocus();
    // The key list, top left, comes first, then the buttons top to bottom.
    EXPECT_EQ(CheckMnemonicsAndTabs(dialog),
              (std::vector<QString>{"QListWidget", "&Get keycode lists", "&Select All",
                                    "&Remove Select", "&Print", "&Delete", "&Close"}));
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    Button("&Close")->setFocus();
    QTest::keyClick(dialog, Qt::Key_K, Qt::AltModifier);
    EXPECT_EQ(dialog->focusWidget(), list) << "the label's mnemonic does not reach the list";
    Button("&Close")->click();
  });
  RunNvManagerWindow(nullptr, session);
}

TEST_F(ProtocolWindowsQt, EscapeClosesTheNvManagerAsItsCloseBoxDoes) {
  bool closed = false;
  InModal([&](QWidget* dialog) {
    QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
    closed = !dialog->isVisible();
    if (!closed) Button("&Close")->click();
  });
  EXPECT_EQ(RunNvManagerWindow(nullptr, session), 1);
  EXPECT_TRUE(closed) << "Escape left the window open";
  EXPECT_TRUE(boxes.boxes().empty());
}

// The NV manager on screen lists what the ledger knows beside each key of the
// printer on COM1: the source's name and the day it was registered.
class NvManagerLedgerQt : public PtyPrinterTest {
 protected:
  void SetUp() override {
    PtyPrinterTest::SetUp();
    saved_ = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
    UseProfile(session_, ProfileFor("QP-80"));
  }
  void TearDown() override { ::setenv("XDG_DATA_HOME", saved_.c_str(), 1); }

  TempDir data_;
  std::string saved_;
  LogoSession session_;
};

TEST_F(NvManagerLedgerQt, EachListedKeyShowsTheLedgersSourceAndDate) {
  for (const char* key : {"AB", "K1"})
    printer->Define(VKey(key), {vprinter::GraphicsForm::kRaster, 8, 1, {{0x31, {0xFF}}}});
  auto ledger = Ledger::Open(DefaultLedgerPath(), LedgerMode::kWrite);
  ASSERT_TRUE(ledger) << ledger.detail();
  LedgerEntry entry;
  entry.printer = "COM1";
  entry.model = "QP-80";
  entry.key = "AB";
  entry.source_name = "ロゴ.bmp";
  const std::vector<std::uint8_t> raster{'B', 'M', 0};
  entry.raster_sha256 = Sha256Hex(raster);
  entry.time = 1796601600;  // 2026-12-07, UTC
  const auto recorded = ledger->Record(entry, raster);
  ASSERT_TRUE(recorded) << recorded.detail();
  QStringList shown;
  InModal([&](QWidget* dialog) {
    Button("&Get keycode lists")->click();
    auto* list = dialog->findChild<QListWidget*>();
    for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
    Button("&Close")->click();
  });
  EXPECT_EQ(RunNvManagerWindow(nullptr, session_), 1);
  EXPECT_EQ(shown, (QStringList{QString::fromUtf8("AB  ロゴ.bmp  2026-12-07"), "K1"}));
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
