#include "protocol/transfer_progress.h"

namespace inkmark {
namespace {

TransferProgress*& Current() {
  static TransferProgress* progress = nullptr;
  return progress;
}

}  // namespace

TransferProgress* CurrentTransferProgress() { return Current(); }

ScopedTransferProgress::ScopedTransferProgress(TransferProgress& progress) : previous_(Current()) {
  Current() = &progress;
}

ScopedTransferProgress::~ScopedTransferProgress() { Current() = previous_; }

}  // namespace inkmark
