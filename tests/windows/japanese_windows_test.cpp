// Every window of InkmarkTool opened under the Japanese translations,
// offscreen: the main window with a document, Preview, the key entry, the NV
// manager, the network address question, the Open dialog, the progress of a
// transfer and the message boxes. No text the user can see may still be its
// English source; names, numbers and file names aside.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <set>

#include "document/document_writer.h"
#include "platform/message_box.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_view.h"
#include "platform/string_table.h"
#include "platform/translation.h"
#include "qt_environment.h"
#include "settings/printer_files.h"
#include "support/compose_fixture.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"
#include "windows/main_ids.h"
#include "windows/main_window_qt.h"
#include "windows/transfer_progress_qt.h"

namespace inkmark::testing {
namespace {

// A text with a word of Latin letters and nothing beyond ASCII, that is not
// one of `names` (from the printer file, or the product's), a path, or a
// number with its unit.
bool StillEnglish(const QString& shown, const std::set<QString>& names) {
  QString text = shown;
  text.remove('&');
  text = text.trimmed();
  if (names.contains(text) || text.startsWith('/')) return false;
  if (!text.contains(QRegularExpression("[A-Za-z]{2}"))) return false;
  for (QChar c : text)
    if (c.unicode() >= 0x80) return false;
  static const QRegularExpression kNumberWithUnit(
      R"(^[\d.]+( x \d+)? ?(bps|bit|dpi|mm|KiB|MiB|GiB)$)");
  return !kNumberWithUnit.match(text).hasMatch();
}

// The texts of a list or table as it shows them, its column headers included;
// the first column of a file list holds file names.
void ItemTexts(QAbstractItemView* view, bool names_first, std::vector<QString>& texts) {
  QAbstractItemModel* model = view->model();
  if (model == nullptr) return;
  const QModelIndex root = view->rootIndex();
  for (int column = names_first ? 1 : 0; column < model->columnCount(root); ++column) {
    texts.push_back(model->headerData(column, Qt::Horizontal).toString());
    for (int row = 0; row < model->rowCount(root); ++row)
      texts.push_back(model->index(row, column, root).data().toString());
  }
}

// Every visible text of `window` still in English, each with where it is.
std::vector<std::string> EnglishLeft(QWidget* window, const std::set<QString>& names) {
  std::vector<std::pair<QString, QString>> shown = {{"title", window->windowTitle()}};
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window)) continue;
    const QString kind = w->metaObject()->className();
    std::vector<QString> texts;
    if (auto* label = qobject_cast<QLabel*>(w)) texts.push_back(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) texts.push_back(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) texts.push_back(group->title());
    if (auto* list = qobject_cast<QComboBox*>(w)) {
      for (int i = 0; i < list->count(); ++i) texts.push_back(list->itemText(i));
    }
    // A file dialog's side bar lists folders by their names.
    if (auto* view = qobject_cast<QAbstractItemView*>(w); view && w->objectName() != "sidebar")
      ItemTexts(view, qobject_cast<QFileDialog*>(window) != nullptr, texts);
    for (const QString& text : texts) shown.emplace_back(kind, text);
  }
  std::vector<std::string> left;
  for (const auto& [kind, text] : shown)
    if (StillEnglish(text, names)) left.push_back((kind + ": " + text).toStdString());
  return left;
}

class JapaneseWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TMPDIR", work.path().c_str(), 1);
    for (auto scope : {QSettings::SystemScope, QSettings::UserScope})
      QSettings::setPath(QSettings::NativeFormat, scope,
                         QString::fromStdString((work.path() / std::to_string(scope)).string()));
    ASSERT_TRUE(LoadTranslations("ja", INKMARK_BIN_DIR "/translations"));
    InstallTranslations();
    PreferInterfaceFont("ja");

    PrinterProfile profile;
    ASSERT_TRUE(LoadPrinterProfile(
        ProfileFile::Parse(ReadFileText(std::filesystem::path(INKMARK_BIN_DIR) / "DT500.DEF")),
        profile));
    session.profiles = {profile};
    names = {"OK", QString::fromStdString(LoadString(kStrAppCaption)),
             QString::fromStdString(profile.model_name)};
    auto add_names = [&](const auto& list) {
      for (const std::string& name : list.choices()) names.insert(QString::fromStdString(name));
    };
    add_names(profile.ports), add_names(profile.flows), add_names(profile.driver_names);
    window.emplace(session, work.path());
    window->Open();
    window->view().dialog().show();
  }
  void TearDown() override {
    window.reset();
    PreferInterfaceFont("");
    LoadTranslations("", {});
    unsetenv("TMPDIR");
  }

  QWidget* W(int id) { return window->view().widget(id); }
  // Runs `open`, which opens a modal window, checks that window and ends it
  // with Escape, as its Cancel or close box.
  std::vector<std::string> Check(const std::function<void()>& open) {
    std::vector<std::string> left = {"no window opened"};
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == &window->view().dialog()) return;
      if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        // Its folder is listed by a thread of its own.
        (void)QTest::qWaitFor([&] {
          auto* tree = files->findChild<QAbstractItemView*>("treeView");
          return tree && tree->model()->rowCount(tree->rootIndex()) >= 3;
        });
      }
      left = EnglishLeft(modal, names);
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    open();
    return left;
  }
  void Click(int id) { static_cast<QPushButton*>(W(id))->click(); }

  TempDir work;
  LogoSession session;
  std::set<QString> names;
  std::optional<QtMainWindow> window;
};

TEST_F(JapaneseWindows, NoWindowShowsItsEnglishTexts) {
  RecordingMessageBoxes boxes;
  // A picture, then a document with a text item, and a folder beside them in
  // the Open dialog.
  const auto document = WriteLogoDocument(384, 48, {TextObject(8, 34, "Logo", "Arial", -26, 0)});
  std::filesystem::create_directory(work.path() / "pictures");
  QWidget* main = &window->view().dialog();
  // A picture shows the processing controls, a document its items.
  const auto picture = SplitBitmap(64, 16, kBlack24, kRed24);
  for (const auto& [name, bytes] :
       {std::pair{std::string("picture.bmp"), std::string(picture.begin(), picture.end())},
        {"logo.QLF", std::string(document->begin(), document->end())}}) {
    // Typed, as the window loads what the user types.
    static_cast<QLineEdit*>(W(kIdSourceEdit))->clear();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier,
                    QString::fromStdString(work.Write(name, bytes).string()));
    QApplication::sendEvent(W(kIdSourceEdit), &typed);
    ASSERT_NE(session.source_kind, kSourceNone) << name;
    EXPECT_EQ(EnglishLeft(main, names), std::vector<std::string>{}) << name;
  }
  ASSERT_EQ(session.source_kind, kSourceDocument);

  EXPECT_EQ(Check([&] { Click(kIdPreview); }), std::vector<std::string>{}) << "Preview";
  EXPECT_EQ(Check([&] { Click(kIdRegister); }), std::vector<std::string>{}) << "key entry";
  EXPECT_EQ(Check([&] { Click(kIdControlPrinter); }), std::vector<std::string>{}) << "NV manager";
  EXPECT_EQ(Check([&] { Click(kIdBrowse); }), std::vector<std::string>{}) << "Open";
  auto* port = static_cast<QComboBox*>(W(kIdPort));
  EXPECT_EQ(Check([&] {
              port->setCurrentIndex(port->count() - 1);
              emit port->activated(port->count() - 1);
            }),
            std::vector<std::string>{})
      << "network";
  QtMessageBoxes shown;
  for (unsigned style : {kMbOk, kMbYesNo, kMbRetryCancel}) {
    EXPECT_EQ(
        Check([&] { shown.Show(main, LoadString(kStrAppCaption), LoadString(kStrNoKeys), style); }),
        std::vector<std::string>{})
        << "message box " << style;
  }
  for (const auto& box : boxes.boxes())
    EXPECT_FALSE(StillEnglish(QString::fromStdString(box.text), names)) << box.text;

  // The progress of a transfer shows once it has lasted a second.
  QtTransferProgress progress(main, [] { return 0u; });
  progress.Update(0, 100000);
  QTest::qWait(1100);
  progress.Update(4096, 100000);
  ASSERT_NE(progress.dialog(), nullptr);
  EXPECT_EQ(EnglishLeft(progress.dialog(), names), std::vector<std::string>{});
  progress.Finished();
}

}  // namespace
}  // namespace inkmark::testing

// A user's Japanese locale, set before the application starts and reads it:
// the file dialog's sizes and dates follow it.
int main(int argc, char** argv) {
  ::setenv("LC_ALL", "ja_JP.UTF-8", 1);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
