#include "windows/main_window_qt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/compose.h"
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
#include "windows/raster_failure.h"
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
  SetToolTips(view_, MainToolTips());
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

// An address typed or picked from those used before; Remove forgets the
// picked one.
NetworkAnswer QtMainWindow::AskNetworkAddress(const std::string& initial,
                                              const std::vector<std::string>& used) {
  auto tr = [](const char* text) { return QString::fromStdString(Translate("MAIN", text)); };
  QDialog dialog(&view_.dialog());
  dialog.setWindowTitle(tr("Network"));
  auto* label = new QLabel(tr("Printer &address (tcp://HOST:PORT):"), &dialog);
  auto* address = new QComboBox(&dialog);
  address->setEditable(true);
  address->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& a : used) address->addItem(QString::fromStdString(a));
  address->setEditText(QString::fromStdString(initial));
  address->setMinimumContentsLength(32);
  label->setBuddy(address);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* remove = buttons->addButton(tr("&Remove"), QDialogButtonBox::ActionRole);
  auto update = [=] { remove->setEnabled(address->findText(address->currentText()) >= 0); };
  QObject::connect(address, &QComboBox::editTextChanged, remove, update);
  update();
  NetworkAnswer answer;
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(remove, &QPushButton::clicked, &dialog, [&] {
    answer.kind = NetworkAnswer::Kind::kRemove;
    dialog.accept();
  });
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(label);
  layout->addWidget(address);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return {};
  if (answer.kind != NetworkAnswer::Kind::kRemove) answer.kind = NetworkAnswer::Kind::kUse;
  answer.address = address->currentText().trimmed().toStdString();
  return answer;
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

// The logo is built here so that a picture that cannot be read is named as
// such; the printer is not addressed then.
void QtMainWindow::TestPrint(LogoSession& session) {
  Result<LogoRaster> raster = BuildLogoRaster(session);
  if (!raster) {
    ShowRasterFailure(Owner(), raster.failure());
    return;
  }
  inkmark::TestPrint(Owner(), std::as_const(session), std::move(*raster));
}

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
