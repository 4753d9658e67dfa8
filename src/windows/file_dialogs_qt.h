// The Open and Save dialogs: Qt's own file dialog (not the desktop's), so that
// a name whose extension is not allowed is refused before the dialog closes.
#pragma once

#include <QFileDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "windows/main_host.h"

namespace inkmark {

class CheckedFileDialog final : public QFileDialog {
 public:
  CheckedFileDialog(QWidget* owner, std::vector<std::string> allowed, std::string error_text);
  // Shows the error box (caption "File") and stays open for a refused name.
  void accept() override;
  // The path the dialog chose (default extension added), or "" when none.
  std::string ChosenPath() const;
  // 1-based index of the selected file type.
  int ChosenType() const;

 private:
  std::vector<std::string> allowed_;
  std::string error_text_;
};

std::unique_ptr<CheckedFileDialog> MakeOpenDialog(QWidget* owner, const std::string& source_path);
std::unique_ptr<CheckedFileDialog> MakeSaveDialog(QWidget* owner, const std::string& source_path);

// Runs the Open dialog; the chosen path, or nullopt when cancelled.
std::optional<std::string> RunOpenDialog(QWidget* owner, const std::string& source_path);
// Runs the Save dialog; fills save_path and says which type was chosen.
std::optional<SaveChoice> RunSaveDialog(QWidget* owner, LogoSession& session);

}  // namespace inkmark
