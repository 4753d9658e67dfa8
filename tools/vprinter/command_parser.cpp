#include "command_parser.h"

#include <algorithm>

namespace inkmark::vprinter {

namespace {
constexpr std::uint8_t kEsc = 0x1B;
constexpr std::uint8_t kGs = 0x1D;
constexpr std::uint8_t kAck = 0x06;
}  // namespace

void CommandParser::Reset() {
  state_ = State::kIdle;
  count_bytes_ = 0;
  count_ = 0;
  body_.clear();
}

void CommandParser::Feed(std::span<const std::uint8_t> bytes, const Sink& sink) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::uint8_t b = bytes[i];
    switch (state_) {
      case State::kIdle:
        ++i;
        if (b == kEsc) {
          state_ = State::kEsc;
        } else if (b == kGs) {
          state_ = State::kGs;
        } else if (b == kAck) {
          sink(Frame{FrameKind::kAcknowledge, false, 0, {}});
        } else {
          ++skipped_;
        }
        break;
      case State::kEsc:
        // Only ESC @ is known; any other byte after ESC is looked at afresh,
        // so a lone ESC in text cannot swallow the command behind it.
        if (b == '@') {
          ++i;
          Reset();
          sink(Frame{FrameKind::kInitialise, false, 0, {}});
        } else {
          ++skipped_;
          Reset();
        }
        break;
      case State::kGs:
        if (b == '(' || b == '8') {
          ++i;
          long_shape_ = b == '8';
          state_ = State::kGsL;
        } else {
          ++skipped_;
          Reset();
        }
        break;
      case State::kGsL:
        if (b == 'L') {
          ++i;
          state_ = State::kCount;
          count_bytes_ = 0;
          count_ = 0;
        } else {
          skipped_ += 2;
          Reset();
        }
        break;
      case State::kCount:
        ++i;
        count_ |= std::uint32_t(b) << (8 * count_bytes_);
        ++count_bytes_;
        if (count_bytes_ == (long_shape_ ? 4 : 2)) {
          if (count_ > max_body_) {
            to_skip_ = count_;
            sink(Frame{FrameKind::kOversized, long_shape_, count_, {}});
            state_ = count_ == 0 ? State::kIdle : State::kSkip;
          } else if (count_ == 0) {
            sink(Frame{FrameKind::kGraphics, long_shape_, 0, {}});
            Reset();
          } else {
            body_.clear();
            body_.reserve(std::min<std::size_t>(count_, 1 << 16));
            state_ = State::kBody;
          }
        }
        break;
      case State::kBody: {
        std::size_t take = std::min<std::size_t>(count_ - body_.size(), bytes.size() - i);
        body_.insert(body_.end(), bytes.begin() + std::ptrdiff_t(i),
                     bytes.begin() + std::ptrdiff_t(i + take));
        i += take;
        if (body_.size() == count_) {
          sink(Frame{FrameKind::kGraphics, long_shape_, count_, body_});
          Reset();
        }
        break;
      }
      case State::kSkip: {
        std::size_t take = std::size_t(std::min<std::uint64_t>(to_skip_, bytes.size() - i));
        i += take;
        to_skip_ -= take;
        skipped_ += take;
        if (to_skip_ == 0) Reset();
        break;
      }
    }
  }
}

}  // namespace inkmark::vprinter
