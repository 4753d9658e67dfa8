// The time source of the ports: the millisecond tick count, sleeping, and
// waiting on a descriptor. Behind one interface so that tests can run the
// 15-second busy wait and the 3-second read time-out on a simulated clock.
#pragma once

#include <cstdint>

namespace inkmark {

class PortClock {
 public:
  virtual ~PortClock() = default;
  // Milliseconds from an arbitrary fixed start; never goes back.
  virtual std::uint64_t NowMs() = 0;
  virtual void SleepMs(std::uint32_t ms) = 0;
  // Waits up to `timeout_ms` for `events` (poll flags) on `fd`. Returns the
  // flags that came, 0 when the time ran out, -1 on failure (errno set).
  virtual int WaitFd(int fd, short events, std::uint32_t timeout_ms) = 0;
};

// The monotonic system clock and poll(2).
class SystemPortClock final : public PortClock {
 public:
  std::uint64_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;
  int WaitFd(int fd, short events, std::uint32_t timeout_ms) override;
};

// The clock the ports use; the system clock until a caller sets its own.
PortClock& CurrentPortClock();
// Sets the clock to use (nullptr restores the system clock); the caller keeps ownership.
void SetPortClock(PortClock* clock);

}  // namespace inkmark
