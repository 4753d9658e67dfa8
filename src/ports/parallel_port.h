// ParallelPort: a printer on "LPT1:", the device port with the printer-class
// device's own status and reset.
#pragma once

#include <cstdint>

#include "ports/device_port.h"

namespace inkmark {

inline constexpr std::int32_t kResetFailed = -2;

class ParallelPort final : public DevicePort {
 public:
  ParallelPort() : DevicePort("LPT1:") {}

  // 1 when the device answers a status query.
  std::int32_t status() override;
  // 0 when the device accepts a reset, -2 when it does not.
  std::int32_t reset() override;
};

}  // namespace inkmark
