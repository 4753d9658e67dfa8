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
void CheckList(const List& list, std::int32_t count, std::int32_t sel) {
  if (list.empty() || list.size() > std::size_t(inkmark::kMaxListElements)) std::abort();
  if (count != std::int32_t(list.size()) - 1) std::abort();
  if (sel != 0 && (sel < 0 || sel >= count)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto file =
      inkmark::ProfileFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  inkmark::PrinterProfile p;
  if (!inkmark::LoadPrinterProfile(file, p)) return 0;
  if (p.model_name.empty() || p.model_name.size() > inkmark::kMaxProfileText) std::abort();
  CheckList(p.paper_widths, p.paper_width_count, p.paper_width_sel);
  CheckList(p.first_colors, p.first_color_count, p.first_color_sel);
  CheckList(p.second_colors, p.second_color_count, p.second_color_sel);
  CheckList(p.resolutions, p.resolution_count, p.resolution_sel);
  CheckList(p.ports, p.port_count, p.port_sel);
  CheckList(p.baud_rates, p.baud_count, p.baud_sel);
  CheckList(p.bit_lengths, p.bit_length_count, p.bit_length_sel);
  CheckList(p.parities, p.parity_count, p.parity_sel);
  CheckList(p.flows, p.flow_count, p.flow_sel);
  if (p.paper_dots.empty() || p.paper_dots.size() > std::size_t(inkmark::kMaxListElements)) {
    std::abort();
  }
  (void)inkmark::PrintWidthDots(p);
  return 0;
}
