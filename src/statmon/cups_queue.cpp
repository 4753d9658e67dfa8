#include "cups_queue.h"

#include <string_view>

namespace inkmark {
namespace {

struct IppDelete {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDelete>;

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

IppMessage Ask(http_t* http, ipp_t* request) {
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                int(std::size(kWanted)), nullptr, kWanted);
  // cupsDoRequest takes the request and frees it.
  IppMessage response(cupsDoRequest(http, request, "/"));
  if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING) return nullptr;
  return response;
}

// Calls `take` for each printer's group of attributes in `response`; stops
// when it returns true.
template <typename Take>
void ForEachQueue(ipp_t* response, Take take) {
  SpoolerQueue queue;
  bool in_printer = false;
  for (ipp_attribute_t* attr = ippFirstAttribute(response);; attr = ippNextAttribute(response)) {
    const char* name = attr ? ippGetName(attr) : nullptr;
    // A separator (no name) or the end finishes a group.
    if (attr == nullptr || ippGetGroupTag(attr) != IPP_TAG_PRINTER || name == nullptr) {
      if (in_printer && !queue.name.empty() && take(queue)) return;
      queue = {};
      in_printer = false;
      if (attr == nullptr) return;
      continue;
    }
    in_printer = true;
    const char* value = ippGetString(attr, 0, nullptr);
    if (value == nullptr) continue;
    std::string_view n(name);
    if (n == "printer-name") queue.name = value;
    if (n == "printer-make-and-model") queue.make_and_model = value;
    if (n == "device-uri") queue.device_uri = value;
  }
}

std::optional<SpoolerQueue> QueueByName(http_t* http, const std::string& name) {
  char uri[HTTP_MAX_URI];
  if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                       "/printers/%s", name.c_str()) != HTTP_URI_STATUS_OK)
    return std::nullopt;
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  IppMessage response = Ask(http, request);
  if (!response) return std::nullopt;
  std::optional<SpoolerQueue> found;
  ForEachQueue(response.get(), [&](const SpoolerQueue& q) {
    found = q;
    return true;
  });
  return found;
}

std::optional<SpoolerQueue> QueueByMakeAndModel(http_t* http, const std::string& make_and_model) {
  IppMessage response = Ask(http, ippNewRequest(IPP_OP_CUPS_GET_PRINTERS));
  if (!response) return std::nullopt;
  std::optional<SpoolerQueue> found;
  ForEachQueue(response.get(), [&](const SpoolerQueue& q) {
    if (q.make_and_model != make_and_model) return false;
    found = q;
    return true;
  });
  return found;
}

}  // namespace

SpoolerConnection ConnectToSpooler() {
  SpoolerConnection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                      1, kSpoolerConnectTimeoutMs, nullptr));
  // Without this, a spooler that takes the connection and never replies holds
  // the caller for a minute.
  if (http) httpSetTimeout(http.get(), kSpoolerReplyTimeoutSeconds, nullptr, nullptr);
  return http;
}

std::optional<SpoolerQueue> FindSpoolerQueue(http_t* http, const std::string& printer) {
  if (http == nullptr || printer.empty()) return std::nullopt;
  if (IsQueueName(printer)) {
    if (auto queue = QueueByName(http, printer)) return queue;
  }
  return QueueByMakeAndModel(http, printer);
}

}  // namespace inkmark
