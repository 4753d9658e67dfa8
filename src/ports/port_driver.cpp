#include "ports/port_driver.h"

#include <utility>

namespace inkmark {

PortDriver::PortDriver(std::string port_name) : name(std::move(port_name)) {
  if (name.size() > kMaxPortName) name.resize(kMaxPortName);
}

PortDriver::~PortDriver() = default;

std::int32_t PortDriver::beginJob() { return 1; }

void PortDriver::endJob() {}

std::int32_t PortDriver::status() { return 1; }

std::int32_t PortDriver::reset() { return kResetUnsupported; }

}  // namespace inkmark
