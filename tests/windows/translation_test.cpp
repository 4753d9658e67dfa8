// The Japanese interface: the string table, every template's captions (and
// that they fit their controls), the editor's menus and Qt's own buttons, with
// English unchanged once the translations are unloaded.
#include "platform/translation.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
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

TEST_F(Japanese, StringTableIsTranslatedButInkNamesStayThoseOfThePrinterFiles) {
  EXPECT_EQ(LoadString(kStrKeyListFailed), "キーコード一覧を取得できませんでした。");
  // Cut to as many characters as the English text may hold, never inside one.
  EXPECT_EQ(LoadString(kStrKeyListFailed, 5), "キーコード");
  // Every text of the table has its translation, but the ink names and the
  // extension lists, which are matched against files, and the product name.
  for (int id = 1; id < 100; ++id) {
    const bool kept = id == kStrOpenExtensions || id == kStrSaveExtensions ||
                      id == kStrAppCaption || (id >= kStrBlack && id <= kStrBlue);
    if (!kept && !LoadString(id).empty()) {
      EXPECT_FALSE(IsAscii(LoadString(id))) << id;
    }
  }
  EXPECT_EQ(LoadString(kStrBlack), "Black");
  EXPECT_EQ(ColorFromName("red"), kColorRed);
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
}

TEST_F(Japanese, EditorMenusAndQtsOwnButtonsAreTranslated) {
  EXPECT_EQ(QCoreApplication::translate("EditorWindow", "&File"), "ファイル(&F)");
  EXPECT_EQ(QCoreApplication::translate("EditorPanel", "Rotation (degrees)"), "回転 (度)");
  EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
  EXPECT_EQ(Translate("MAIN", "Text %1"), "文字 %1");
  LoadTranslations("", {});
  EXPECT_EQ(Translate("MAIN", "Text %1"), "Text %1");
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
