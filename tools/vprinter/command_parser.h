// Splits the host's byte stream into printer commands. The stream may arrive
// in any pieces: the parser keeps its place between calls, so every split of
// the same bytes gives the same commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace inkmark::vprinter {

enum class FrameKind {
  kInitialise,   // ESC @
  kAcknowledge,  // 0x06 between commands
  kGraphics,     // GS ( L or GS 8 L with its whole body
  kOversized,    // a graphics command whose count passed the cap: skipped unread
};

struct Frame {
  FrameKind kind = FrameKind::kInitialise;
  bool long_shape = false;
  std::uint32_t count = 0;             // the command's count field
  std::span<const std::uint8_t> body;  // m, fn and the rest (kGraphics only)
};

// Bodies longer than this are skipped rather than buffered.
inline constexpr std::size_t kDefaultMaxBody = std::size_t(16) << 20;

class CommandParser {
 public:
  using Sink = std::function<void(const Frame&)>;

  explicit CommandParser(std::size_t max_body = kDefaultMaxBody) : max_body_(max_body) {}

  // Consumes `bytes`, calling `sink` for every command completed by them.
  void Feed(std::span<const std::uint8_t> bytes, const Sink& sink);

  // Bytes passed over because they began no known command.
  std::uint64_t skipped_bytes() const { return skipped_; }
  // True between commands (nothing half-read).
  bool idle() const { return state_ == State::kIdle; }

 private:
  enum class State { kIdle, kEsc, kGs, kGsL, kCount, kBody, kSkip };

  void Reset();

  std::size_t max_body_;
  State state_ = State::kIdle;
  bool long_shape_ = false;
  int count_bytes_ = 0;
  std::uint32_t count_ = 0;
  std::uint64_t to_skip_ = 0;
  std::vector<std::uint8_t> body_;
  std::uint64_t skipped_ = 0;
};

}  // namespace inkmark::vprinter
