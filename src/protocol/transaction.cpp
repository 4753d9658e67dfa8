#include "protocol/transaction.h"

#include "platform/string_table.h"
#include "ports/driver_port.h"
#include "ports/open_port.h"
#include "protocol/capacity_reply.h"
#include "protocol/key_list_reply.h"
#include "protocol/nv_commands.h"

namespace inkmark {

namespace {

// Sends one command that gets no reply on a port of its own.
std::int32_t SendOnOwnPort(const LogoSession& session, std::span<const std::uint8_t> command) {
  std::unique_ptr<PortDriver> port = OpenPrinterPort(session);
  if (!port) return 0;
  std::int32_t result = WriteBytes(*port, command);
  // A command the port had to drop on closing did not go out.
  if (ClosePrinterPort(std::move(port)) != 1) result = 0;
  return result;
}

}  // namespace

std::int32_t ClosePrinterPort(std::unique_ptr<PortDriver> port) {
  if (!port) return 1;
  port->close();
  return port->output_lost ? 0 : 1;
}

std::int32_t ReadStoredKeys(PortDriver& port, std::vector<NvKey>& keys) {
  // The port's kind and the route come from the same profile choice; asking the
  // port itself means a request never goes to a library that is not there.
  auto* driver = dynamic_cast<DriverPort*>(&port);
  return driver ? ReadKeyListDriver(port, DriverExchange(*driver), keys)
                : ReadKeyListDirect(port, keys);
}

std::int32_t ReadKeyCodeList(PortDriver& port, WindowHandle owner, std::vector<NvKey>& keys) {
  std::int32_t count = ReadStoredKeys(port, keys);
  if (count < 0) ShowMessage(owner, kStrKeyListFailed);
  return count;
}

std::int32_t ReadNvCapacity(PortDriver& port) {
  auto* driver = dynamic_cast<DriverPort*>(&port);
  return driver ? ReadCapacityDriver(DriverExchange(*driver)) : ReadCapacityDirect(port);
}

std::int32_t PrintNvGraphics(const LogoSession& session, const NvKey& key) {
  return SendOnOwnPort(session, PrintNvCommand(key));
}

std::int32_t DeleteNvGraphics(const LogoSession& session, const NvKey& key) {
  return SendOnOwnPort(session, DeleteNvCommand(key));
}

}  // namespace inkmark
