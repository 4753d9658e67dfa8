#include "windows/main_window_qt.h"

#include <QGuiApplication>
#include <QInputDialog>

#include "platform/paths.h"
#include "platform/program_icons.h"
#include "platform/translation.h"
#include "protocol/nv_dispatch.h"
#include "windows/color_swatches.h"
#include "windows/editor_launch.h"
#include "windows/editor_owner_qt.h"
#include "windows/file_dialogs_qt.h"
#include "windows/main_pipeline_compose.h"
#include "windows/main_template.h"
#include "windows/protocol_windows_qt.h"
#include "windows/window_utils.h"
#include "windows/zoom_dialog.h"

namespace inkmark {

QtMainWindow::QtMainWindow(LogoSession& session, std::filesystem::path program_folder,
                           std::unique_ptr<MainPipeline> pipeline)
    : session_(session),
      view_(MainTemplate(),
            [](int, QPainter& painter, const QRect& rect, const QString& text, bool selected,
               bool disabled) { DrawColorItem(painter, rect, text, selected, disabled); }),
      pipeline_(std::move(pipeline)),
      progress_(&view_.dialog(), [&session] { return SerialBytesPerSecond(session); }) {
  view_.dialog().setWindowIcon(LoadProgramIcon(ProgramIcon::kTool));
  if (!pipeline_) pipeline_ = std::make_unique<ComposePipeline>(view_, &view_.dialog());
  logic_ =
      std::make_unique<MainWindow>(session_, view_, *pipeline_, *this, std::move(program_folder));
  view_.SetEvents(logic_.get());
  view_.dialog().SetFileDrop([this](const std::string& path) { logic_->OnFileDropped(path); });
}

QtMainWindow::~QtMainWindow() {
  view_.dialog().SetFileDrop(nullptr);
  view_.SetEvents(nullptr);
}

void QtMainWindow::Open() {
  logic_->Open();
  view_.dialog().adjustSize();
  CenterWindowOnScreen(&view_.dialog());
}

int QtMainWindow::Exec() { return view_.dialog().exec(); }

void QtMainWindow::BeginBusy() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

void QtMainWindow::EndBusy() { QGuiApplication::restoreOverrideCursor(); }

std::optional<std::string> QtMainWindow::AskNetworkAddress(const std::string& initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(
      &view_.dialog(), QString::fromStdString(Translate("MAIN", "Network")),
      QString::fromStdString(Translate("MAIN", "Printer address (tcp://HOST:PORT):")),
      QLineEdit::Normal, QString::fromStdString(initial), &ok);
  if (!ok) return std::nullopt;
  return text.trimmed().toStdString();
}

std::optional<std::string> QtMainWindow::RunOpenDialog(const std::string& source_path) {
  return inkmark::RunOpenDialog(&view_.dialog(), source_path);
}

std::optional<SaveChoice> QtMainWindow::RunSaveDialog(LogoSession& session) {
  return inkmark::RunSaveDialog(&view_.dialog(), session);
}

void QtMainWindow::CloseWindow() { view_.dialog().done(QDialog::Accepted); }

WindowHandle QtMainWindow::Owner() const {
  return static_cast<const QWidget*>(&const_cast<QtDialogView&>(view_).dialog());
}

void QtMainWindow::OpenKeyEntry(LogoSession& session) {
  RunKeyEntryWindow(&view_.dialog(), session);
}

void QtMainWindow::OpenNvManager(LogoSession& session) {
  RunNvManagerWindow(&view_.dialog(), session);
}

void QtMainWindow::ShowPreview(LogoSession& session) {
  inkmark::ShowPreview(&view_.dialog(), session,
                       [](QWidget& window) { CenterWindowOnScreen(&window); });
}

void QtMainWindow::TestPrint(LogoSession& session) { inkmark::TestPrint(Owner(), session); }

void QtMainWindow::StartEditorNew(int width_dots) {
  if (logic_->editor_path().empty()) return;
  QtEditorOwner owner(view_.dialog());
  RunEditor(owner, NewEditorArgs(logic_->editor_path(), width_dots));
}

bool QtMainWindow::StartEditorOn(const std::string& path) {
  if (logic_->editor_path().empty()) return false;
  QtEditorOwner owner(view_.dialog());
  return RunEditor(owner, EditEditorArgs(logic_->editor_path(), path)) == 1;
}

void RunMainWindow(LogoSession& session) {
  QtMainWindow window(session, ProgramFolder());
  window.Open();
  window.Exec();
}

}  // namespace inkmark
