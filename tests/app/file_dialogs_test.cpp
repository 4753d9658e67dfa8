#include "app/file_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "app/file_dialogs_qt.h"
#include "platform/string_table.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

TEST(FileDialogsTest, FileTypesComeFromStringTable) {
  auto open = FileTypesFromText(LoadString(kStrOpenFileTypes));
  ASSERT_EQ(open.size(), 3u);
  EXPECT_EQ(open[0].description, "Bitmap File(*.BMP;*.RLE)");
  EXPECT_EQ(open[0].patterns, "*.BMP;*.RLE");
  EXPECT_EQ(open[2].patterns, "*.QLF");
  auto save = FileTypesFromText(LoadString(kStrSaveFileTypes));
  ASSERT_EQ(save.size(), 2u);
  EXPECT_EQ(save[1].description, "ORC/POS Command File(*.BIN)");
  EXPECT_EQ(ExtensionsFromText(LoadString(kStrOpenExtensions)),
            (std::vector<std::string>{"BMP", "RLE", "JPG", "QLF"}));
}

TEST(FileDialogsTest, ExtensionCheckIgnoresCaseAndNeedsExactExtension) {
  const std::vector<std::string> open = {"BMP", "RLE", "JPG", "QLF"};
  const std::pair<const char*, bool> kCases[] = {
      {"/p/a.jpg", true}, {"/p/a.JPG", true},     {"/p/a.b.Qlf", true}, {"/p/a.jpeg", false},
      {"/p/a.", false},   {"/p.bmp/name", false}, {"name", false}};
  for (auto [path, ok] : kCases) EXPECT_EQ(HasAllowedExtension(path, open), ok) << path;
  EXPECT_TRUE(HasExtension("x/a.bin"));
  EXPECT_FALSE(HasExtension("x.d/a"));
}

TEST(FileDialogsTest, StartFolderAndNameFromSourcePath) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
  } kCases[] = {
      {"/logo.bmp", "/", "logo.bmp"}, {"logo.bmp", "/cwd", "logo.bmp"}, {"/a/b/", "/a/b", ""}};
  for (const auto& c : kCases) {
    DialogStart start = StartFromSourcePath(c.path, "/cwd");
    EXPECT_EQ(start.folder, c.folder) << c.path;
    EXPECT_EQ(start.name, c.name) << c.path;
  }
}

TEST(FileDialogsTest, OpenRefusesWrongExtensionAndStaysOpen) {
  TempDir dir;
  dir.Write("x.jpeg", "x");
  dir.Write("y.JPG", "x");
  RecordingMessageBoxes boxes;
  auto dialog = MakeOpenDialog(nullptr, (dir.path() / "bad|name.bmp").string());
  EXPECT_EQ(dialog->windowTitle(), "Open");
  EXPECT_EQ(dialog->nameFilters().size(), 3);
  EXPECT_EQ(dialog->directory().absolutePath().toStdString(), dir.path().string());
  dialog->selectFile(QString::fromStdString((dir.path() / "x.jpeg").string()));
  dialog->accept();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].caption, "File");
  EXPECT_EQ(boxes.boxes()[0].text, "Invalid file name.  Input a proper name.");
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  dialog->selectFile(QString::fromStdString((dir.path() / "y.JPG").string()));
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST(FileDialogsTest, SaveAddsBmpAndAcceptsBinWithBitmapType) {
  TempDir dir;
  RecordingMessageBoxes boxes;
  auto dialog = MakeSaveDialog(nullptr, (dir.path() / "logo.bmp").string());
  EXPECT_EQ(dialog->windowTitle(), "Save As");
  EXPECT_EQ(dialog->ChosenType(), 1);
  dialog->selectFile(QString::fromStdString((dir.path() / "out").string()));
  EXPECT_EQ(dialog->ChosenPath(), (dir.path() / "out.BMP").string());
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  auto bin = MakeSaveDialog(nullptr, (dir.path() / "logo.bmp").string());
  bin->selectFile(QString::fromStdString((dir.path() / "out.bin").string()));
  bin->accept();
  EXPECT_EQ(bin->result(), QDialog::Accepted);
  EXPECT_EQ(bin->ChosenType(), 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
