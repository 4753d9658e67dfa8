#include "device_uri.h"

#include <charconv>

namespace inkmark {
namespace {

constexpr std::size_t kMaxUri = 1024;
constexpr std::uint32_t kMaxBaud = 4000000;

bool IsPrintable(char c) { return c > 0x20 && c < 0x7F; }

std::optional<std::uint32_t> Number(std::string_view digits, std::uint32_t max) {
  std::uint32_t value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || value > max) return std::nullopt;
  return value;
}

// host[:port] or [v6-address][:port], with any user information dropped.
bool ParseHostPort(std::string_view authority, DeviceAddress& out) {
  if (std::size_t at = authority.rfind('@'); at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  std::string_view port;
  if (!authority.empty() && authority.front() == '[') {
    std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return false;
    out.host = authority.substr(1, close - 1);
    std::string_view rest = authority.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return false;
      port = rest.substr(1);
    }
  } else {
    std::size_t colon = authority.find(':');
    out.host = authority.substr(0, colon);
    if (colon != std::string_view::npos) port = authority.substr(colon + 1);
  }
  if (out.host.empty()) return false;
  for (char c : out.host)
    if (!IsPrintable(c) || c == '/' || c == '[' || c == ']') return false;
  if (!port.empty()) {
    auto value = Number(port, 65535);
    if (!value || *value == 0) return false;
    out.port = std::uint16_t(*value);
  }
  return true;
}

bool ParseSocket(std::string_view rest, DeviceAddress& out) {
  if (rest.substr(0, 2) != "//") return false;
  rest.remove_prefix(2);
  out.kind = DeviceKind::kTcp;
  return ParseHostPort(rest.substr(0, rest.find_first_of("/?#")), out);
}

bool ParseSerialOption(std::string_view key, std::string_view value, DeviceAddress& out) {
  if (key == "baud") {
    auto baud = Number(value, kMaxBaud);
    if (!baud || *baud == 0) return false;
    out.baud = *baud;
  } else if (key == "bits") {
    if (value != "7" && value != "8") return false;
    out.data_bits = value[0] - '0';
  } else if (key == "parity") {
    if (value == "none")
      out.parity = SerialParity::kNone;
    else if (value == "even")
      out.parity = SerialParity::kEven;
    else if (value == "odd")
      out.parity = SerialParity::kOdd;
    else
      return false;
  } else if (key == "flow") {
    if (value == "none")
      out.flow = SerialFlow::kNone;
    else if (value == "soft")
      out.flow = SerialFlow::kXonXoff;
    else if (value == "hard" || value == "rtscts")
      out.flow = SerialFlow::kRtsCts;
    else if (value == "dtrdsr")
      out.flow = SerialFlow::kDtrDsr;
    else
      return false;
  }
  // Other options belong to the spooler's own backend.
  return true;
}

bool ParseDevicePath(std::string_view rest, DeviceKind kind, DeviceAddress& out) {
  // "serial:///dev/x" names the same device as "serial:/dev/x".
  if (rest.substr(0, 3) == "///") rest.remove_prefix(2);
  std::size_t query = rest.find('?');
  std::string_view path = rest.substr(0, query);
  if (path.size() < 2 || path.front() != '/') return false;
  for (char c : path)
    if (!IsPrintable(c)) return false;
  for (std::string_view left = path.substr(1); !left.empty();) {
    std::size_t slash = left.find('/');
    if (left.substr(0, slash) == "..") return false;
    left = slash == std::string_view::npos ? std::string_view() : left.substr(slash + 1);
  }
  out.kind = kind;
  out.path = path;
  if (query == std::string_view::npos || kind != DeviceKind::kSerial) return true;
  std::string_view options = rest.substr(query + 1);
  while (!options.empty()) {
    std::size_t end = options.find_first_of("+&");
    std::string_view option = options.substr(0, end);
    options = end == std::string_view::npos ? std::string_view() : options.substr(end + 1);
    std::size_t eq = option.find('=');
    if (eq == std::string_view::npos) continue;
    if (!ParseSerialOption(option.substr(0, eq), option.substr(eq + 1), out)) return false;
  }
  return true;
}

}  // namespace

std::optional<DeviceAddress> ParseDeviceUri(std::string_view uri) {
  if (uri.size() > kMaxUri) return std::nullopt;
  std::size_t colon = uri.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view scheme = uri.substr(0, colon);
  std::string_view rest = uri.substr(colon + 1);
  DeviceAddress out;
  bool ok = false;
  if (scheme == "socket")
    ok = ParseSocket(rest, out);
  else if (scheme == "serial")
    ok = ParseDevicePath(rest, DeviceKind::kSerial, out);
  else if (scheme == "parallel")
    ok = ParseDevicePath(rest, DeviceKind::kParallel, out);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace inkmark
