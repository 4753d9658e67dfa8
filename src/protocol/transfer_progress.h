// How a long transfer to the printer is going, for whoever shows it: the
// windows a progress dialog, the command-line tool a line on the terminal.
#pragma once

#include <cstdint>

namespace inkmark {

class TransferProgress {
 public:
  virtual ~TransferProgress() = default;
  // `sent` of `total` bytes of the transfer are out (0 of them when it
  // starts). False asks to stop once the piece in flight is out.
  virtual bool Update(std::uint64_t sent, std::uint64_t total) = 0;
  // The transfer has ended, whole or not.
  virtual void Finished() {}
};

// Defines and test prints report in pieces of this many bytes.
inline constexpr std::uint32_t kProgressStep = 4096;

// The progress that transfers report to, or nullptr for none.
TransferProgress* CurrentTransferProgress();

// Reports transfers to `progress` for as long as it lives.
class ScopedTransferProgress {
 public:
  explicit ScopedTransferProgress(TransferProgress& progress);
  ~ScopedTransferProgress();
  ScopedTransferProgress(const ScopedTransferProgress&) = delete;
  ScopedTransferProgress& operator=(const ScopedTransferProgress&) = delete;

 private:
  TransferProgress* previous_;
};

}  // namespace inkmark
