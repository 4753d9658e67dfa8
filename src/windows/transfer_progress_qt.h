// The progress dialog of a long transfer to the printer: it appears once a
// transfer has taken a second, shows the bytes sent and the time left, and
// its Cancel stops the transfer after the piece in flight.
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
  void Finished() override { Close(); }

  // The dialog while it is shown (for tests), else nullptr.
  QProgressDialog* dialog() const { return dialog_.get(); }

 private:
  void Close();

  QPointer<QWidget> owner_;
  std::function<std::uint32_t()> line_rate_;
  QElapsedTimer started_;
  std::unique_ptr<QProgressDialog> dialog_;
  bool stopped_ = false;
};

}  // namespace inkmark
