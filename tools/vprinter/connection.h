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

// Reads `fd` (non-blocking) and answers on it until the peer hangs up, a read
// or write fails, or `stop` is raised.
void ServeConnection(VirtualPrinter& printer, int fd, const StopSignal& stop);

}  // namespace inkmark::vprinter
