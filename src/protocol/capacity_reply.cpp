#include "protocol/capacity_reply.h"

#include <algorithm>
#include <array>

#include "picture/picture_bytes.h"
#include "protocol/nv_commands.h"

namespace inkmark {

std::int32_t CapacityFromDigits(std::span<const std::uint8_t> digits) {
  if (digits.empty() || digits.size() > kMaxCapacityDigits) return -1;
  std::int32_t value = 0;
  for (std::uint8_t d : digits) {
    if (d < '0' || d > '9') return -1;
    value = value * 10 + (d - '0');
  }
  return value;
}

std::int32_t ParseCapacityReply(std::span<const std::uint8_t> reply) {
  ByteReader r(reply);
  if (r.U8(0) != kReplyHeader || r.U8(1) != kCapacityId) return -1;
  auto text = reply.subspan(2);
  auto end = std::find(text.begin(), text.end(), 0x00);
  // A reply that breaks off before its NUL may have lost digits.
  if (end == text.end()) return -1;
  return CapacityFromDigits(text.first(std::size_t(end - text.begin())));
}

namespace {

Result<std::int32_t> Capacity(std::int32_t value) {
  if (value < 0) return MalformedReply("not a capacity in decimal digits");
  return value;
}

}  // namespace

Result<std::int32_t> ReadCapacityDirect(PortDriver& port) {
  if (Status quiet = QuietLine(port); !quiet) return quiet.failure();
  if (Status sent = WriteBytes(port, kCapacityRequest); !sent) return sent.failure();
  // Header, identifier, the digits and the NUL.
  const ReplyDeadline deadline(port, kMaxBytesBeforeHeader + 3 + kMaxCapacityDigits);
  if (Status found = SkipToReplyHeader(port, deadline); !found) return found.failure();
  std::uint8_t b = 0;
  if (Status read = ReadReplyByte(port, deadline, b); !read) return read.failure();
  if (b != kCapacityId) return MalformedReply("not the capacity reply");
  // One digit more than a capacity may have is enough to refuse the reply.
  std::array<std::uint8_t, kMaxCapacityDigits + 1> digits{};
  std::size_t count = 0;
  for (;;) {
    if (Status read = ReadReplyByte(port, deadline, b); !read) return read.failure();
    if (b == 0x00) break;
    digits[count++] = b;
    if (count == digits.size()) return MalformedReply("more digits than a capacity has");
  }
  const std::int32_t value = CapacityFromDigits(std::span(digits).first(count));
  if (value < 0) return Capacity(value);
  if (Status s = NothingMoreCame(port); !s) return s.failure();
  return value;
}

Result<std::int32_t> ReadCapacityDriver(const ReplyExchange& exchange) {
  std::array<std::uint8_t, kReplyBufferSize> reply{};
  std::uint32_t received = 0;
  if (!exchange(kCapacityRequest, reply, received))
    return Failure{FailureCode::kTimedOut, "the status monitor brought no capacity reply"};
  return Capacity(
      ParseCapacityReply(std::span(reply).first(std::min<std::size_t>(received, reply.size()))));
}

}  // namespace inkmark
