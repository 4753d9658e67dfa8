// The editor's main window: the canvas in a scroll area, the side panel, and
// the menus and tool bar with the commands. Closing it with unsaved changes
// asks whether to save them.
#pragma once

#include <QCoreApplication>
#include <QMainWindow>
#include <string>

#include "editor/editor_model.h"

class QAction;
class QCloseEvent;

namespace inkmark {

class EditorCanvas;
class EditorPanel;

class EditorWindow : public QMainWindow {
  Q_DECLARE_TR_FUNCTIONS(EditorWindow)

 public:
  // `path` is where the document is saved; empty for a new page, which asks
  // for a path when it is first saved.
  EditorWindow(EditorDocument document, std::string path);

  // The printer resolution pictures drawn to a size (SVG) are placed at.
  void SetPrinterDotsPerInch(std::int32_t dots_per_inch);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildActions();
  void AddText();
  void AddImage();
  void ImageRefused(const QString& path);
  void DeleteSelected();
  void Arrange(bool forward);
  void Undo();
  void Redo();
  bool Save();
  bool SaveAs();
  bool SaveTo(const std::string& path);
  // Shows the model again everywhere after a change.
  void ModelChanged();
  void UpdateTitle();

  EditorModel model_;
  std::string path_;
  std::uint8_t text_char_set_ = 0;  // the one last chosen for a new text
  EditorCanvas* canvas_;
  EditorPanel* panel_;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QAction* delete_ = nullptr;
  QAction* forward_ = nullptr;
  QAction* backward_ = nullptr;
};

}  // namespace inkmark
