#include "app/file_dialogs.h"

#include <gtest/gtest.h>

#include "app/file_dialogs_qt.h"
#include "platform/string_table.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

TEST(FileDialogsTest, FileTypesAndExtensionsComeFromTheStringTable) {
  auto open = FileTypesFromText(LoadString(kStrOpenFileTypes));
  ASSERT_EQ(open.size(), 3u);
  EXPECT_EQ(open[0].description + "|" + open[0].patterns, "Bitmap File(*.BMP;*.RLE)|*.BMP;*.RLE");
  EXPECT_EQ(FileTypesFromText(LoadString(kStrSaveFileTypes)).at(1).description,
            "ORC/POS Command File(*.BIN)");
  const auto allowed = ExtensionsFromText(LoadString(kStrOpenExtensions));
  EXPECT_EQ(allowed, (std::vector<std::string>{"BMP", "RLE", "JPG", "QLF"}));
  const std::pair<const char*, bool> kCases[] = {
      {"/p/a.jpg", true}, {"/p/a.JPG", true},     {"/p/a.b.Qlf", true}, {"/p/a.jpeg", false},
      {"/p/a.", false},   {"/p.bmp/name", false}, {"name", false}};
  for (auto [path, ok] : kCases) EXPECT_EQ(HasAllowedExtension(path, allowed), ok) << path;
  EXPECT_TRUE(HasExtension("x/a.bin"));
  EXPECT_FALSE(HasExtension("x.d/a"));
}

TEST(FileDialogsTest, StartFolderAndNameFromSourcePath) {
  const std::array<const char*, 3> kCases[] = {
      {"/logo.bmp", "/", "logo.bmp"}, {"logo.bmp", "/cwd", "logo.bmp"}, {"/a/b/", "/a/b", ""}};
  for (const auto& [path, folder, name] : kCases) {
    DialogStart start = StartFromSourcePath(path, "/cwd");
    EXPECT_EQ(start.folder + "|" + start.name, std::string(folder) + "|" + name) << path;
  }
}

TEST(FileDialogsTest, OpenRefusesAWrongExtensionAndStaysOpen) {
  TempDir dir;
  RecordingMessageBoxes boxes;
  auto dialog = MakeOpenDialog(nullptr, (dir.path() / "bad|name.bmp").string());
  EXPECT_EQ(dialog->directory().absolutePath().toStdString(), dir.path().string());
  dialog->selectFile(QString::fromStdString(dir.Write("x.jpeg", "x").string()));
  dialog->accept();
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Invalid file name.  Input a proper name."});
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  dialog->selectFile(QString::fromStdString(dir.Write("y.JPG", "x").string()));
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST(FileDialogsTest, SaveAddsBmpAndTakesBinAsTheBitmapType) {
  TempDir dir;
  RecordingMessageBoxes boxes;
  auto dialog = MakeSaveDialog(nullptr, (dir.path() / "logo.bmp").string());
  dialog->selectFile(QString::fromStdString((dir.path() / "out").string()));
  EXPECT_EQ(dialog->ChosenPath(), (dir.path() / "out.BMP").string());
  auto bin = MakeSaveDialog(nullptr, (dir.path() / "logo.bmp").string());
  bin->selectFile(QString::fromStdString((dir.path() / "out.bin").string()));
  bin->accept();
  EXPECT_EQ(bin->result(), QDialog::Accepted);
  EXPECT_EQ(bin->ChosenType(), 1);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
