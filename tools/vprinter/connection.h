// Serving one byte stream (a pseudo-terminal or a socket) with a session.
#pragma once

#include "platform/unique_fd.h"
#include "virtual_printer.h"

namespace inkmark::vprinter {

// A flag every serving thread polls beside its descriptor, so one call wakes
// them all.
class StopSignal {
 public:
  StopSignal();
  void Raise();
  bool raised() const;
  int fd() const { return fd_.get(); }

 private:
  UniqueFd fd_;
};

enum class ServeEnd {
  kEnded,    // the peer hung up, a read or write failed, or `stop` was raised
  kDropped,  // the printer dropped the line (the drop-after fault): close it
};

// Reads `fd` (non-blocking) and answers on it until the peer hangs up, a read
// or write fails, `stop` is raised or the printer drops the line.
ServeEnd ServeConnection(VirtualPrinter& printer, int fd, const StopSignal& stop);

}  // namespace inkmark::vprinter
