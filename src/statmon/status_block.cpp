#include "status_block.h"

namespace inkmark {

StatusBlockFramer::Step StatusBlockFramer::Feed(std::uint8_t byte) {
  if (!in_block_) {
    if (byte != kStatusBlockHeader) return Step::kMore;
    in_block_ = true;
  }
  if (size_ < room_)
    out_[size_++] = byte;
  else
    overflowed_ = true;
  if (byte != 0x00) return Step::kMore;
  return overflowed_ ? Step::kDoneTooLong : Step::kDone;
}

}  // namespace inkmark
