// The Japanese interface: the string table, every template's captions (and
// that they fit their controls), the editor's menus and Qt's own buttons, with
// English unchanged once the translations are unloaded.
#include "platform/translation.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "platform/qt_view.h"
#include "platform/string_table.h"
#include "qt_environment.h"
#include "session/session.h"
#include "windows/key_entry_template.h"
#include "windows/main_template.h"
#include "windows/main_window.h"
#include "windows/nv_manager_template.h"

namespace inkmark::testing {
namespace {

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

class Japanese : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadTranslations("ja", INKMARK_BIN_DIR "/translations"));
    InstallTranslations();
  }
  void TearDown() override { LoadTranslations("", {}); }
};

TEST_F(Japanese, StringTableIsTranslatedButInksAreMatchedByTheirEnglishNames) {
  EXPECT_EQ(LoadString(kStrKeyListFailed), "キーコード一覧を取得できませんでした。");
  // Cut to as many characters as the English text may hold, never inside one.
  EXPECT_EQ(LoadString(kStrKeyListFailed, 5), "キーコード");
  // Every text of the table has its translation, but the extension lists,
  // which are matched against files, and the product name.
  for (int id = 1; id < 100; ++id) {
    const bool kept = id == kStrOpenExtensions || id == kStrSaveExtensions || id == kStrAppCaption;
    if (!kept && !LoadString(id).empty()) {
      EXPECT_FALSE(IsAscii(LoadString(id))) << id;
    }
  }
  // The lists show the inks in Japanese; printer files still name them in English.
  EXPECT_EQ(LoadString(kStrRed), "赤");
  EXPECT_EQ(ColorFromName("red"), kColorRed);
  EXPECT_EQ(ColorFromName("Blue"), kColorBlue);
  EXPECT_EQ(ColorFromName("赤"), kNoInk);
  EXPECT_EQ(LoadString(kStrOpenExtensions), "BMP,RLE,JPG,QLF,PNG,GIF,SVG");

  LoadTranslations("", {});
  EXPECT_EQ(LoadString(kStrKeyListFailed), "Failed to get key code list.");
  EXPECT_EQ(LoadString(kStrAskDelete, 21), "Do you want to delete");
  // A missing language leaves English in place.
  EXPECT_FALSE(LoadTranslations("xx", INKMARK_BIN_DIR "/translations"));
  EXPECT_EQ(LoadString(kStrNoKeys), "No Key code exist in NV graphics.");
}

// The template's controls as built, in template order (group boxes left out:
// they enclose others).
std::vector<QWidget*> Controls(QtDialogView& view) {
  std::vector<QWidget*> controls;
  for (QObject* child : view.dialog().children())
    if (auto* w = qobject_cast<QWidget*>(child); w && !qobject_cast<QGroupBox*>(w))
      controls.push_back(w);
  return controls;
}

TEST_F(Japanese, EveryTemplateCaptionIsTranslatedAndFitsItsControl) {
  // In the font the program prefers for Japanese, where one is installed.
  PreferInterfaceFont("ja");
  for (const DialogTemplate* dialog :
       {&MainTemplate(), &KeyEntryTemplate(), &NvManagerTemplate()}) {
    // Controls that the English window already lays over each other (shown
    // one at a time) are no fault of the translation.
    LoadTranslations("", {});
    QtDialogView english(*dialog, {});
    const std::vector<QWidget*> before = Controls(english);
    ASSERT_TRUE(LoadTranslations("ja", INKMARK_BIN_DIR "/translations"));
    QtDialogView view(*dialog, {});
    EXPECT_FALSE(IsAscii(view.dialog().windowTitle().toStdString())) << dialog->name;
    const std::vector<QWidget*> after = Controls(view);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
      QWidget* w = after[i];
      QString text;
      if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
      // Captions with words are translated; "2:" and "R" stay as they are.
      if (!text.contains(QRegularExpression("[A-Za-z]{2}"))) continue;
      const std::string where = std::string(dialog->name) + " " + text.toStdString();
      EXPECT_FALSE(IsAscii(text.toStdString())) << where;
      const int needed = w->fontMetrics().horizontalAdvance(QString(text).remove('&'));
      EXPECT_LE(needed + (qobject_cast<QPushButton*>(w) ? 8 : 0), w->width()) << where;
      for (std::size_t j = 0; j < after.size(); ++j) {
        if (j == i || before[i]->geometry().intersects(before[j]->geometry())) continue;
        EXPECT_FALSE(w->geometry().intersects(after[j]->geometry()))
            << where << " overlaps control " << j;
      }
    }
  }
  PreferInterfaceFont("");
}

TEST_F(Japanese, EditorMenusAndQtsOwnButtonsAreTranslated) {
  EXPECT_EQ(QCoreApplication::translate("EditorWindow", "&File"), "ファイル(&F)");
  EXPECT_EQ(QCoreApplication::translate("EditorPanel", "Rotation (degrees)"), "回転 (度)");
  EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
  EXPECT_EQ(Translate("MAIN", "Text %1"), "文字 %1");
  LoadTranslations("", {});
  EXPECT_EQ(Translate("MAIN", "Text %1"), "Text %1");
}

// The shown names of the lists and how their items are drawn, while the
// names themselves stay those of the printer file.
TEST_F(Japanese, InkAndParityNamesAreShownInJapaneseAndDrawnInTheirInk) {
  EXPECT_EQ(ShownChoiceName("Black"), "黒");
  EXPECT_EQ(ShownChoiceName("RED"), "赤");
  EXPECT_EQ(ShownChoiceName("None"), "なし");
  EXPECT_EQ(ShownChoiceName("Odd"), "奇数");
  EXPECT_EQ(ShownChoiceName("DTR/DSR"), "DTR/DSR");
  EXPECT_EQ(ColorItemLookFor("赤", false).swatch, 105);
  EXPECT_EQ(ColorItemLookFor("Red", false).swatch, 105);
  EXPECT_EQ(ColorItemLookFor("なし", false).swatch, 108);
  LoadTranslations("", {});
  EXPECT_EQ(ShownChoiceName("black"), "black");
  EXPECT_EQ(ShownChoiceName("None"), "None");
}

// Latin text keeps the template's face, so the windows keep their size;
// Japanese text takes a proportional face where one is installed.
TEST_F(Japanese, InterfacePrefersAProportionalJapaneseFont) {
  const QFont before = QApplication::font();
  const QString face = PreferInterfaceFont("ja");
  QtDialogView view(KeyEntryTemplate(), {});
  const QStringList families = view.dialog().font().families();
  if (face.isEmpty()) {
    EXPECT_EQ(families.size(), 1);
    GTEST_SKIP() << "no proportional Japanese font installed";
  }
  EXPECT_EQ(families, (QStringList{"Arial", face}));
  EXPECT_EQ(QApplication::font().families().first(), face);
  EXPECT_FALSE(QFontInfo(QApplication::font()).fixedPitch()) << face.toStdString();
  EXPECT_EQ(PreferInterfaceFont(""), "");
  EXPECT_EQ(QApplication::font(), before);
  EXPECT_EQ(QtDialogView(KeyEntryTemplate(), {}).dialog().font().families(), QStringList{"Arial"});
}

TEST(RequestedLanguage, FollowsTheFirstLocaleVariableThatIsSet) {
  const std::tuple<const char*, const char*, const char*, std::string> cases[] = {
      {"", "", "ja_JP.UTF-8", "ja"},
      {"", "ja_JP", "en_US.UTF-8", "ja"},
      {"C", "ja_JP", "ja_JP", ""},
      {"", "", "de_DE.UTF-8", ""},
  };
  for (const auto& [all, messages, lang, expected] : cases) {
    ::setenv("LC_ALL", all, 1);
    ::setenv("LC_MESSAGES", messages, 1);
    ::setenv("LANG", lang, 1);
    EXPECT_EQ(RequestedLanguage(), expected) << all << "|" << messages << "|" << lang;
  }
  ::unsetenv("LC_ALL"), ::unsetenv("LC_MESSAGES"), ::unsetenv("LANG");
}

}  // namespace
}  // namespace inkmark::testing
