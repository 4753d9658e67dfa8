#include "protocol/key_list_reply.h"

#include <algorithm>

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
  block.key_bytes = reply.subspan(3, end - 3);
  return block;
}

std::int32_t ReadKeyListDirect(PortDriver& port, std::vector<NvKey>& keys) {
  KeyListCollector collector(keys);
  port.discardInput();
  if (WriteBytes(port, kKeyListRequest) != 1 || !SkipToReplyHeader(port)) return -1;
  // Position 0 of the first block, its header, has been read by the search.
  for (std::size_t block = 0; block < kMaxKeyBlocks; ++block) {
    std::uint8_t b = 0;
    if (block > 0 && (!ReadReplyByte(port, b) || b != kReplyHeader)) return -1;
    std::uint8_t status = 0;
    if (!ReadReplyByte(port, b) || b != kKeyListId || !ReadReplyByte(port, status)) return -1;
    for (;;) {
      if (!ReadReplyByte(port, b)) return -1;
      if (b == 0x00) break;
      if (!collector.Add(b)) return -1;
    }
    if (WriteBytes(port, kAcknowledge) != 1) return -1;
    if (status == kLastKeyBlock) return collector.count();
  }
  return -1;
}

std::int32_t ReadKeyListDriver(PortDriver& port, const ReplyExchange& exchange,
                               std::vector<NvKey>& keys) {
  KeyListCollector collector(keys);
  std::vector<std::uint8_t> reply(kMaxKeyListBlock);
  std::uint32_t received = 0;
  if (!exchange(kKeyListRequest, reply, received)) return -1;
  for (std::size_t block = 0; block < kMaxKeyBlocks; ++block) {
    auto parsed = ParseKeyListBlock(
        std::span<const std::uint8_t>(reply).first(std::min<std::size_t>(received, reply.size())));
    if (!parsed) return -1;
    for (std::uint8_t b : parsed->key_bytes) {
      if (!collector.Add(b)) return -1;
    }
    if (parsed->status == kLastKeyBlock) {
      // The printer expects the acknowledgement but answers nothing to it.
      WriteBytes(port, kAcknowledge);
      return collector.count();
    }
    if (!exchange(kAcknowledge, reply, received)) return -1;
  }
  return -1;
}

}  // namespace inkmark
