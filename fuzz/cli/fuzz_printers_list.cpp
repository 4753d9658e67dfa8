// The printers list of inkmark on any bytes: a refusal says why and names no
// printer; every printer read has a port and options in name-value pairs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/cli_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto printers = inkmark::cli::ParsePrintersList(
      std::string_view(reinterpret_cast<const char*>(data), size), error);
  if (error.empty() == printers.empty()) std::abort();
  if (printers.size() > inkmark::cli::kMaxPrintersListPrinters) std::abort();
  for (const inkmark::cli::PrinterLine& p : printers) {
    if (p.port.empty() || p.port[0] == '-' || p.options.size() % 2 != 0) std::abort();
    for (std::size_t i = 0; i < p.options.size(); i += 2)
      if (p.options[i].rfind("--", 0) != 0) std::abort();
  }
  return 0;
}
