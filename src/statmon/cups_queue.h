// Finding a spooler queue by the name the program knows it by. The program
// lists spooler printers by their make and model (the driver name), while the
// spooler addresses them by queue name: either is accepted here.
#pragma once

#include <cups/cups.h>

#include <memory>
#include <optional>
#include <string>

namespace inkmark {

struct SpoolerQueue {
  std::string name;  // the queue name the spooler takes
  std::string make_and_model;
  std::string device_uri;
};

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
using SpoolerConnection = std::unique_ptr<http_t, HttpClose>;

// A spooler that does not answer within this time counts as absent.
inline constexpr int kSpoolerConnectTimeoutMs = 3000;
inline constexpr double kSpoolerReplyTimeoutSeconds = 3.0;

// A connection to the spooler the environment names (CUPS_SERVER, else the
// default), with bounded connect and reply times; null when none answers.
SpoolerConnection ConnectToSpooler();

// The queue named `printer`, else the first queue whose make and model is
// `printer` exactly. Nullopt when the spooler has neither or does not answer.
std::optional<SpoolerQueue> FindSpoolerQueue(http_t* http, const std::string& printer);

}  // namespace inkmark
