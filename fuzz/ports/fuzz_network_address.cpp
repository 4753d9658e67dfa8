// ParseNetworkAddress on arbitrary text: an accepted address is one a resolver
// may be given, and writing it out and parsing it again gives it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ports/network_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  auto address = inkmark::ParseNetworkAddress(text);
  if (!address) return 0;
  if (address->host.empty() || address->host.size() > inkmark::kMaxNetworkHost) std::abort();
  if (address->port == 0) std::abort();
  for (char c : address->host)
    if (static_cast<unsigned char>(c) <= ' ' || c == '/' || c == '[' || c == ']') std::abort();
  auto again = inkmark::ParseNetworkAddress(inkmark::NetworkAddressText(*address));
  if (!again || again->host != address->host || again->port != address->port) std::abort();
  return 0;
}
