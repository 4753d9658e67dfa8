// The key code list reply: blocks of key bytes, read on either route and
// paired into keys across the whole reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ports/port_driver.h"
#include "protocol/nv_key.h"
#include "protocol/reply_reader.h"

namespace inkmark {

// There are no more distinct keys than this; a reply that lists more, or
// sends more blocks, is not a key list and is not read any further.
inline constexpr std::size_t kMaxNvKeys = 95 * 95;
inline constexpr std::size_t kMaxKeyBlocks = kMaxNvKeys + 1;
// The longest block a printer may send: header, identifier, status, every
// key's two bytes and the closing NUL. The driver route takes a block whole.
inline constexpr std::uint32_t kMaxKeyListBlock = 3 + 2 * kMaxNvKeys + 1;

// Pairs key bytes into keys: every second byte completes one key. Each block
// holds whole keys; the readers refuse a block with a byte left over.
class KeyListCollector {
 public:
  // Empties `keys`, which then receives the keys as they complete.
  explicit KeyListCollector(std::vector<NvKey>& keys);

  // False, taking nothing, once the list holds kMaxNvKeys keys.
  bool Add(std::uint8_t key_byte);
  std::int32_t count() const { return static_cast<std::int32_t>(keys_.size()); }

 private:
  std::vector<NvKey>& keys_;
  std::optional<char> pending_;
};

// One block as the driver route receives it whole.
struct KeyListBlock {
  std::uint8_t status = 0;
  // The bytes from byte 3 up to the first NUL: whole keys.
  std::span<const std::uint8_t> key_bytes;
};

// nullopt unless the reply is a whole key-list block: header, identifier,
// status, whole key pairs and the closing NUL.
std::optional<KeyListBlock> ParseKeyListBlock(std::span<const std::uint8_t> reply);

// The listing on the direct route: the line made quiet, the request, then the
// blocks byte by byte, each acknowledged within its deadline. The number of
// keys; refused when the request cannot be written or the list does not
// arrive whole (a wrong byte where a block's header or identifier belongs, a
// key byte without its partner, a read that times out, an acknowledgement that
// cannot be written, more bytes after the last block), with where it broke off. `keys` then
// holds those that came before: a partial list must never pass for the stored keys.
Result<std::int32_t> ReadKeyListDirect(PortDriver& port, std::vector<NvKey>& keys);

// The listing on the driver route: each block is the reply to the request or
// to the acknowledgement of the block before. Refused when an exchange fails
// or a block is malformed (`keys` then holds those that came before); the
// last block's acknowledgement is a plain write.
Result<std::int32_t> ReadKeyListDriver(PortDriver& port, const ReplyExchange& exchange,
                                       std::vector<NvKey>& keys);

}  // namespace inkmark
