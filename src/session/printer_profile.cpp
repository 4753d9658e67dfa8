#include "session/printer_profile.h"

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
