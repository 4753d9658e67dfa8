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

// Reads one reply byte; refused when none came within the port's time-out.
Status ReadReplyByte(PortDriver& port, std::uint8_t& byte);

// Drops bytes until the reply header has been read; refused when a read fails
// or too many bytes come first.
Status SkipToReplyHeader(PortDriver& port);

// A reply that is not what the request asks for: `what` says where it went wrong.
Failure MalformedReply(const std::string& what);

}  // namespace inkmark
