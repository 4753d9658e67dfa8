// What the port tests share: a simulated clock, a private device map, recorded
// message boxes, and sessions built from a few choices.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/session.h"
#include "ports/clock.h"
#include "ports/port_driver.h"
#include "ports/read_timing.h"
#include "pty_printer.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {

// Time moves only when a port sleeps or waits in vain; scheduled actions (a
// printer answering) run when the time reaches them.
class FakePortClock final : public PortClock {
 public:
  FakePortClock() { SetPortClock(this); }
  ~FakePortClock() override { SetPortClock(nullptr); }

  std::uint64_t NowMs() override { return now_; }
  void SleepMs(std::uint32_t ms) override { AdvanceTo(now_ + ms); }
  int WaitFd(int fd, short events, std::uint32_t timeout_ms) override {
    const std::uint64_t deadline = now_ + timeout_ms;
    for (;;) {
      // A real millisecond lets the kernel pass bytes between the pty's ends.
      pollfd p{fd, events, 0};
      int n = ::poll(&p, 1, timeout_ms == 0 ? 0 : 1);
      if (n != 0) return n < 0 ? -1 : p.revents;
      if (now_ >= deadline) return 0;
      AdvanceTo(actions_.empty() ? deadline : std::min(deadline, actions_.begin()->first));
    }
  }
  void At(std::uint64_t at_ms, std::function<void()> action) { actions_.emplace(at_ms, action); }

 private:
  void AdvanceTo(std::uint64_t t) {
    while (!actions_.empty() && actions_.begin()->first <= t) {
      now_ = std::max(now_, actions_.begin()->first);
      auto action = std::move(actions_.begin()->second);
      actions_.erase(actions_.begin());
      action();
    }
    now_ = std::max(now_, t);
  }

  std::uint64_t now_ = 0;
  std::multimap<std::uint64_t, std::function<void()>> actions_;
};

struct LineChoice {
  std::string port = "COM1";
  std::int32_t baud = 19200;
  std::int32_t bits = 8;
  std::string parity = "None";
  std::string flow = "DTR/DSR";
};

// Gives `session` one profile offering exactly the given choices, each selected.
inline void UseChoices(LogoSession& session, const LineChoice& c,
                       std::vector<std::string> drivers = {}) {
  PrinterProfile p;
  p.ports = {c.port, "0"};
  p.baud_rates = {c.baud, 0};
  p.bit_lengths = {c.bits, 0};
  p.parities = {c.parity, "0"};
  p.flows = {c.flow, "0"};
  p.port_count = p.baud_count = p.bit_length_count = p.parity_count = p.flow_count = 1;
  p.driver_count = std::int32_t(drivers.size());
  p.driver_names = std::move(drivers);
  session.profiles = {std::move(p)};
  session.profile_count = 1;
  session.profile_index = 0;
}

inline const std::string kDriverModel = "Corlane Printer Driver DT-300/310";

// Bytes that differ from their neighbours and do not repeat every 256.
inline std::string Pattern(std::size_t n) {
  std::string data(n, '\0');
  for (std::size_t i = 0; i < n; ++i) data[i] = char(i * 7 + i / 251);
  return data;
}

// Writes all of `data`; the port's result, with the count written in `written`.
inline std::int32_t WriteAll(PortDriver& port, const std::string& data,
                             std::uint32_t* written = nullptr, std::uint32_t* errors = nullptr) {
  std::uint32_t w = 0, e = 0;
  std::int32_t ok =
      port.write(reinterpret_cast<const std::uint8_t*>(data.data()), std::uint32_t(data.size()),
                 written ? *written : w, errors ? *errors : e);
  return ok;
}

class PortTest : public ::testing::Test {
 protected:
  PortTest() { read_constant_ms = kReadConstantStartMs; }
  ~PortTest() override { read_constant_ms = kReadConstantStartMs; }

  DeviceMapHome home;
  FakePortClock clock;
  RecordingMessageBoxes boxes;
};

}  // namespace inkmark::testing
