#include "cli/terminal_progress.h"

namespace inkmark::cli {

bool TerminalProgress::Update(std::uint64_t sent, std::uint64_t total) {
  // A transfer that fits in one piece is over before anyone could read it.
  if (total < kProgressStep || sent == 0) return true;
  std::fprintf(err_, "\rinkmark: sent %llu of %llu bytes", static_cast<unsigned long long>(sent),
               static_cast<unsigned long long>(total));
  std::fflush(err_);
  shown_ = true;
  return true;
}

void TerminalProgress::Finished() {
  if (shown_) std::fprintf(err_, "\n");
  shown_ = false;
}

}  // namespace inkmark::cli
