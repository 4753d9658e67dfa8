#include "session/printer_profile.h"

#include "platform/text.h"

namespace inkmark {

void AddPortChoice(PrinterProfile& p, const std::string& name) {
  if (p.ports.SelectFirst([&](const std::string& port) { return EqualsNoCase(port, name); })) {
    return;
  }
  p.ports.AddChoice(name);
}

bool IsNetworkChoice(const std::string& port) { return StartsWithNoCase(port, kNetworkPortPrefix); }

void SetNetworkPorts(PrinterProfile& p, const std::vector<std::string>& addresses) {
  const std::string selected = p.ports.Selected();
  std::vector<std::string> own;
  for (const std::string& port : p.ports.choices())
    if (!IsNetworkChoice(port)) own.push_back(port);
  std::string extra = p.ports.values.empty() ? std::string() : p.ports.values.back();
  p.ports.values = own;
  for (const std::string& address : addresses) p.ports.values.push_back(address);
  if (!p.ports.values.empty() || !extra.empty()) p.ports.values.push_back(extra);
  p.ports.sel = 0;
  p.ports.SelectFirst([&](const std::string& port) { return EqualsNoCase(port, selected); });
}

void RememberNetworkPort(std::vector<std::string>& addresses, const std::string& address) {
  std::erase_if(addresses, [&](const std::string& a) { return EqualsNoCase(a, address); });
  addresses.insert(addresses.begin(), address);
  if (addresses.size() > kMaxNetworkPorts) addresses.resize(kMaxNetworkPorts);
}

std::int32_t PrintWidthDots(const PrinterProfile& p) {
  std::int32_t sel = p.paper_widths.sel;
  if (sel < 0 || std::size_t(sel) >= p.paper_dots.size() || p.resolutions.values.empty()) return 0;
  std::int64_t dots = p.paper_dots[std::size_t(sel)];
  std::int64_t resolution = p.resolutions.Selected();
  std::int64_t base = p.resolutions.values.front();
  // A file without usable resolutions prints its paper dots as given.
  if (resolution <= 0 || base <= 0) return std::int32_t(dots);
  std::int64_t width = dots * resolution / base;
  return width > INT32_MAX || width < 0 ? 0 : std::int32_t(width);
}

}  // namespace inkmark
