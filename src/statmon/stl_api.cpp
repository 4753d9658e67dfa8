// The library's three entry points.
#include "stl_api.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

#include "device_uri.h"
#include "monitor_table.h"
#include "platform/spooler.h"

namespace inkmark {
namespace {

// Longer names are no printer's: the program keeps names of at most 63 characters.
constexpr std::size_t kMaxPrinterName = 255;
// Time allowed for reaching the printer's device when a monitor opens.
constexpr std::chrono::milliseconds kOpenTimeout{3000};
// One call never holds its caller longer than this, whatever it asks for.
constexpr std::uint32_t kMaxTimeoutMs = 60000;
// The program sends at most 4096 bytes a call; this leaves ample room.
constexpr std::uint32_t kMaxWriteBytes = 1u << 20;

MonitorTable& Monitors() {
  static MonitorTable table;
  return table;
}

std::int32_t OpenMonitor(std::int32_t access, const char* printer_name) {
  if (access != kStlAccessDirect || printer_name == nullptr) return kStlBadArgument;
  std::size_t length = ::strnlen(printer_name, kMaxPrinterName + 1);
  if (length == 0 || length > kMaxPrinterName) return kStlBadArgument;

  SpoolerConnection spooler = ConnectToSpooler();
  auto queue = FindSpoolerPrinter(spooler.get(), std::string(printer_name, length));
  spooler.reset();
  if (!queue) return kStlNoSuchPrinter;
  auto address = ParseDeviceUri(queue->device_uri);
  if (!address) return kStlUnsupportedDevice;

  StlResult failure = kStlOk;
  auto link = DeviceLink::Open(*address, std::chrono::steady_clock::now() + kOpenTimeout, &failure);
  if (!link) return failure;
  return Monitors().Add(std::move(link));
}

std::int32_t DirectIo(std::int32_t handle, std::uint32_t write_length,
                      const std::uint8_t* write_bytes, std::uint32_t* read_length,
                      std::uint8_t* read_buffer, std::uint32_t timeout_ms, std::int32_t reply_kind,
                      std::int32_t version) {
  if (version != kStlCallVersion) return kStlBadArgument;
  if (reply_kind != kStlReplyRaw && reply_kind != kStlReplyStatusBlock) return kStlBadArgument;
  if (write_length > kMaxWriteBytes || (write_length > 0 && write_bytes == nullptr))
    return kStlBadArgument;
  if (read_buffer != nullptr && read_length == nullptr) return kStlBadArgument;
  const std::uint32_t room = read_buffer != nullptr ? *read_length : 0;
  if (read_length != nullptr) *read_length = 0;

  std::shared_ptr<Monitor> monitor = Monitors().Find(handle);
  if (!monitor) return kStlUnknownHandle;
  const Deadline deadline = std::chrono::steady_clock::now() +
                            std::chrono::milliseconds(std::min(timeout_ms, kMaxTimeoutMs));
  std::lock_guard lock(monitor->mutex);
  DeviceLink& link = *monitor->link;

  if (reply_kind == kStlReplyStatusBlock && room > 0) link.DiscardInput();
  if (StlResult r = link.Send(write_bytes, write_length, deadline); r != kStlOk) return r;
  if (room == 0) return kStlOk;
  std::uint32_t got = 0;
  StlResult r = reply_kind == kStlReplyStatusBlock
                    ? link.ReceiveStatusBlock(read_buffer, room, got, deadline)
                    : link.ReceiveRaw(read_buffer, room, got, deadline);
  if (r != kStlOk) return r;
  *read_length = got;
  return kStlOk;
}

}  // namespace
}  // namespace inkmark

extern "C" {

std::int32_t StlOpenMonitor(std::int32_t access, const char* printer_name) {
  return inkmark::OpenMonitor(access, printer_name);
}

std::int32_t StlCloseMonitor(std::int32_t handle) {
  std::shared_ptr<inkmark::Monitor> monitor = inkmark::Monitors().Remove(handle);
  if (!monitor) return inkmark::kStlUnknownHandle;
  std::lock_guard lock(monitor->mutex);
  return monitor->link->FinishOutput();
}

std::int32_t StlDirectIO(std::int32_t handle, std::uint32_t write_length,
                         const std::uint8_t* write_bytes, std::uint32_t* read_length,
                         std::uint8_t* read_buffer, std::uint32_t timeout_ms,
                         std::int32_t reply_kind, std::int32_t version) {
  return inkmark::DirectIo(handle, write_length, write_bytes, read_length, read_buffer, timeout_ms,
                           reply_kind, version);
}

}  // extern "C"
