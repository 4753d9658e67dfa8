#include "windows/file_dialogs_qt.h"

#include <QFileInfo>
#include <filesystem>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/shell_utils.h"
#include "platform/string_table.h"
#include "platform/translation.h"
#include "windows/file_dialogs.h"

namespace inkmark {
namespace {

QString ToQt(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

// "Bitmap File(*.BMP;*.RLE)" with "*.BMP;*.RLE" becomes a Qt name filter; the
// dialog hides the patterns it appends, so the name reads as the table has it.
QStringList NameFilters(int string_id) {
  QStringList filters;
  // Room for every type of the Open dialog, the other pictures included.
  for (const FileType& type : FileTypesFromText(LoadString(string_id, 255))) {
    QString patterns = ToQt(type.patterns);
    patterns.replace(';', ' ');
    filters << ToQt(type.description) + " (" + patterns + ")";
  }
  return filters;
}

std::string CurrentFolder() {
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

std::unique_ptr<CheckedFileDialog> MakeDialog(QWidget* owner, int types_id, int title_id,
                                              int extensions_id) {
  auto dialog = std::make_unique<CheckedFileDialog>(
      owner, ExtensionsFromText(LoadString(extensions_id, 63)), LoadString(kStrBadFileName, 63));
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setOption(QFileDialog::HideNameFilterDetails, true);
  dialog->setWindowTitle(ToQt(LoadString(title_id, 63)));
  dialog->setNameFilters(NameFilters(types_id));
  return dialog;
}

}  // namespace

CheckedFileDialog::CheckedFileDialog(QWidget* owner, std::vector<std::string> allowed,
                                     std::string error_text)
    : QFileDialog(owner), allowed_(std::move(allowed)), error_text_(std::move(error_text)) {}

std::string CheckedFileDialog::ChosenPath() const {
  QStringList files = selectedFiles();
  return files.isEmpty() ? std::string() : files.first().toLocal8Bit().toStdString();
}

int CheckedFileDialog::ChosenType() const {
  return int(nameFilters().indexOf(selectedNameFilter())) + 1;
}

void CheckedFileDialog::accept() {
  std::string path = ChosenPath();
  // A folder is opened, not chosen; the dialog itself handles that.
  if (!path.empty() && !QFileInfo(ToQt(path)).isDir() && !HasAllowedExtension(path, allowed_)) {
    CurrentMessageBoxes().Show(this, Translate("MAIN", "File"), error_text_, kMbOk);
    return;
  }
  QFileDialog::accept();
}

std::unique_ptr<CheckedFileDialog> MakeOpenDialog(QWidget* owner, const std::string& source_path) {
  auto dialog = MakeDialog(owner, kStrOpenFileTypes, kStrOpenTitle, kStrOpenExtensions);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  DialogStart start = StartFromSourcePath(source_path, CurrentFolder());
  if (IsValidFileName(start.name) == 0) start.name.clear();
  dialog->setDirectory(ToQt(start.folder));
  if (!start.name.empty()) dialog->selectFile(ToQt(start.name));
  return dialog;
}

std::unique_ptr<CheckedFileDialog> MakeSaveDialog(QWidget* owner, const std::string& source_path) {
  auto dialog = MakeDialog(owner, kStrSaveFileTypes, kStrSaveTitle, kStrSaveExtensions);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setDefaultSuffix(QStringLiteral("BMP"));
  // The dialog always starts with an empty name in the source's folder.
  dialog->setDirectory(ToQt(StartFromSourcePath(source_path, CurrentFolder()).folder));
  return dialog;
}

std::optional<std::string> RunOpenDialog(QWidget* owner, const std::string& source_path) {
  auto dialog = MakeOpenDialog(owner, source_path);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  std::string path = dialog->ChosenPath();
  // A longer path does not fit the path buffers; it is refused, never cut.
  if (path.empty() || path.size() > kMaxPath) return std::nullopt;
  return path;
}

std::optional<SaveChoice> RunSaveDialog(QWidget* owner, LogoSession& session) {
  session.save_path.clear();
  auto dialog = MakeSaveDialog(owner, session.source_path);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  std::string path = dialog->ChosenPath();
  if (path.empty() || path.size() > kMaxPath) return std::nullopt;
  session.save_path = path;
  SaveChoice choice;
  choice.type = dialog->ChosenType() == 2 ? SaveType::kCommandFile : SaveType::kBitmap;
  choice.has_extension = HasExtension(path);
  return choice;
}

}  // namespace inkmark
