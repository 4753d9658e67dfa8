// The spooler's printers, as CUPS lists them, and the one the program names
// among them. The program knows a spooler printer by its make and model (the
// driver name), while the spooler addresses it by queue name: either finds it.
// Free of the toolkit, so that the status-monitor library can use it too.
#pragma once

#include <cups/cups.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace inkmark {

struct SpoolerPrinter {
  std::string name;         // the queue name the spooler takes
  std::string driver_name;  // the queue's make and model
  std::string device_uri;
};

// A spooler that does not take the connection, or takes it and does not reply,
// within this time counts as absent.
inline constexpr std::chrono::milliseconds kSpoolerTimeout{3000};

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
using SpoolerConnection = std::unique_ptr<http_t, HttpClose>;

// A connection to the spooler the environment names (CUPS_SERVER, else the
// default), bounded by kSpoolerTimeout; null when none answers.
SpoolerConnection ConnectToSpooler();

// The local queues, in the order the server gives; empty when no server answers.
std::vector<SpoolerPrinter> ListSpoolerPrinters(http_t* http);
std::vector<SpoolerPrinter> ListSpoolerPrinters();

// The queue named `printer`, else the first queue whose make and model is
// `printer` exactly. Nullopt when the spooler has neither or does not answer.
std::optional<SpoolerPrinter> FindSpoolerPrinter(http_t* http, const std::string& printer);

}  // namespace inkmark
