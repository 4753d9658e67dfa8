// The progress of a long transfer as one line on the terminal, rewritten in
// place: "inkmark: sent 8192 of 20480 bytes".
#pragma once

#include <cstdio>

#include "protocol/transfer_progress.h"

namespace inkmark::cli {

class TerminalProgress final : public TransferProgress {
 public:
  explicit TerminalProgress(std::FILE* err) : err_(err) {}
  bool Update(std::uint64_t sent, std::uint64_t total) override;
  void Finished() override;

 private:
  std::FILE* err_;
  bool shown_ = false;  // the line is on the terminal and wants its end
};

}  // namespace inkmark::cli
