// NetworkPort: a printer on the network, reached over raw TCP ("tcp://HOST:PORT",
// 9100 by default) with its replies on the same connection. It reads and
// writes as the device port does, with the same time-outs.
#pragma once

#include <cstdint>
#include <string>

#include "ports/device_port.h"
#include "ports/network_address.h"

namespace inkmark {

// How long a connection may take to be made, per address a name resolves to.
inline constexpr std::uint32_t kConnectTimeoutMs = 3000;

class NetworkPort final : public DevicePort {
 public:
  explicit NetworkPort(NetworkAddress address);

  // Resolves the host and connects to the first of its addresses that answers
  // within kConnectTimeoutMs; refused when none does, saying why.
  Status open() override;
  // Lets the printer take what was sent for as long as it keeps taking it,
  // then closes the connection; `output_lost` when it stopped taking bytes.
  Status close() override;
  void discardInput() override;

  NetworkAddress address;

 protected:
  std::int64_t writeSome(const std::uint8_t* buffer, std::uint32_t length) override;
};

}  // namespace inkmark
