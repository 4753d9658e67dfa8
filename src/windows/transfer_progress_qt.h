// The progress dialog of a long transfer to the printer: it appears as the
// transfer starts when the line's speed says it will take more than a second
// (else once it has taken half a second), shows the bytes sent and the time
// left, and its Cancel stops the transfer within a piece's time.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <functional>
#include <memory>

#include "protocol/transfer_progress.h"
#include "session/session.h"

class QWidget;

namespace inkmark {

// The bytes per second the session's serial line carries (ten bits a byte),
// or 0 when the port is not a serial one.
std::uint32_t SerialBytesPerSecond(const LogoSession& session);

class QtTransferProgress final : public TransferProgress {
 public:
  // `line_rate` gives the line's bytes per second for the time left; 0 means
  // the rate measured so far.
  QtTransferProgress(QWidget* owner, std::function<std::uint32_t()> line_rate);
  ~QtTransferProgress() override;

  bool Update(std::uint64_t sent, std::uint64_t total) override;
  void Finished() override;

  // The dialog while it is shown (for tests), else nullptr.
  QProgressDialog* dialog() const { return dialog_.get(); }

 private:
  void Close();

  QPointer<QWidget> owner_;
  std::function<std::uint32_t()> line_rate_;
  // Opens the dialog.
  void Show();

  QElapsedTimer started_;
  std::unique_ptr<QProgressDialog> dialog_;
  bool running_ = false;  // between a transfer's first report and its end
  bool stopped_ = false;
};

}  // namespace inkmark
