#include "ports/open_port.h"

#include <cstdint>
#include <utility>

#include "platform/text.h"
#include "ports/clock.h"
#include "ports/driver_port.h"
#include "ports/file_port.h"
#include "ports/network_port.h"
#include "ports/parallel_port.h"
#include "ports/serial_port.h"

namespace inkmark {

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::unique_ptr<PortDriver> ChooseSerialPort(const PrinterProfile& p, std::string_view port_name) {
  auto port = std::make_unique<SerialPort>();
  std::uint8_t byte_size = p.bit_lengths.Selected() == 8 ? 8 : 7;
  std::string_view parity_name = p.parities.Selected();
  std::uint8_t parity = EqualsNoCase(parity_name, "Even")  ? kParityEven
                        : EqualsNoCase(parity_name, "Odd") ? kParityOdd
                                                           : kParityNone;
  std::uint8_t flow = EqualsNoCase(p.flows.Selected(), "DTR/DSR") ? kFlowDtrDsr : kFlowXonXoff;
  std::int32_t baud = p.baud_rates.Selected();
  if (!port->setLine(PortNumberFromName(port_name), byte_size, parity, kOneStopBit, flow,
                     baud > 0 ? std::uint32_t(baud) : 0)) {
    return nullptr;
  }
  return port;
}

}  // namespace

std::int32_t PortNumberFromName(std::string_view port_name) {
  std::string_view s = port_name.size() >= 3 ? port_name.substr(3) : std::string_view();
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::int64_t value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > INT32_MAX) {
      value = std::int64_t(INT32_MAX) + 1;
      break;
    }
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return std::int32_t(value);
}

std::unique_ptr<PortDriver> ChoosePrinterPort(const LogoSession& session) {
  if (session.save_as_command_file == 1) return std::make_unique<FilePort>(session.save_path);
  const PrinterProfile* profile = session.CurrentProfile();
  if (profile == nullptr) return nullptr;
  std::string_view port_name = profile->ports.Selected();
  if (IsNetworkPortName(port_name)) {
    auto address = ParseNetworkAddress(port_name);
    if (!address) return nullptr;
    return std::make_unique<NetworkPort>(std::move(*address));
  }
  if (StartsWithNoCase(port_name, "COM")) return ChooseSerialPort(*profile, port_name);
  if (StartsWithNoCase(port_name, kDriverPortPrefix)) {
    std::string_view driver = profile->driver_names.Selected();
    return std::make_unique<DriverPort>(std::string(driver));
  }
  return std::make_unique<ParallelPort>();
}

Result<std::unique_ptr<PortDriver>> OpenPrinterPort(const LogoSession& session) {
  std::unique_ptr<PortDriver> port = ChoosePrinterPort(session);
  if (!port) return Failure{FailureCode::kInvalidArgument, "no port is chosen for the printer"};
  if (Status opened = port->open(); !opened) return opened.failure();
  if (dynamic_cast<FilePort*>(port.get()) != nullptr) return port;
  std::uint32_t written = 0;
  std::uint32_t errors = 0;
  Status sent = port->write(kInitializeCommand, sizeof kInitializeCommand, written, errors);
  if (!sent) {
    (void)port->close();
    return sent.failure();
  }
  CurrentPortClock().SleepMs(kAfterOpenWaitMs);
  return port;
}

}  // namespace inkmark
