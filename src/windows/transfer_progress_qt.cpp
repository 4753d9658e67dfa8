#include "windows/transfer_progress_qt.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>

#include "platform/string_table.h"
#include "platform/text.h"
#include "platform/translation.h"

namespace inkmark {
namespace {

// A transfer the line's speed says takes longer than this shows the dialog at once.
constexpr std::uint64_t kLongTransferMs = 1000;
// A transfer of unknown length in time shows it once it has taken this long.
constexpr qint64 kShowAfterMs = 500;
constexpr int kSteps = 1000;

}  // namespace

std::uint32_t SerialBytesPerSecond(const LogoSession& session) {
  const PrinterProfile* p = session.CurrentProfile();
  if (p == nullptr || session.save_as_command_file == 1) return 0;
  if (!StartsWithNoCase(p->ports.Selected(), "COM")) return 0;
  const std::int32_t baud = p->baud_rates.Selected();
  return baud > 0 ? std::uint32_t(baud) / 10 : 0;
}

QtTransferProgress::QtTransferProgress(QWidget* owner, std::function<std::uint32_t()> line_rate)
    : owner_(owner), line_rate_(std::move(line_rate)) {}

QtTransferProgress::~QtTransferProgress() { Close(); }

void QtTransferProgress::Close() {
  if (!dialog_) return;
  dialog_.reset();
  QGuiApplication::restoreOverrideCursor();
}

void QtTransferProgress::Finished() {
  running_ = false;
  Close();
}

void QtTransferProgress::Show() {
  dialog_ = std::make_unique<QProgressDialog>(owner_.data());
  dialog_->setWindowTitle(QString::fromStdString(LoadString(kStrAppCaption)));
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setRange(0, kSteps);
  dialog_->setMinimumDuration(0);
  dialog_->setAutoClose(false);
  dialog_->setAutoReset(false);
  dialog_->setCancelButtonText(QString::fromStdString(Translate("Progress", "&Cancel")));
  // The window's wait cursor would hide that Cancel can be pressed.
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  dialog_->show();
}

bool QtTransferProgress::Update(std::uint64_t sent, std::uint64_t total) {
  const std::uint32_t rate = line_rate_ ? line_rate_() : 0;
  if (!running_) {
    Close();
    running_ = true;
    stopped_ = false;
    started_.start();
    if (rate > 0 && total * 1000 / rate > kLongTransferMs) Show();
  } else if (!dialog_ && started_.elapsed() >= kShowAfterMs) {
    Show();
  }
  if (dialog_) {
    const double elapsed_s = double(started_.elapsed()) / 1000.0;
    std::uint64_t per_s = rate;
    if (per_s == 0 && elapsed_s > 0) per_s = std::uint64_t(double(sent) / elapsed_s);
    const std::uint64_t left = total > sent ? total - sent : 0;
    const std::uint64_t left_s = per_s > 0 ? (left + per_s - 1) / per_s : 0;
    dialog_->setValue(total > 0 ? int(std::min(sent, total) * kSteps / total) : 0);
    dialog_->setLabelText(QString::fromStdString(
        Fill(Translate("Progress", "Sent %1 of %2 bytes, about %3 s left"),
             {std::to_string(sent), std::to_string(total), std::to_string(left_s)})));
    QCoreApplication::processEvents();
    if (dialog_ && dialog_->wasCanceled()) stopped_ = true;
  }
  return !stopped_;
}

}  // namespace inkmark
