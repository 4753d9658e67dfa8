// A printer file of arbitrary bytes, parsed and loaded the way the program loads
// one. Every list must come out within the record's room, with each selection
// inside its choices.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/profile_reader.h"
#include "settings/printer_files.h"

namespace {

template <typename List>
void CheckList(const List& list) {
  if (list.values.empty() || list.values.size() > std::size_t(inkmark::kMaxListElements)) {
    std::abort();
  }
  if (list.sel != 0 && (list.sel < 0 || list.sel >= list.count())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto file =
      inkmark::ProfileFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  inkmark::PrinterProfile p;
  if (!inkmark::LoadPrinterProfile(file, p)) return 0;
  if (p.model_name.empty() || p.model_name.size() > inkmark::kMaxProfileText) std::abort();
  CheckList(p.paper_widths);
  CheckList(p.first_colors);
  CheckList(p.second_colors);
  CheckList(p.resolutions);
  CheckList(p.ports);
  CheckList(p.baud_rates);
  CheckList(p.bit_lengths);
  CheckList(p.parities);
  CheckList(p.flows);
  if (p.paper_dots.empty() || p.paper_dots.size() > std::size_t(inkmark::kMaxListElements)) {
    std::abort();
  }
  (void)inkmark::PrintWidthDots(p);
  return 0;
}
