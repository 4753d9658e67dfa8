// The device a spooler queue prints to, taken from its device URI: a TCP
// printer (socket://host[:port]) or a serial or parallel device by path
// (serial:/dev/ttyS0?baud=9600+bits=8+parity=none+flow=dtrdsr, parallel:/dev/lp0).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace inkmark {

inline constexpr std::uint16_t kDefaultSocketPort = 9100;

enum class DeviceKind { kTcp, kSerial, kParallel };
enum class SerialParity { kLeave, kNone, kEven, kOdd };
enum class SerialFlow { kLeave, kNone, kXonXoff, kRtsCts, kDtrDsr };

struct DeviceAddress {
  DeviceKind kind = DeviceKind::kTcp;
  std::string host;  // kTcp only
  std::uint16_t port = kDefaultSocketPort;
  std::string path;  // the device file, kSerial and kParallel
  // Serial line options; 0 and kLeave keep what the device has.
  std::uint32_t baud = 0;
  int data_bits = 0;
  SerialParity parity = SerialParity::kLeave;
  SerialFlow flow = SerialFlow::kLeave;
};

// Nullopt for any other scheme and for a malformed URI: an empty or unprintable
// host, a port outside 1..65535, a relative path or one that climbs with "..",
// or a serial option with a value the line cannot take.
std::optional<DeviceAddress> ParseDeviceUri(std::string_view uri);

}  // namespace inkmark
