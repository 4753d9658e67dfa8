// The editor's window through the real Qt view, offscreen: every text in
// Japanese under a Japanese locale and a tool tip on every control, "Add text"
// with its character set and its reasons, stored bytes that edits of the style
// and the box keep, Save As on its key, and the text's colour shown as a colour.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <set>

#include "editor/editor_canvas.h"
#include "editor/editor_text.h"
#include "editor/editor_window.h"
#include "platform/translation.h"
#include "support/compose_fixture.h"
#include "windows/qt_environment.h"

namespace inkmark::testing {
namespace {

// Runs `act` on the modal window that `open` brings up; `act` closes it. A
// failure when `open` brings up none.
void OnModal(const std::function<void()>& open, const std::function<void(QWidget&)>& act) {
  bool seen = false;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    seen = true;
    act(*modal);
    if (QApplication::activeModalWidget() == modal) {
      ADD_FAILURE() << "the modal window was left open";
      modal->close();
    }
  });
  timer.start(0);
  open();
  QCoreApplication::processEvents();
  EXPECT_TRUE(seen) << "no modal window came up";
}

template <class T>
T* Find(QWidget& root, const char* name) {
  T* found = root.findChild<T*>(QLatin1String(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

EditorCanvas& Canvas(QWidget& window) {
  return *dynamic_cast<EditorCanvas*>(Find<QWidget>(window, "page"));
}

// Selects the item as the user does, with a click on the page.
void ClickItem(EditorWindow& window, const DocumentObject& object) {
  EditorCanvas& canvas = Canvas(window);
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.WidgetRect(BoxOf(object)).center());
}

void Trigger(QWidget& window, const char* action) { Find<QAction>(window, action)->trigger(); }

// Where a text stands and the text itself.
using Texts = std::vector<std::pair<QString, QString>>;

void Add(Texts& out, const QString& where, const QString& text) {
  if (!text.isEmpty()) out.emplace_back(where, text);
}

// Every text the user can read in `root`, shown or not: titles, captions, list
// entries, field contents, actions with their menus, tool tips, the status line.
Texts ReadableTexts(QWidget& root) {
  Texts out;
  Add(out, "title", root.windowTitle());
  for (QWidget* w : root.findChildren<QWidget*>()) {
    const QString where = QString::fromLatin1(w->metaObject()->className()) + ' ' + w->objectName();
    const bool inner = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                       qobject_cast<QComboBox*>(w->parentWidget());
    if (auto* label = qobject_cast<QLabel*>(w)) Add(out, where, label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) Add(out, where, button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) Add(out, where, group->title());
    if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !inner) Add(out, where, edit->text());
    if (auto* menu = qobject_cast<QMenu*>(w)) Add(out, where, menu->title());
    if (auto* status = qobject_cast<QStatusBar*>(w)) Add(out, where, status->currentMessage());
    if (qobject_cast<QDockWidget*>(w) || qobject_cast<QToolBar*>(w))
      Add(out, where, w->windowTitle());
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && !qobject_cast<QFontComboBox*>(w)) {
      for (int i = 0; i < combo->count(); ++i) Add(out, where, combo->itemText(i));
    }
    Add(out, where + " tip", w->toolTip());
  }
  for (QAction* action : root.findChildren<QAction*>()) {
    Add(out, "action " + action->objectName(), action->text());
    Add(out, "action tip " + action->objectName(), action->toolTip());
  }
  return out;
}

void Append(Texts& to, const Texts& more) { to.insert(to.end(), more.begin(), more.end()); }

// The controls the user can reach in `root` as it is shown now.
std::vector<QWidget*> Controls(QWidget& root) {
  std::vector<QWidget*> controls;
  for (QWidget* w : root.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&root) || !w->isEnabled()) continue;
    const bool inner = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                       qobject_cast<QComboBox*>(w->parentWidget());
    if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
        qobject_cast<QComboBox*>(w) || (qobject_cast<QLineEdit*>(w) && !inner) ||
        dynamic_cast<EditorCanvas*>(w)) {
      controls.push_back(w);
    }
  }
  return controls;
}

void ExpectToolTips(QWidget& root, const std::string& state) {
  const std::vector<QWidget*> controls = Controls(root);
  EXPECT_GE(controls.size(), 3u) << state;
  for (QWidget* w : controls) {
    EXPECT_FALSE(w->toolTip().isEmpty())
        << state << ": " << w->metaObject()->className() << ' ' << w->objectName().toStdString();
  }
  // An action's tool tip is its own, not its menu text.
  for (QAction* action : root.findChildren<QAction*>()) {
    if (action->objectName().isEmpty()) continue;
    EXPECT_NE(action->toolTip(), QString(action->text()).remove('&').remove("..."))
        << action->objectName().toStdString();
  }
}

// A page with a text item and an image item, unsaved.
EditorDocument TextAndImage() {
  EditorDocument page;
  page.page_width = 320;
  page.page_height = 120;
  page.objects.push_back(TextObject(10, 50, "Logo", "Liberation Sans", -30, 0));
  page.objects.push_back(ImageObject(200, 10, 240, 40, SolidBitmap(40, 30, kRed24)));
  return page;
}

// The texts of the editor's window, its "Add text" dialog and its question on
// closing with changes, in the language loaded; tool tips are checked on the way.
Texts EditorTexts(const std::string& language) {
  const EditorDocument page = TextAndImage();
  EditorWindow window(page, "");
  window.show();
  Texts texts = ReadableTexts(window);
  ClickItem(window, page.objects[1]);
  ExpectToolTips(window, language + " image selected");
  ClickItem(window, page.objects[0]);
  ExpectToolTips(window, language + " text selected");
  OnModal([&] { Trigger(window, "addText"); },
          [&](QWidget& dialog) {
            Append(texts, ReadableTexts(dialog));
            ExpectToolTips(dialog, language + " Add text");
            static_cast<QDialog&>(dialog).reject();
          });
  Find<QCheckBox>(window, "bold")->click();
  OnModal([&] { window.close(); },
          [&](QWidget& question) {
            Append(texts, ReadableTexts(question));
            static_cast<QMessageBox&>(question).button(QMessageBox::Cancel)->click();
          });
  EXPECT_TRUE(window.isVisible()) << "Cancel keeps the editor open";
  return texts;
}

TEST(EditorJapanese, EveryTextOfTheWindowItsDialogAndItsQuestionIsTranslated) {
  LoadTranslations("", {});
  const Texts english = EditorTexts("English");
  ASSERT_TRUE(LoadTranslations("ja", INKMARK_BIN_DIR "/translations"));
  InstallTranslations();
  const Texts japanese = EditorTexts("Japanese");
  LoadTranslations("", {});

  ASSERT_EQ(english.size(), japanese.size());
  // The item's own text and the program's name stay as they are, and Qt's own
  // Japanese keeps "OK".
  const std::set<QString> names = {"Logo", "InkmarkEdit", "OK"};
  int translated = 0;
  for (std::size_t i = 0; i < english.size(); ++i) {
    const auto& [where, text] = english[i];
    EXPECT_EQ(japanese[i].first, where);
    if (names.contains(text) || !text.contains(QRegularExpression("[A-Za-z]{2}"))) continue;
    EXPECT_NE(japanese[i].second, text) << where.toStdString() << ": " << text.toStdString();
    ++translated;
  }
  EXPECT_GT(translated, 80);
  // The character sets are among them, and the swatch button has no text to translate.
  EXPECT_NE(std::find_if(japanese.begin(), japanese.end(),
                         [](const auto& t) { return t.second == "日本語 (シフトJIS)"; }),
            japanese.end());
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char part[4];
  for (unsigned char b : bytes) {
    std::snprintf(part, sizeof part, "%02X ", b);
    out += part;
  }
  return out;
}

bool HasShiftJis() { return EncodeItemText(QStringLiteral("\u65E5"), 128).has_value(); }

TEST(EditorAddText, OffersTheCharacterSetsAndRefusesOnlyForTheRealReason) {
  if (!HasShiftJis()) GTEST_SKIP() << "no Shift-JIS codec in this Qt";
  TempDir dir;
  const std::string path = (dir.path() / "logo.QLF").string();
  EditorWindow window(EditorDocument{}, path);
  window.show();
  const QString sun(QChar(0x65E5));  // two bytes in Shift-JIS, none in Western
  OnModal([&] { Trigger(window, "addText"); },
          [&](QWidget& dialog) {
            auto* text = Find<QLineEdit>(dialog, "text");
            auto* set = Find<QComboBox>(dialog, "charSet");
            auto* message = Find<QLabel>(dialog, "message");
            auto* ok = static_cast<QPushButton*>(
                dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
            EXPECT_EQ(set->count(), int(CharSetChoices().size()));
            EXPECT_EQ(set->currentData().toInt(), 0);

            // Western has no code for it: refused for that, what was typed kept.
            text->setText(sun + sun);
            ok->click();
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_TRUE(message->text().contains(sun)) << message->text().toStdString();
            EXPECT_TRUE(message->text().contains(CharSetName(0)));
            EXPECT_FALSE(message->text().contains("does not fit"));
            EXPECT_EQ(text->text(), sun + sun);

            // In Shift-JIS 21 characters take 42 bytes: too long; 20 fit.
            set->setCurrentIndex(set->findData(128));
            EXPECT_TRUE(message->text().isEmpty());
            text->setText(sun.repeated(21));
            ok->click();
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_TRUE(message->text().contains("42")) << message->text().toStdString();
            EXPECT_TRUE(message->text().contains("40"));
            text->setText(sun.repeated(20));
            ok->click();
            EXPECT_FALSE(dialog.isVisible());
          });
  Trigger(window, "save");
  LoadError error = LoadError::kNone;
  const auto saved = LoadEditorDocument(path, error);
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->objects.size(), 1u);
  std::string twenty;
  for (int i = 0; i < 20; ++i) twenty += "\x93\xFA";
  EXPECT_EQ(Hex(saved->objects[0].text), Hex(twenty));
  EXPECT_EQ(saved->objects[0].font.char_set, 128);

  // The next text is offered the character set chosen last.
  OnModal([&] { Trigger(window, "addText"); },
          [&](QWidget& dialog) {
            EXPECT_EQ(Find<QComboBox>(dialog, "charSet")->currentData().toInt(), 128);
            static_cast<QDialog&>(dialog).reject();
          });
}

TEST(EditorStoredBytes, SequencesTheCodePageCannotReadSurviveEditsElsewhereButNotRetyping) {
  if (!HasShiftJis()) GTEST_SKIP() << "no Shift-JIS codec in this Qt";
  // A character, then a lead byte before a byte no character ends in, a
  // letter, and a pair Shift-JIS leaves unassigned.
  const std::string stored = "\x93\xFA\x81\x20Z\x85\x40";
  DocumentObject item = TextObject(10, 40, stored, "Liberation Sans", -20, 0);
  item.font.char_set = 128;
  TempDir dir;
  const std::string path = (dir.path() / "logo.QLF").string();
  ASSERT_EQ(SaveEditorDocument(path, {256, 100, {item}}), SaveError::kNone);
  LoadError error = LoadError::kNone;
  const auto loaded = LoadEditorDocument(path, error);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(Hex(loaded->objects[0].text), Hex(stored));

  EditorWindow window(*loaded, path);
  window.show();
  ClickItem(window, loaded->objects[0]);
  Find<QCheckBox>(window, "bold")->click();  // restyled
  auto* height = Find<QSpinBox>(window, "itemHeight");
  height->setValue(height->value() * 2);            // resized: the size follows the height
  QTest::keyClick(&Canvas(window), Qt::Key_Right);  // moved
  Trigger(window, "save");
  auto saved = LoadEditorDocument(path, error);
  ASSERT_TRUE(saved);
  const DocumentObject& edited = saved->objects[0];
  EXPECT_EQ(Hex(edited.text), Hex(stored));
  EXPECT_EQ(edited.font.weight, 700);
  EXPECT_LT(edited.font.height, -30);
  EXPECT_EQ(edited.left, 11);

  // Text the user types is stored as typed.
  auto* text = Find<QLineEdit>(window, "text");
  text->setText(QStringLiteral("\u65E5\u672C"));
  QTest::keyClick(text, Qt::Key_Return);
  Trigger(window, "save");
  saved = LoadEditorDocument(path, error);
  ASSERT_TRUE(saved);
  EXPECT_EQ(Hex(saved->objects[0].text), Hex("\x93\xFA\x96\x7B"));
}

TEST(EditorWindowKeys, SaveAsIsOnCtrlShiftSAndTheColourButtonShowsTheColour) {
  EditorDocument page = TextAndImage();
  page.objects[0].text_color = 0x0000FF;  // red, stored as 0x00BBGGRR
  EditorWindow window(page, "");
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ClickItem(window, page.objects[0]);
  auto* colour = Find<QPushButton>(window, "colour");
  EXPECT_FALSE(colour->text().contains('#')) << colour->text().toStdString();
  const QImage swatch = colour->icon().pixmap(colour->iconSize()).toImage();
  ASSERT_FALSE(swatch.isNull());
  EXPECT_EQ(swatch.pixelColor(swatch.rect().center()), QColor(255, 0, 0));

  OnModal([&] { QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier); },
          [&](QWidget& dialog) {
            auto* save = qobject_cast<QFileDialog*>(&dialog);
            EXPECT_NE(save, nullptr);
            if (save != nullptr) {
              EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
            }
            dialog.close();
          });
}

}  // namespace
}  // namespace inkmark::testing
