#include "session/printer_profile.h"

#include <algorithm>

#include "platform/text.h"

namespace inkmark {

std::string_view SelectedName(const std::vector<std::string>& list, std::int32_t count,
                              std::int32_t sel) {
  if (sel < 0 || sel >= count || std::size_t(sel) >= list.size()) return {};
  return list[std::size_t(sel)];
}

std::int32_t SelectedNumber(const std::vector<std::int32_t>& list, std::int32_t count,
                            std::int32_t sel) {
  if (sel < 0 || sel >= count || std::size_t(sel) >= list.size()) return 0;
  return list[std::size_t(sel)];
}

void AddPortChoice(PrinterProfile& p, const std::string& name) {
  const std::size_t count = std::min(p.ports.size(), std::size_t(std::max(p.port_count, 0)));
  for (std::size_t i = 0; i < count; ++i) {
    if (EqualsNoCase(p.ports[i], name)) {
      p.port_sel = std::int32_t(i);
      return;
    }
  }
  // Before the list's extra element, which stays last.
  p.ports.insert(p.ports.begin() + std::ptrdiff_t(count), name);
  p.port_sel = std::int32_t(count);
  p.port_count = std::int32_t(count) + 1;
}

std::int32_t PrintWidthDots(const PrinterProfile& p) {
  std::int32_t sel = p.paper_width_sel;
  if (sel < 0 || std::size_t(sel) >= p.paper_dots.size() || p.resolutions.empty()) return 0;
  std::int64_t dots = p.paper_dots[std::size_t(sel)];
  std::int64_t resolution = SelectedNumber(p.resolutions, p.resolution_count, p.resolution_sel);
  std::int64_t base = p.resolutions.front();
  // A file without usable resolutions prints its paper dots as given.
  if (resolution <= 0 || base <= 0) return std::int32_t(dots);
  std::int64_t width = dots * resolution / base;
  return width > INT32_MAX || width < 0 ? 0 : std::int32_t(width);
}

}  // namespace inkmark
