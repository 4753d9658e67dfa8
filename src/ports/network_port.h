// NetworkPort: a printer on the network, reached over raw TCP ("tcp://HOST:PORT",
// 9100 by default) with its replies on the same connection. It reads and
// writes as the device port does, with the same time-outs.
#pragma once

#include <cstdint>
#include <string>

#include "ports/device_port.h"
#include "ports/network_address.h"

namespace inkmark {

// How long resolving the name and connecting to one of its addresses may take
// together.
inline constexpr std::uint32_t kConnectTimeoutMs = 3000;

class NetworkPort final : public DevicePort {
 public:
  explicit NetworkPort(NetworkAddress address);

  // Resolves the host and connects to the first of its addresses that answers,
  // all within kConnectTimeoutMs; refused when none does, saying why.
  Status open() override;
  // Waits until the printer has acknowledged every byte sent, for as long as
  // it keeps acknowledging, then closes the connection; refused (with
  // `output_lost`) when it stopped taking bytes or reset or closed the
  // connection before or just after the last of them.
  Status close() override;

  NetworkAddress address;

 protected:
  std::int64_t writeSome(const std::uint8_t* buffer, std::uint32_t length) override;
  // A printer that closes its side of the connection has gone away.
  short hangUpEvents() const override;
};

}  // namespace inkmark
