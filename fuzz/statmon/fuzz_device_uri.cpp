// ParseDeviceUri on arbitrary text: whatever it accepts is a device the
// monitor may open, so an accepted address must be whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "statmon/device_uri.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string uri(reinterpret_cast<const char*>(data), size);
  auto address = inkmark::ParseDeviceUri(uri);
  if (!address) return 0;
  if (address->kind == inkmark::DeviceKind::kTcp) {
    if (address->host.empty() || address->port == 0) std::abort();
  } else {
    if (address->path.empty() || address->path[0] != '/') std::abort();
    if (address->path.find("/../") != std::string::npos) std::abort();
    if (address->path.size() >= 3 && address->path.ends_with("/..")) std::abort();
  }
  return 0;
}
