#include "protocol/reply_reader.h"

#include "ports/clock.h"
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

ReplyDeadline::ReplyDeadline(const PortDriver& port, std::size_t longest_reply) {
  const std::uint32_t pace =
      port.bytesPerSecond() > 0 ? port.bytesPerSecond() : kUnpacedBytesPerSecond;
  allowed_ms_ = port.timeout_ms + std::uint32_t(std::uint64_t(longest_reply) * 1000 / pace);
  at_ms_ = CurrentPortClock().NowMs() + allowed_ms_;
}

Status ReadReplyByte(PortDriver& port, const ReplyDeadline& deadline, std::uint8_t& byte) {
  const Failure too_long{FailureCode::kTimedOut, "the reply took longer than " +
                                                     std::to_string(deadline.allowed_ms()) +
                                                     " ms, more than the longest reply may take"};
  const std::uint64_t now = CurrentPortClock().NowMs();
  if (now >= deadline.at_ms()) return too_long;
  // The byte may take the port's time-out, but no longer than the reply has left.
  const std::uint32_t saved = port.timeout_ms;
  const std::uint64_t left = deadline.at_ms() - now;
  const bool cut = left < saved;
  if (cut) port.timeout_ms = std::uint32_t(left);
  std::uint32_t got = 0;
  Status read = port.readExact(&byte, 1, got);
  port.timeout_ms = saved;
  if (!read) return cut && read.code() == FailureCode::kTimedOut ? too_long : read;
  if (got != 1) return {FailureCode::kTimedOut, "the reply stopped coming"};
  return Status();
}

Status SkipToReplyHeader(PortDriver& port, const ReplyDeadline& deadline) {
  for (std::size_t skipped = 0; skipped <= kMaxBytesBeforeHeader; ++skipped) {
    std::uint8_t b = 0;
    if (Status read = ReadReplyByte(port, deadline, b); !read) return read;
    if (b == kReplyHeader) return Status();
  }
  return MalformedReply(std::to_string(kMaxBytesBeforeHeader + 1) +
                        " bytes came and none was a reply's header");
}

Status QuietLine(PortDriver& port) { return port.discardInput().status(); }

Status NothingMoreCame(PortDriver& port) {
  auto after = port.discardInput();
  if (!after) return after.status();
  if (*after > 0)
    return MalformedReply(std::to_string(*after) +
                          " more bytes came after it, so it did not answer this request");
  return Status();
}

Failure MalformedReply(const std::string& what) {
  return {FailureCode::kMalformedReply, "the printer's reply: " + what};
}

}  // namespace inkmark
