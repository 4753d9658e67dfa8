#include "ports/network_address.h"

#include "platform/text.h"

namespace inkmark {
namespace {

// Letters, digits and the punctuation of names and addresses; nothing that a
// resolver or a shell could read as something else.
bool IsHostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_' || c == ':' || c == '%';
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + std::uint32_t(c - '0');
  }
  if (value == 0 || value > 65535) return std::nullopt;
  return std::uint16_t(value);
}

}  // namespace

bool IsNetworkPortName(std::string_view port_name) {
  return StartsWithNoCase(port_name, kNetworkPortPrefix);
}

std::optional<NetworkAddress> ParseNetworkAddress(std::string_view text) {
  if (!IsNetworkPortName(text)) return std::nullopt;
  std::string_view rest = text.substr(sizeof kNetworkPortPrefix - 1);
  NetworkAddress address;
  std::string_view host;
  if (!rest.empty() && rest.front() == '[') {
    const std::size_t close = rest.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = rest.substr(1, close - 1);
    std::string_view after = rest.substr(close + 1);
    // Only an IPv6 address goes in brackets.
    if (host.find(':') == std::string_view::npos) return std::nullopt;
    if (!after.empty()) {
      if (after.front() != ':') return std::nullopt;
      auto port = ParsePort(after.substr(1));
      if (!port) return std::nullopt;
      address.port = *port;
    }
  } else {
    const std::size_t first = rest.find(':');
    const std::size_t last = rest.rfind(':');
    if (first != std::string_view::npos && first == last) {
      auto port = ParsePort(rest.substr(last + 1));
      if (!port) return std::nullopt;
      address.port = *port;
      host = rest.substr(0, last);
    } else {
      // No colon, or several: a bare IPv6 address on the default port.
      host = rest;
    }
  }
  if (host.empty() || host.size() > kMaxNetworkHost) return std::nullopt;
  for (char c : host)
    if (!IsHostChar(c)) return std::nullopt;
  if (host.front() == '-' || host.front() == '%') return std::nullopt;
  address.host = std::string(host);
  return address;
}

std::string NetworkAddressText(const NetworkAddress& address) {
  const bool v6 = address.host.find(':') != std::string::npos;
  return std::string(kNetworkPortPrefix) + (v6 ? "[" : "") + address.host + (v6 ? "]" : "") + ":" +
         std::to_string(address.port);
}

}  // namespace inkmark
