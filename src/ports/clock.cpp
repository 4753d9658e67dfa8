#include "ports/clock.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace inkmark {

namespace {
PortClock* current_clock = nullptr;
}  // namespace

std::uint64_t SystemPortClock::NowMs() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SystemPortClock::SleepMs(std::uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int SystemPortClock::WaitFd(int fd, short events, std::uint32_t timeout_ms) {
  std::uint64_t deadline = NowMs() + timeout_ms;
  for (;;) {
    pollfd p{fd, events, 0};
    std::uint64_t now = NowMs();
    int wait = now >= deadline ? 0 : int(deadline - now);
    int n = ::poll(&p, 1, wait);
    if (n > 0) return p.revents;
    if (n == 0) return 0;
    // A signal cuts the wait short; wait out the rest.
    if (errno != EINTR) return -1;
  }
}

PortClock& CurrentPortClock() {
  static SystemPortClock system_clock;
  return current_clock != nullptr ? *current_clock : system_clock;
}

void SetPortClock(PortClock* clock) { current_clock = clock; }

}  // namespace inkmark
