// The progress of a long transfer as one line on the terminal, rewritten in
// place: "inkmark: sent 8192 of 20480 bytes", in the user's language. It is also where a transfer
// learns that the user asked it to stop (Ctrl-C, SIGTERM, SIGHUP): it then
// ends after the piece in flight.
#pragma once

#include <csignal>
#include <cstdio>
#include <string>

#include "protocol/transfer_progress.h"

namespace inkmark::cli {

class TerminalProgress final : public TransferProgress {
 public:
  // Shows the line on `err` when `show`; stops a transfer when asked either way.
  explicit TerminalProgress(std::FILE* err, bool show = true) : err_(err), show_(show) {}
  bool Update(std::uint64_t sent, std::uint64_t total) override;
  void Finished() override;

 private:
  std::FILE* err_;
  bool show_;
  bool shown_ = false;  // the line is on the terminal and wants its end
  std::string line_;    // the line's text in the user's language, once known
};

// Installs the handlers of SIGINT, SIGTERM and SIGHUP: during a transfer the
// first asks it to stop after the piece in flight, a second ends the program
// at once; outside transfers each does what it does by default. Call once,
// from main.
void InstallTransferSignalHandlers();

// The signal that asked a transfer to stop, or 0.
int TransferStopSignal();

}  // namespace inkmark::cli
