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

Status ReadReplyByte(PortDriver& port, std::uint8_t& byte) {
  std::uint32_t got = 0;
  if (Status read = port.readExact(&byte, 1, got); !read) return read;
  if (got != 1) return {FailureCode::kTimedOut, "the reply stopped coming"};
  return Status();
}

Status SkipToReplyHeader(PortDriver& port) {
  for (std::size_t skipped = 0; skipped <= kMaxBytesBeforeHeader; ++skipped) {
    std::uint8_t b = 0;
    if (Status read = ReadReplyByte(port, b); !read) return read;
    if (b == kReplyHeader) return Status();
  }
  return MalformedReply(std::to_string(kMaxBytesBeforeHeader + 1) +
                        " bytes came and none was a reply's header");
}

Failure MalformedReply(const std::string& what) {
  return {FailureCode::kMalformedReply, "the printer's reply: " + what};
}

}  // namespace inkmark
