#include "protocol/key_list_reply.h"

#include <algorithm>
#include <string>
#include <vector>

#include "picture/picture_bytes.h"
#include "protocol/nv_commands.h"

namespace inkmark {

KeyListCollector::KeyListCollector(std::vector<NvKey>& keys) : keys_(keys) { keys_.clear(); }

bool KeyListCollector::Add(std::uint8_t key_byte) {
  if (keys_.size() >= kMaxNvKeys) return false;
  const char c = static_cast<char>(key_byte);
  if (!pending_) {
    pending_ = c;
  } else {
    keys_.push_back(MakeNvKey(*pending_, c));
    pending_.reset();
  }
  return true;
}

std::optional<KeyListBlock> ParseKeyListBlock(std::span<const std::uint8_t> reply) {
  ByteReader r(reply);
  if (reply.size() < 4 || r.U8(0) != kReplyHeader || r.U8(1) != kKeyListId) return std::nullopt;
  KeyListBlock block;
  block.status = reply[2];
  std::size_t end = 3;
  while (end < reply.size() && reply[end] != 0x00) ++end;
  // A block that breaks off, or lost one byte of a key, is not a block.
  if (end == reply.size() || (end - 3) % 2 != 0) return std::nullopt;
  block.key_bytes = reply.subspan(3, end - 3);
  return block;
}

namespace {

Failure InBlock(std::size_t block, const std::string& what) {
  return MalformedReply("key list block " + std::to_string(block + 1) + ": " + what);
}

Failure TooManyKeys() {
  return MalformedReply("more than " + std::to_string(kMaxNvKeys) + " keys");
}

// Reads one byte of block `block`, which must be `expected`.
Status ExpectByte(PortDriver& port, const ReplyDeadline& deadline, std::size_t block,
                  std::uint8_t expected, const char* what) {
  std::uint8_t b = 0;
  if (Status read = ReadReplyByte(port, deadline, b); !read) return read;
  if (b != expected) return InBlock(block, std::string("a wrong ") + what);
  return Status();
}

}  // namespace

Result<std::int32_t> ReadKeyListDirect(PortDriver& port, std::vector<NvKey>& keys) {
  KeyListCollector collector(keys);
  if (Status quiet = QuietLine(port); !quiet) return quiet.failure();
  if (Status sent = WriteBytes(port, kKeyListRequest); !sent) return sent.failure();
  for (std::size_t block = 0; block < kMaxKeyBlocks; ++block) {
    // Each block answers the request or the acknowledgement before it.
    const ReplyDeadline deadline(port, (block == 0 ? kMaxBytesBeforeHeader : 0) + kMaxKeyListBlock);
    if (block == 0) {
      if (Status found = SkipToReplyHeader(port, deadline); !found) return found.failure();
    } else if (Status s = ExpectByte(port, deadline, block, kReplyHeader, "header"); !s) {
      return s.failure();
    }
    if (Status s = ExpectByte(port, deadline, block, kKeyListId, "identifier"); !s)
      return s.failure();
    std::uint8_t status = 0;
    if (Status s = ReadReplyByte(port, deadline, status); !s) return s.failure();
    // A block's keys count only once the block has come whole.
    std::vector<std::uint8_t> key_bytes;
    for (;;) {
      std::uint8_t b = 0;
      if (Status s = ReadReplyByte(port, deadline, b); !s) return s.failure();
      if (b == 0x00) break;
      if (key_bytes.size() >= kMaxKeyListBlock) return TooManyKeys();
      key_bytes.push_back(b);
    }
    // A block holds whole keys: an odd byte means one was lost on the way.
    if (key_bytes.size() % 2 != 0) return InBlock(block, "an unpaired key byte");
    for (std::uint8_t b : key_bytes) {
      if (!collector.Add(b)) return TooManyKeys();
    }
    if (Status sent = WriteBytes(port, kAcknowledge); !sent) return sent.failure();
    if (status == kLastKeyBlock) {
      if (Status s = NothingMoreCame(port); !s) return s.failure();
      return collector.count();
    }
  }
  return MalformedReply("more than " + std::to_string(kMaxKeyBlocks) + " key list blocks");
}

Result<std::int32_t> ReadKeyListDriver(PortDriver& port, const ReplyExchange& exchange,
                                       std::vector<NvKey>& keys) {
  KeyListCollector collector(keys);
  std::vector<std::uint8_t> reply(kMaxKeyListBlock);
  std::uint32_t received = 0;
  const Failure no_block{FailureCode::kTimedOut, "the status monitor brought no key list block"};
  if (!exchange(kKeyListRequest, reply, received)) return no_block;
  for (std::size_t block = 0; block < kMaxKeyBlocks; ++block) {
    auto parsed = ParseKeyListBlock(
        std::span<const std::uint8_t>(reply).first(std::min<std::size_t>(received, reply.size())));
    if (!parsed) return InBlock(block, "not a whole key list block");
    for (std::uint8_t b : parsed->key_bytes) {
      if (!collector.Add(b)) return TooManyKeys();
    }
    if (parsed->status == kLastKeyBlock) {
      // The printer expects the acknowledgement but answers nothing to it.
      (void)WriteBytes(port, kAcknowledge);
      return collector.count();
    }
    if (!exchange(kAcknowledge, reply, received)) return no_block;
  }
  return MalformedReply("more than " + std::to_string(kMaxKeyBlocks) + " key list blocks");
}

}  // namespace inkmark
