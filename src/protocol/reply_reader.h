// Reading printer replies: byte by byte from a port (the direct route), or a
// whole reply block per request through the driver's exchange (driver route).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "ports/port_driver.h"

namespace inkmark {

class DriverPort;

// Room for one reply block on the driver route.
inline constexpr std::uint32_t kReplyBufferSize = 128;
// A printer that sends this much before a reply's header is not answering the request.
inline constexpr std::size_t kMaxBytesBeforeHeader = 4096;

// One request and the reply block it brings: false when the exchange failed;
// otherwise `received` holds the reply's length (at most reply.size()).
using ReplyExchange = std::function<bool(std::span<const std::uint8_t> request,
                                         std::span<std::uint8_t> reply, std::uint32_t& received)>;

// The exchange of the driver port: one library call per request.
ReplyExchange DriverExchange(DriverPort& port);

// The pace taken for a line whose speed does not limit a reply (a network).
inline constexpr std::uint32_t kUnpacedBytesPerSecond = 100000;

// The time a whole reply may take: its longest legal length at the line's
// pace, and the port's time-out for the printer to start answering. A printer
// that drips its reply byte by byte, each within the time-out, is still cut off.
class ReplyDeadline {
 public:
  // Starts now, for a reply of at most `longest_reply` bytes.
  ReplyDeadline(const PortDriver& port, std::size_t longest_reply);
  std::uint64_t at_ms() const { return at_ms_; }
  std::uint32_t allowed_ms() const { return allowed_ms_; }

 private:
  std::uint32_t allowed_ms_;
  std::uint64_t at_ms_;
};

// Reads one reply byte; refused when none came within the port's time-out or
// the reply's deadline passed.
Status ReadReplyByte(PortDriver& port, const ReplyDeadline& deadline, std::uint8_t& byte);

// Drops bytes until the reply header has been read; refused when a read fails
// or too many bytes come first.
Status SkipToReplyHeader(PortDriver& port, const ReplyDeadline& deadline);

// Makes the line quiet before a request (PortDriver::discardInput).
Status QuietLine(PortDriver& port);

// After a reply has been read whole: refused when more bytes follow, which
// means what was read did not answer this request (a late reply to an
// earlier one came first).
Status NothingMoreCame(PortDriver& port);

// A reply that is not what the request asks for: `what` says where it went wrong.
Failure MalformedReply(const std::string& what);

}  // namespace inkmark
