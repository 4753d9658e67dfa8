// The status-monitor library's call contract: three C entry points that the
// driver port finds by name at run time. Every result is a signed 32-bit
// integer; a negative one means failure.
#pragma once

#include <cstdint>

#define QRV_STM_EXPORT __attribute__((visibility("default")))

extern "C" {

// Opens a monitor on the spooler printer `printer_name` (a queue name, or the
// make and model of a queue) with `access` kStlAccessDirect. Returns a handle
// >= 0, or a negative StlResult.
QRV_STM_EXPORT std::int32_t StlOpenMonitor(std::int32_t access, const char* printer_name);

// Closes a monitor, once a serial line has sent what it still held. Returns
// kStlOutputDiscarded when the line stopped sending and the rest had to be
// dropped. An unknown or already closed handle is harmless.
QRV_STM_EXPORT std::int32_t StlCloseMonitor(std::int32_t handle);

// Sends `write_length` bytes from `write_bytes`, then, when `read_buffer` is
// given, receives at most `*read_length` bytes into it and stores the count
// received in `*read_length`. The whole call ends within `timeout_ms`.
// `reply_kind` is kStlReplyRaw or kStlReplyStatusBlock; `version` is
// kStlCallVersion. Returns 0 on success, else a negative StlResult.
QRV_STM_EXPORT std::int32_t StlDirectIO(std::int32_t handle, std::uint32_t write_length,
                                        const std::uint8_t* write_bytes, std::uint32_t* read_length,
                                        std::uint8_t* read_buffer, std::uint32_t timeout_ms,
                                        std::int32_t reply_kind, std::int32_t version);

}  // extern "C"

namespace inkmark {

inline constexpr char kStatusLibraryFile[] = "libQrvStmApi.so";
inline constexpr char kStlOpenMonitorName[] = "StlOpenMonitor";
inline constexpr char kStlCloseMonitorName[] = "StlCloseMonitor";
inline constexpr char kStlDirectIoName[] = "StlDirectIO";

using StlOpenMonitorFn = decltype(&StlOpenMonitor);
using StlCloseMonitorFn = decltype(&StlCloseMonitor);
using StlDirectIoFn = decltype(&StlDirectIO);

// The one access mode: the monitor talks to the printer's device itself.
inline constexpr std::int32_t kStlAccessDirect = 2;
// The only layout of the StlDirectIO arguments there is.
inline constexpr std::int32_t kStlCallVersion = 1;

// What a reply is. Raw: whatever the printer sends until it falls quiet.
// Status block: bytes before the block header are dropped and the block is
// read up to and including its terminating NUL; input still queued from an
// earlier exchange is discarded before the request goes out, so that a late
// answer is never taken for the reply to this one.
inline constexpr std::int32_t kStlReplyRaw = 0;
inline constexpr std::int32_t kStlReplyStatusBlock = 1;

enum StlResult : std::int32_t {
  kStlOk = 0,
  kStlBadArgument = -1,
  kStlUnknownHandle = -2,
  kStlNoSuchPrinter = -3,
  kStlUnsupportedDevice = -4,
  kStlDeviceUnreachable = -5,
  kStlNoRoom = -6,
  kStlTimedOut = -7,
  kStlIoFailed = -8,
  kStlReplyTooLong = -9,
  kStlOutputDiscarded = -10,
};

}  // namespace inkmark
