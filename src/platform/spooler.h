// The spooler's printers, as CUPS lists them.
#pragma once

#include <string>
#include <vector>

namespace inkmark {

struct SpoolerPrinter {
  std::string name;         // queue name
  std::string driver_name;  // the queue's make and model
};

// The local queues of the CUPS server the environment names (CUPS_SERVER, else
// the default), in the order the server gives; empty when no server answers.
std::vector<SpoolerPrinter> ListSpoolerPrinters();

}  // namespace inkmark
