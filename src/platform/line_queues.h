// What a terminal line's driver knows and a pseudo-terminal cannot show: how
// many bytes still wait in its output queue (a UART sends them long after
// write() returned), and the modem lines. Behind one interface so that tests
// can play a slow or stalled UART. Header-only: the status-monitor library
// uses it without linking the platform layer.
#pragma once

#include <sys/ioctl.h>
#include <termios.h>

#include <cstdint>
#include <optional>
#include <type_traits>

namespace inkmark {

class LineQueues {
 public:
  virtual ~LineQueues() = default;
  // Bytes queued for output on `fd`; nullopt when the device keeps no queue
  // or can no longer say.
  virtual std::optional<int> OutputQueued(int fd) = 0;
  // The TIOCM_* bits of `fd`; nullopt when the device has no modem lines.
  virtual std::optional<int> ModemLines(int fd) = 0;
  // Throws away the output still queued on `fd`, so that none of it reaches
  // the printer once the port has given up on it.
  virtual void DiscardOutput(int fd) { ::tcflush(fd, TCOFLUSH); }
};

// The device's own answers (TIOCOUTQ, TIOCMGET).
class SystemLineQueues final : public LineQueues {
 public:
  std::optional<int> OutputQueued(int fd) override {
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0) return std::nullopt;
    return queued;
  }
  std::optional<int> ModemLines(int fd) override {
    int lines = 0;
    if (::ioctl(fd, TIOCMGET, &lines) != 0) return std::nullopt;
    return lines;
  }
};

inline LineQueues*& ChosenLineQueues() {
  static LineQueues* chosen = nullptr;
  return chosen;
}

// The queues the ports ask; the device's own until a caller sets others.
inline LineQueues& CurrentLineQueues() {
  static SystemLineQueues system;
  return ChosenLineQueues() != nullptr ? *ChosenLineQueues() : system;
}

// Sets the queues to ask (nullptr restores the device's own); the caller keeps ownership.
inline void SetLineQueues(LineQueues* queues) { ChosenLineQueues() = queues; }

// How often a drain looks at the queue.
inline constexpr std::uint32_t kDrainPollMs = 10;

// Waits while the output queue of `fd` keeps shrinking, and gives up once
// `stall_ms` pass without a byte leaving it: a slow line is waited for however
// long it takes, a stalled one is not. `wait(ms)` waits between looks and may
// say whether the line hung up meanwhile, which ends the wait at once. True when
// the queue emptied or the device keeps none; false when bytes are still
// queued (or the device stopped answering part-way), so that the caller knows
// they are lost.
template <typename Now, typename Wait>
bool WaitForOutputDrain(int fd, std::uint32_t stall_ms, Now now, Wait wait) {
  LineQueues& queues = CurrentLineQueues();
  std::optional<int> queued = queues.OutputQueued(fd);
  if (!queued) return true;
  std::uint64_t progress_at = now();
  while (*queued > 0) {
    if (now() - progress_at >= stall_ms) return false;
    if constexpr (std::is_void_v<decltype(wait(kDrainPollMs))>) {
      wait(kDrainPollMs);
    } else if (wait(kDrainPollMs)) {
      return false;
    }
    std::optional<int> left = queues.OutputQueued(fd);
    if (!left) return false;
    if (*left < *queued) progress_at = now();
    queued = left;
  }
  return true;
}

}  // namespace inkmark
