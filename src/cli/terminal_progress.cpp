#include "cli/terminal_progress.h"

#include <signal.h>

#include <initializer_list>
#include <string>

#include "platform/translation.h"

namespace inkmark::cli {
namespace {

volatile std::sig_atomic_t g_in_transfer = 0;
volatile std::sig_atomic_t g_stop_signal = 0;

// Ends the program as the signal would have without a handler.
void DieOf(int signal_number) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal_number, &action, nullptr);
  ::raise(signal_number);
}

void OnStopSignal(int signal_number) {
  if (!g_in_transfer || g_stop_signal != 0) {
    DieOf(signal_number);
    return;
  }
  g_stop_signal = signal_number;
}

}  // namespace

bool TerminalProgress::Update(std::uint64_t sent, std::uint64_t total) {
  g_in_transfer = 1;
  if (g_stop_signal != 0) return false;
  // A transfer that fits in one piece is over before anyone could read it.
  if (!show_ || total < kProgressStep || sent == 0) return true;
  if (line_.empty()) line_ = Translate("inkmark", "sent %1 of %2 bytes");
  std::fprintf(err_, "\rinkmark: %s",
               Fill(line_, {std::to_string(sent), std::to_string(total)}).c_str());
  std::fflush(err_);
  shown_ = true;
  return true;
}

void TerminalProgress::Finished() {
  g_in_transfer = 0;
  if (shown_) std::fprintf(err_, "\n");
  shown_ = false;
}

void InstallTransferSignalHandlers() {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    ::sigaction(signal_number, nullptr, &old);
    // A signal the caller chose to ignore (nohup, a background job) stays ignored.
    if (old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal_number, &action, nullptr);
  }
}

int TransferStopSignal() { return g_stop_signal; }

}  // namespace inkmark::cli
