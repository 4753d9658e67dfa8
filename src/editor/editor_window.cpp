#include "editor/editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

#include "editor/editor_add_text.h"
#include "editor/editor_canvas.h"
#include "editor/editor_image.h"
#include "editor/editor_panel.h"
#include "editor/editor_text.h"
#include "picture/picture_formats.h"

namespace inkmark {
namespace {

const QString kCaption = QStringLiteral("InkmarkEdit");

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString SaveErrorText(SaveError error, const QString& path) {
  switch (error) {
    case SaveError::kEmpty:
      return EditorWindow::tr("The logo has no items. Add a text or an image before saving it.");
    case SaveError::kUnstorable:
      return EditorWindow::tr("The logo cannot be stored: its page or its pictures are too large.");
    case SaveError::kNotRegularFile:
      return EditorWindow::tr("\"%1\" is not a regular file. Save the logo under another name.")
          .arg(path);
    default:
      return EditorWindow::tr("The logo could not be written to \"%1\".").arg(path);
  }
}

// Names the action for the tests and gives it its tool tip.
void Describe(QAction* action, const char* name, const QString& tip) {
  action->setObjectName(QLatin1String(name));
  action->setToolTip(tip);
  action->setStatusTip(tip);
}

}  // namespace

EditorWindow::EditorWindow(EditorDocument document, std::string path)
    : model_(std::move(document)), path_(std::move(path)) {
  canvas_ = new EditorCanvas(model_);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(canvas_);
  scroll->setWidgetResizable(false);
  scroll->setBackgroundRole(QPalette::Mid);
  setCentralWidget(scroll);

  auto* dock = new QDockWidget(tr("Properties"), this);
  dock->setObjectName(QStringLiteral("properties"));
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  panel_ = new EditorPanel(model_, dock);
  dock->setWidget(panel_);
  addDockWidget(Qt::RightDockWidgetArea, dock);

  canvas_->SetOnEdited([this] { ModelChanged(); });
  canvas_->SetOnDropRefused([this](const QString& path) { ImageRefused(path); });
  canvas_->setAcceptDrops(true);
  panel_->SetOnEdited([this] { ModelChanged(); });
  BuildActions();
  statusBar()->showMessage(tr("Drag an item to move it, its corner square to resize it."));
  resize(1000, 640);
  ModelChanged();
}

void EditorWindow::BuildActions() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* save = file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { Save(); });
  // Spelled out: not every platform theme binds a key to Save As.
  QAction* save_as =
      file->addAction(tr("Save &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this,
                      [this] { SaveAs(); });
  file->addSeparator();
  QAction* close_window =
      file->addAction(tr("&Close"), QKeySequence::Close, this, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  undo_ = edit->addAction(tr("&Undo"), QKeySequence::Undo, this, [this] { Undo(); });
  redo_ = edit->addAction(tr("&Redo"), QKeySequence::Redo, this, [this] { Redo(); });
  edit->addSeparator();
  delete_ =
      edit->addAction(tr("&Delete"), QKeySequence::Delete, this, [this] { DeleteSelected(); });

  QMenu* insert = menuBar()->addMenu(tr("&Insert"));
  QAction* text = insert->addAction(tr("&Text..."), QKeySequence(Qt::CTRL | Qt::Key_T), this,
                                    [this] { AddText(); });
  QAction* image =
      insert->addAction(tr("&Image..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), this,
                        [this] { AddImage(); });

  QMenu* arrange = menuBar()->addMenu(tr("&Arrange"));
  forward_ = arrange->addAction(tr("Bring &Forward"), QKeySequence(Qt::CTRL | Qt::Key_BracketRight),
                                this, [this] { Arrange(true); });
  backward_ = arrange->addAction(tr("Send &Backward"), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft),
                                 this, [this] { Arrange(false); });

  QMenu* view = menuBar()->addMenu(tr("&View"));
  QAction* zoom_in =
      view->addAction(tr("Zoom &In"), QKeySequence::ZoomIn, this, [this] { canvas_->ZoomIn(); });
  QAction* zoom_out =
      view->addAction(tr("Zoom &Out"), QKeySequence::ZoomOut, this, [this] { canvas_->ZoomOut(); });
  QAction* actual_size = view->addAction(tr("&Actual Size"), QKeySequence(Qt::CTRL | Qt::Key_0),
                                         this, [this] { canvas_->ZoomReset(); });

  Describe(save, "save", tr("Save the logo to its file"));
  Describe(save_as, "saveAs", tr("Save the logo to a file of another name"));
  Describe(close_window, "close", tr("Close the editor, asking first about unsaved changes"));
  Describe(undo_, "undo", tr("Take back the last change"));
  Describe(redo_, "redo", tr("Make the change taken back again"));
  Describe(delete_, "delete", tr("Remove the selected item from the page"));
  Describe(text, "addText", tr("Add a text item to the page"));
  Describe(image, "addImage", tr("Add a picture from a file to the page"));
  Describe(forward_, "forward", tr("Draw the selected item over the next one"));
  Describe(backward_, "backward", tr("Draw the selected item under the one before"));
  Describe(zoom_in, "zoomIn", tr("Show the page larger"));
  Describe(zoom_out, "zoomOut", tr("Show the page smaller"));
  Describe(actual_size, "actualSize", tr("Show the page one screen pixel a dot"));

  QToolBar* bar = addToolBar(tr("Commands"));
  bar->setObjectName(QStringLiteral("commands"));
  bar->setMovable(false);
  for (QAction* action : {text, image}) bar->addAction(action);
  bar->addSeparator();
  for (QAction* action : {delete_, forward_, backward_}) bar->addAction(action);
  bar->addSeparator();
  for (QAction* action : {undo_, redo_}) bar->addAction(action);
  bar->addSeparator();
  for (QAction* action : {zoom_in, zoom_out}) bar->addAction(action);
}

void EditorWindow::AddText() {
  TextStyle style;
  style.char_set = text_char_set_;
  AddTextDialog dialog(style, this);
  const int answer = dialog.exec();
  text_char_set_ = dialog.char_set();
  if (answer != QDialog::Accepted || !dialog.object()) return;
  model_.Add(*dialog.object());
  ModelChanged();
  canvas_->setFocus();  // the arrow keys move the new item
}

void EditorWindow::SetPrinterDotsPerInch(std::int32_t dots_per_inch) {
  canvas_->SetDotsPerInch(dots_per_inch);
}

void EditorWindow::AddImage() {
  // Each picture type the tool reads, in both letter cases.
  QStringList patterns;
  for (const PictureFormatInfo& format : PictureFormats()) {
    const QString ext =
        QString::fromLatin1(format.extension.data(), qsizetype(format.extension.size()));
    patterns << "*." + ext.toLower() << "*." + ext;
  }
  const QString path = QFileDialog::getOpenFileName(
      this, tr("Add image"), QString(), tr("Pictures (%1);;All files (*)").arg(patterns.join(' ')));
  if (path.isEmpty()) return;
  if (!canvas_->AddImageAt(path, QPoint(0, 0))) ImageRefused(path);
}

void EditorWindow::ImageRefused(const QString& path) {
  QMessageBox::warning(
      this, kCaption,
      tr("\"%1\" cannot be read as a bitmap, RLE, JPEG, PNG, GIF or SVG picture.").arg(path));
}

void EditorWindow::DeleteSelected() {
  if (model_.selection() < 0) return;
  model_.Delete(static_cast<std::size_t>(model_.selection()));
  ModelChanged();
}

void EditorWindow::Arrange(bool forward) {
  if (model_.selection() < 0) return;
  const auto index = static_cast<std::size_t>(model_.selection());
  if (forward ? model_.BringForward(index) : model_.SendBackward(index)) ModelChanged();
}

void EditorWindow::Undo() {
  if (model_.Undo()) ModelChanged();
}

void EditorWindow::Redo() {
  if (model_.Redo()) ModelChanged();
}

bool EditorWindow::Save() { return path_.empty() ? SaveAs() : SaveTo(path_); }

bool EditorWindow::SaveAs() {
  QFileDialog dialog(this, tr("Save logo"), QString::fromStdString(path_),
                     tr("Logo documents (*.qlf *.QLF)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("QLF"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const std::string path = LocalPath(dialog.selectedFiles().front());
  if (!SaveTo(path)) return false;
  path_ = path;
  UpdateTitle();
  return true;
}

bool EditorWindow::SaveTo(const std::string& path) {
  const SaveError error = SaveEditorDocument(path, model_.document());
  if (error != SaveError::kNone) {
    QMessageBox::warning(this, kCaption, SaveErrorText(error, QString::fromStdString(path)));
    return false;
  }
  model_.MarkSaved();
  UpdateTitle();
  return true;
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  if (!model_.modified()) {
    event->accept();
    return;
  }
  const QString where = path_.empty() ? tr("a new logo document")
                                      : QStringLiteral("\"%1\"").arg(QString::fromStdString(path_));
  const auto answer = QMessageBox::question(
      this, kCaption, tr("The logo has changed. Save the changes to %1?").arg(where),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && Save())) {
    event->accept();
  } else {
    event->ignore();
  }
}

void EditorWindow::ModelChanged() {
  canvas_->Refresh();
  panel_->Sync();
  const bool selected = model_.selection() >= 0;
  const auto index = static_cast<std::size_t>(model_.selection());
  undo_->setEnabled(model_.CanUndo());
  redo_->setEnabled(model_.CanRedo());
  delete_->setEnabled(selected);
  forward_->setEnabled(selected && index + 1 < model_.count());
  backward_->setEnabled(selected && index > 0);
  UpdateTitle();
}

void EditorWindow::UpdateTitle() {
  const QString name =
      path_.empty() ? tr("Untitled") : QFileInfo(QString::fromStdString(path_)).fileName();
  setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, kCaption));
  setWindowModified(model_.modified());
}

}  // namespace inkmark
