#include "platform/spooler.h"

#include <cups/cups.h>

#include <memory>

namespace inkmark {
namespace {

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
struct IppDelete {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

// A server that does not answer within this time counts as absent, whether it
// refuses the connection or takes it and never replies.
constexpr int kConnectTimeoutMs = 3000;
constexpr double kReplyTimeoutSeconds = 3.0;

}  // namespace

std::vector<SpoolerPrinter> ListSpoolerPrinters() {
  std::vector<SpoolerPrinter> printers;
  std::unique_ptr<http_t, HttpClose> http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                                       cupsEncryption(), 1, kConnectTimeoutMs,
                                                       nullptr));
  if (!http) return printers;
  // Without this, a server that never replies holds the caller for a minute.
  httpSetTimeout(http.get(), kReplyTimeoutSeconds, nullptr, nullptr);

  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  static const char* const kWanted[] = {"printer-name", "printer-make-and-model"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr,
                kWanted);
  // cupsDoRequest takes the request and frees it.
  std::unique_ptr<ipp_t, IppDelete> response(cupsDoRequest(http.get(), request, "/"));
  if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING) return printers;

  // Each printer is one group of attributes; a separator (no name) ends it.
  SpoolerPrinter current;
  bool in_printer = false;
  auto finish = [&] {
    if (in_printer && !current.name.empty()) printers.push_back(current);
    current = {};
    in_printer = false;
  };
  for (ipp_attribute_t* attr = ippFirstAttribute(response.get()); attr;
       attr = ippNextAttribute(response.get())) {
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
  }
  finish();
  return printers;
}

}  // namespace inkmark
