// The address of a printer on the network: "tcp://HOST[:PORT]", raw TCP with
// the replies on the same connection.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "session/printer_profile.h"

namespace inkmark {

inline constexpr std::uint16_t kDefaultNetworkPort = 9100;
// A host name holds at most 253 characters.
inline constexpr std::size_t kMaxNetworkHost = 253;

struct NetworkAddress {
  std::string host;  // a name, an IPv4 address, or an IPv6 address without brackets
  std::uint16_t port = kDefaultNetworkPort;
};

// Whether `port_name` names a network printer (begins with "tcp://", any case).
bool IsNetworkPortName(std::string_view port_name);

// Parses "tcp://HOST[:PORT]". HOST is a name or IPv4 address, or an IPv6
// address in brackets ("tcp://[::1]:9100"); an IPv6 address without brackets
// takes the default port. PORT is 1 to 65535. nullopt for anything else,
// blanks and control characters included.
std::optional<NetworkAddress> ParseNetworkAddress(std::string_view text);

// The address as "tcp://HOST:PORT", brackets around an IPv6 host.
std::string NetworkAddressText(const NetworkAddress& address);

}  // namespace inkmark
