// Frames one status block out of the printer's byte stream. A block starts
// with the header byte 0x37 and ends with a NUL; bytes before the header are
// left over from earlier traffic and dropped.
#pragma once

#include <cstdint>

namespace inkmark {

inline constexpr std::uint8_t kStatusBlockHeader = 0x37;

class StatusBlockFramer {
 public:
  enum class Step { kMore, kDone, kDoneTooLong };

  // The block is stored into `out`, at most `room` bytes of it.
  StatusBlockFramer(std::uint8_t* out, std::uint32_t room) : out_(out), room_(room) {}

  // Takes the next byte. A block longer than the room is read to its end all
  // the same, so that the stream stays in step, and reported as too long.
  Step Feed(std::uint8_t byte);
  // Bytes of the block stored so far.
  std::uint32_t size() const { return size_; }

 private:
  std::uint8_t* out_;
  std::uint32_t room_;
  std::uint32_t size_ = 0;
  bool in_block_ = false;
  bool overflowed_ = false;
};

}  // namespace inkmark
