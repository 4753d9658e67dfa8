// A simulated clock for the ports: time moves only when a port sleeps or waits
// in vain, and scheduled actions (a printer answering, a printer taking bytes)
// run when the simulated time reaches them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "ports/clock.h"

namespace inkmark::testing {

class FakePortClock final : public PortClock {
 public:
  // Installs itself as the ports' clock for its lifetime.
  FakePortClock();
  ~FakePortClock() override;

  std::uint64_t NowMs() override { return now_; }
  void SleepMs(std::uint32_t ms) override { AdvanceTo(now_ + ms); }
  // Looks at the real descriptor; while nothing is ready, jumps to the next
  // scheduled action or to the end of the wait.
  int WaitFd(int fd, short events, std::uint32_t timeout_ms) override;

  // Runs `action` once the simulated time reaches `at_ms`.
  void At(std::uint64_t at_ms, std::function<void()> action);
  // Runs `action` every `period_ms`, starting one period from now.
  void Every(std::uint64_t period_ms, std::function<void()> action);

 private:
  void AdvanceTo(std::uint64_t t);

  std::uint64_t now_ = 0;
  std::multimap<std::uint64_t, std::function<void()>> actions_;
};

}  // namespace inkmark::testing
