#include "protocol/transaction.h"

#include "platform/string_table.h"
#include "ports/driver_port.h"
#include "ports/open_port.h"
#include "protocol/capacity_reply.h"
#include "protocol/key_list_reply.h"
#include "protocol/nv_commands.h"

namespace inkmark {

Status SendOnOwnPort(const LogoSession& session, std::span<const std::uint8_t> command) {
  auto opened = OpenPrinterPort(session);
  if (!opened) return opened.failure();
  std::unique_ptr<PortDriver> port = std::move(*opened);
  Status sent = WriteBytes(*port, command);
  // A command the port had to drop on closing did not go out.
  Status closed = ClosePortChecked(*port);
  return sent ? closed : sent;
}

Status ClosePortChecked(PortDriver& port) {
  Status closed = port.close();
  if (closed && port.output_lost)
    return {FailureCode::kOutputLost, "the printer did not take everything sent to it"};
  return closed;
}

std::int32_t ClosePrinterPort(std::unique_ptr<PortDriver> port) {
  if (!port) return 1;
  (void)port->close();
  return port->output_lost ? 0 : 1;
}

Result<std::int32_t> ListStoredKeys(PortDriver& port, std::vector<NvKey>& keys) {
  // The port's kind and the route come from the same profile choice; asking the
  // port itself means a request never goes to a library that is not there.
  auto* driver = dynamic_cast<DriverPort*>(&port);
  return driver ? ReadKeyListDriver(port, DriverExchange(*driver), keys)
                : ReadKeyListDirect(port, keys);
}

std::int32_t ReadStoredKeys(PortDriver& port, std::vector<NvKey>& keys) {
  auto count = ListStoredKeys(port, keys);
  return count ? *count : -1;
}

std::int32_t ReadKeyCodeList(PortDriver& port, WindowHandle owner, std::vector<NvKey>& keys) {
  auto count = ListStoredKeys(port, keys);
  if (!count) {
    ShowFailure(owner, kStrKeyListFailed, count.failure());
    return -1;
  }
  return *count;
}

Result<std::int32_t> QueryNvCapacity(PortDriver& port) {
  auto* driver = dynamic_cast<DriverPort*>(&port);
  return driver ? ReadCapacityDriver(DriverExchange(*driver)) : ReadCapacityDirect(port);
}

std::int32_t ReadNvCapacity(PortDriver& port) {
  auto capacity = QueryNvCapacity(port);
  return capacity ? *capacity : -1;
}

std::int32_t PrintNvGraphics(const LogoSession& session, const NvKey& key) {
  return SendOnOwnPort(session, PrintNvCommand(key)) ? 1 : 0;
}

std::int32_t DeleteNvGraphics(const LogoSession& session, const NvKey& key) {
  return SendOnOwnPort(session, DeleteNvCommand(key)) ? 1 : 0;
}

}  // namespace inkmark
