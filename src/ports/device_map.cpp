#include "ports/device_map.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include "platform/text.h"

namespace inkmark {

namespace {

namespace fs = std::filesystem;

// An entry counts when it is there at all: a dangling link names the device the
// user chose, and opening it reports the failure.
bool EntryPresent(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

std::optional<fs::path> MappedDevice(const std::string& entry) {
  auto folder = DeviceMapFolder();
  if (!folder) return std::nullopt;
  fs::path link = *folder / entry;
  if (!EntryPresent(link)) return std::nullopt;
  return link;
}

// The number of "COM<N>:", when the name is exactly that with N from 1 to 999.
std::optional<int> SerialNumber(std::string_view name) {
  if (name.size() < 5 || !EqualsNoCase(name.substr(0, 3), "COM") || name.back() != ':') {
    return std::nullopt;
  }
  std::string_view digits = name.substr(3, name.size() - 4);
  int number = 0;
  auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (err != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (number < 1 || number > 999) return std::nullopt;
  return number;
}

}  // namespace

std::optional<fs::path> DeviceMapFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  fs::path base;
  if (config != nullptr && fs::path(config).is_absolute()) {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || !fs::path(home).is_absolute()) return std::nullopt;
    base = fs::path(home) / ".config";
  }
  return base / "Quorvel" / "devices";
}

std::optional<fs::path> DevicePathFor(std::string_view port_name) {
  if (auto number = SerialNumber(port_name)) {
    if (auto mapped = MappedDevice("com" + std::to_string(*number))) return mapped;
    return fs::path("/dev/ttyS" + std::to_string(*number - 1));
  }
  if (EqualsNoCase(port_name, "LPT1:")) {
    if (auto mapped = MappedDevice("lpt1")) return mapped;
    if (EntryPresent("/dev/usb/lp0")) return fs::path("/dev/usb/lp0");
    return fs::path("/dev/lp0");
  }
  return std::nullopt;
}

}  // namespace inkmark
