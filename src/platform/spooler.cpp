#include "platform/spooler.h"

#include <string_view>

namespace inkmark {
namespace {

struct IppDelete {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDelete>;
using Printers = std::vector<SpoolerPrinter>;

constexpr std::size_t kMaxQueueName = 127;
const char* const kWanted[] = {"printer-name", "printer-make-and-model", "device-uri"};

// Queue names the spooler accepts: printable, without blanks, slashes, '#'
// or quotes.
bool IsQueueName(std::string_view name) {
  if (name.empty() || name.size() > kMaxQueueName) return false;
  for (unsigned char c : name) {
    if (c <= 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '#' || c == '?' || c == '\'' ||
        c == '"')
      return false;
  }
  return true;
}

// The printers of a response: each is one group of attributes, ended by a
// separator (no name) or the end.
std::vector<SpoolerPrinter> PrintersIn(ipp_t* response) {
  std::vector<SpoolerPrinter> printers;
  SpoolerPrinter current;
  bool in_printer = false;
  auto finish = [&] {
    if (in_printer && !current.name.empty()) printers.push_back(std::move(current));
    current = {};
    in_printer = false;
  };
  for (ipp_attribute_t* attr = ippFirstAttribute(response); attr;
       attr = ippNextAttribute(response)) {
    const char* name = ippGetName(attr);
    if (ippGetGroupTag(attr) != IPP_TAG_PRINTER || name == nullptr) {
      finish();
      continue;
    }
    in_printer = true;
    const char* value = ippGetString(attr, 0, nullptr);
    if (value == nullptr) continue;
    std::string_view n(name);
    if (n == "printer-name") current.name = value;
    if (n == "printer-make-and-model") current.driver_name = value;
    if (n == "device-uri") current.device_uri = value;
  }
  finish();
  return printers;
}

// The printers the spooler's reply to `request` lists, none when it refuses the
// request; nullopt when it does not reply at all.
std::optional<Printers> Ask(http_t* http, ipp_t* request) {
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                int(std::size(kWanted)), nullptr, kWanted);
  // cupsDoRequest takes the request and frees it.
  IppMessage response(cupsDoRequest(http, request, "/"));
  if (!response) return std::nullopt;
  if (ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING) return Printers{};
  return PrintersIn(response.get());
}

// The queue called `name`, or none; nullopt when the spooler does not reply.
std::optional<Printers> AskForQueue(http_t* http, const std::string& name) {
  char uri[HTTP_MAX_URI];
  if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                       "/printers/%s", name.c_str()) != HTTP_URI_STATUS_OK)
    return Printers{};
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  return Ask(http, request);
}

}  // namespace

SpoolerConnection ConnectToSpooler() {
  SpoolerConnection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                      1, int(kSpoolerTimeout.count()), nullptr));
  // Without this, a spooler that takes the connection and never replies holds
  // the caller for a minute.
  if (http) {
    httpSetTimeout(http.get(), std::chrono::duration<double>(kSpoolerTimeout).count(), nullptr,
                   nullptr);
  }
  return http;
}

std::vector<SpoolerPrinter> ListSpoolerPrinters(http_t* http) {
  if (http == nullptr) return {};
  return Ask(http, ippNewRequest(IPP_OP_CUPS_GET_PRINTERS)).value_or(Printers{});
}

std::vector<SpoolerPrinter> ListSpoolerPrinters() {
  SpoolerConnection http = ConnectToSpooler();
  return ListSpoolerPrinters(http.get());
}

std::optional<SpoolerPrinter> FindSpoolerPrinter(http_t* http, const std::string& printer) {
  if (http == nullptr || printer.empty()) return std::nullopt;
  if (IsQueueName(printer)) {
    auto named = AskForQueue(http, printer);
    // A spooler that did not reply would only be waited for once more.
    if (!named) return std::nullopt;
    if (!named->empty()) return std::move(named->front());
  }
  for (SpoolerPrinter& listed : ListSpoolerPrinters(http)) {
    if (listed.driver_name == printer) return std::move(listed);
  }
  return std::nullopt;
}

}  // namespace inkmark
