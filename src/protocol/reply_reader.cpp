#include "protocol/reply_reader.h"

#include "ports/driver_port.h"
#include "protocol/nv_commands.h"

namespace inkmark {

ReplyExchange DriverExchange(DriverPort& port) {
  return [&port](std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                 std::uint32_t& received) {
    received = static_cast<std::uint32_t>(reply.size());
    if (port.transact(request.data(), static_cast<std::uint32_t>(request.size()), reply.data(),
                      received, 1) != 1) {
      return false;
    }
    // A library that claims more than the room it was given is not to be believed.
    return received <= reply.size();
  };
}

bool ReadReplyByte(PortDriver& port, std::uint8_t& byte) {
  std::uint32_t got = 0;
  return port.readExact(&byte, 1, got) == 1 && got == 1;
}

bool SkipToReplyHeader(PortDriver& port) {
  for (std::size_t skipped = 0; skipped <= kMaxBytesBeforeHeader; ++skipped) {
    std::uint8_t b = 0;
    if (!ReadReplyByte(port, b)) return false;
    if (b == kReplyHeader) return true;
  }
  return false;
}

}  // namespace inkmark
