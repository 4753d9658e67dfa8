#include "fake_port_clock.h"

#include <poll.h>

#include <algorithm>
#include <utility>

namespace inkmark::testing {

FakePortClock::FakePortClock() { SetPortClock(this); }
FakePortClock::~FakePortClock() { SetPortClock(nullptr); }

void FakePortClock::At(std::uint64_t at_ms, std::function<void()> action) {
  actions_.emplace(at_ms, std::move(action));
}

void FakePortClock::Every(std::uint64_t period_ms, std::function<void()> action) {
  At(now_ + period_ms, [this, period_ms, action] {
    action();
    Every(period_ms, action);
  });
}

void FakePortClock::AdvanceTo(std::uint64_t t) {
  while (!actions_.empty() && actions_.begin()->first <= t) {
    auto it = actions_.begin();
    now_ = std::max(now_, it->first);
    auto action = std::move(it->second);
    actions_.erase(it);
    action();
  }
  now_ = std::max(now_, t);
}

int FakePortClock::WaitFd(int fd, short events, std::uint32_t timeout_ms) {
  std::uint64_t deadline = now_ + timeout_ms;
  for (;;) {
    // A real millisecond lets the kernel pass bytes between the two ends of a
    // pseudo-terminal after an action wrote or read them.
    pollfd p{fd, events, 0};
    int n = ::poll(&p, 1, timeout_ms == 0 ? 0 : 1);
    if (n != 0) return n < 0 ? -1 : p.revents;
    if (now_ >= deadline) return 0;
    std::uint64_t next = actions_.empty() ? deadline : std::min(deadline, actions_.begin()->first);
    AdvanceTo(next);
  }
}

}  // namespace inkmark::testing
