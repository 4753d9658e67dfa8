// The remaining NV graphics capacity reply: a header, an identifier and the
// capacity in decimal digits up to a NUL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "ports/port_driver.h"
#include "protocol/reply_reader.h"

namespace inkmark {

// More digits than this are not a capacity any printer has.
inline constexpr std::size_t kMaxCapacityDigits = 8;

// The capacity that `digits` spell; -1 unless they are 1 to kMaxCapacityDigits
// decimal digits and nothing else.
std::int32_t CapacityFromDigits(std::span<const std::uint8_t> digits);

// A whole reply block of the driver route: header, identifier, then the
// digits up to the first NUL. -1 when unreadable or without its NUL.
std::int32_t ParseCapacityReply(std::span<const std::uint8_t> reply);

// The line made quiet, then the capacity request and its reply read byte by
// byte up to its NUL, within its deadline; refused, saying why, when
// unreadable, cut short or followed by more bytes.
Result<std::int32_t> ReadCapacityDirect(PortDriver& port);

// The capacity request and its reply in one exchange; refused when unreadable.
Result<std::int32_t> ReadCapacityDriver(const ReplyExchange& exchange);

}  // namespace inkmark
