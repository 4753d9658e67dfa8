#include "ports/device_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/line_queues.h"
#include "platform/message_box.h"
#include "platform/translation.h"
#include "ports/clock.h"
#include "ports/device_map.h"
#include "ports/read_timing.h"

namespace inkmark {

namespace {

// Step of the waits that have no descriptor event to wake them.
constexpr std::uint32_t kPollStepMs = 10;

const Failure kNotOpen{FailureCode::kPortUnavailable, "the port is not open"};

std::uint32_t Remaining(std::uint64_t deadline, std::uint64_t now) {
  return now >= deadline ? 0 : std::uint32_t(std::min<std::uint64_t>(deadline - now, UINT32_MAX));
}

}  // namespace

Status DevicePort::open() {
  auto path = DevicePathFor(name);
  if (!path) return {FailureCode::kPortUnavailable, label() + ": no device for this port"};
  UniqueFd fd(::open(path->c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return ErrnoFailure(FailureCode::kPortUnavailable, path->string(), errno);
  // The device is ours alone while the port is open.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK)
      return {FailureCode::kBusy, path->string() + ": in use by another program"};
    return ErrnoFailure(FailureCode::kPortUnavailable, path->string(), errno);
  }
  // Stale replies from an earlier exchange would be taken for this one's. Output
  // is left alone: on a pseudo-terminal it is bytes the other end has not read yet.
  ::tcflush(fd.get(), TCIFLUSH);
  handle = std::move(fd);
  applyTimeouts();
  return Status();
}

std::string DevicePort::label() const {
  // Port names end in a colon ("COM1:"); a sentence names the port without it.
  return !name.empty() && name.back() == ':' ? name.substr(0, name.size() - 1) : name;
}

Status DevicePort::closed() const {
  if (!output_lost) return Status();
  if (hung_up_)
    return {FailureCode::kHungUp,
            label() + ": the line hung up before the printer took everything"};
  return {FailureCode::kOutputLost, label() + ": the printer stopped taking the bytes sent to it"};
}

Status DevicePort::transferFailure(std::uint32_t error, const char* what) const {
  if (error == kErrorBusy || error == kErrorCounterTimeout)
    return {FailureCode::kBusy, label() + ": the printer took nothing for too long"};
  const FailureCode code = error == EIO || error == EPIPE || error == ECONNRESET
                               ? FailureCode::kHungUp
                               : FailureCode::kWriteFailed;
  return ErrnoFailure(code, label() + ": " + what, int(error));
}

std::uint32_t DevicePort::drainStallMs() const {
  return write_total_timeout_constant + write_total_timeout_multiplier * kWriteChunkBytes;
}

bool DevicePort::hangsUp(std::uint32_t ms) {
  const int events = CurrentPortClock().WaitFd(handle.get(), hangUpEvents(), ms);
  if (events != 0 && (events < 0 || (events & (POLLHUP | POLLERR | hangUpEvents())) != 0))
    hung_up_ = true;
  return hung_up_;
}

bool DevicePort::drainOutput() {
  PortClock& clock = CurrentPortClock();
  // A slow line may take far longer than the write time-out to send what the
  // driver holds; only a line that stops sending, or hangs up, is given up on.
  const bool drained = WaitForOutputDrain(
      handle.get(), drainStallMs(), [&clock] { return clock.NowMs(); },
      [this](std::uint32_t ms) { return hangsUp(ms); });
  // Bytes that left the queue have not arrived if the line hangs up right after.
  if (!drained || hangsUp(kHangUpSettleMs)) output_lost = true;
  return !output_lost;
}

Status DevicePort::close() {
  if (!handle) return Status();
  // What the printer was not going to take must not reach it later, half a
  // command after the user was told it failed.
  if (!drainOutput()) CurrentLineQueues().DiscardOutput(handle.get());
  ::tcflush(handle.get(), TCIFLUSH);
  handle.reset();
  return closed();
}

Result<std::uint32_t> DevicePort::discardInput() {
  if (!handle) return kNotOpen;
  PortClock& clock = CurrentPortClock();
  const std::uint64_t start = clock.NowMs();
  std::uint32_t dropped = 0;
  std::uint8_t scrap[512];
  for (;;) {
    const std::uint64_t spent = clock.NowMs() - start;
    if (spent >= kDiscardLimitMs || dropped >= kDiscardLimitBytes) {
      return Failure{FailureCode::kBusy, label() + ": the printer kept sending (" +
                                             std::to_string(dropped) + " bytes in " +
                                             std::to_string(spent) + " ms)"};
    }
    const int events = clock.WaitFd(handle.get(), POLLIN, kQuietLineMs);
    if (events < 0) return ErrnoFailure(FailureCode::kHungUp, label() + ": read", errno);
    if (events == 0) return dropped;
    if ((events & POLLIN) == 0) return Failure{FailureCode::kHungUp, label() + ": hung up"};
    const ssize_t n = ::read(handle.get(), scrap, sizeof scrap);
    if (n > 0) {
      dropped += std::uint32_t(n);
    } else if (n == 0) {
      return Failure{FailureCode::kHungUp, label() + ": hung up"};
    } else if (errno != EAGAIN && errno != EINTR) {
      return ErrnoFailure(FailureCode::kHungUp, label() + ": read", errno);
    }
  }
}

std::optional<std::uint32_t> DevicePort::outputQueued() {
  if (!handle) return std::nullopt;
  const std::optional<int> queued = CurrentLineQueues().OutputQueued(handle.get());
  if (!queued) return std::nullopt;
  return std::uint32_t(std::max(*queued, 0));
}

void DevicePort::applyTimeouts() {
  read_interval_timeout = 1;
  read_total_timeout_multiplier = 0;
  read_total_timeout_constant = read_constant_ms;
  write_total_timeout_multiplier = 1;
  write_total_timeout_constant = 2000;
}

DevicePort::Transfer DevicePort::readDevice(std::uint8_t* buffer, std::uint32_t length) {
  PortClock& clock = CurrentPortClock();
  Transfer t;
  std::uint64_t deadline = clock.NowMs() + read_total_timeout_constant +
                           std::uint64_t(read_total_timeout_multiplier) * length;
  // A device that has hung up answers every wait at once; sleeping out the
  // read's time keeps the timed read loop from spinning.
  auto fail = [&](std::uint32_t error) {
    if (std::uint32_t left = Remaining(deadline, clock.NowMs())) clock.SleepMs(left);
    t.ok = false;
    t.error = error;
    return t;
  };
  while (t.count < length) {
    std::uint32_t left = Remaining(deadline, clock.NowMs());
    if (t.count > 0) left = std::min(left, read_interval_timeout);
    int events = clock.WaitFd(handle.get(), POLLIN, left);
    if (events < 0) return fail(std::uint32_t(errno));
    if (events == 0) break;
    if ((events & POLLIN) == 0) return fail(EIO);
    ssize_t n = ::read(handle.get(), buffer + t.count, length - t.count);
    if (n > 0) {
      t.count += std::uint32_t(n);
    } else if (n == 0) {
      return fail(EIO);
    } else if (errno != EAGAIN && errno != EINTR) {
      return fail(std::uint32_t(errno));
    }
    if (Remaining(deadline, clock.NowMs()) == 0) break;
  }
  return t;
}

std::int64_t DevicePort::writeSome(const std::uint8_t* buffer, std::uint32_t length) {
  return ::write(handle.get(), buffer, length);
}

DevicePort::Transfer DevicePort::writeDevice(const std::uint8_t* buffer, std::uint32_t length) {
  PortClock& clock = CurrentPortClock();
  Transfer t;
  // A write does not run past the moment the user is to be asked.
  std::uint64_t deadline = std::min(clock.NowMs() + write_total_timeout_constant +
                                        std::uint64_t(write_total_timeout_multiplier) * length,
                                    std::max(last_taken_ms_ + kBusyQuestionMs, clock.NowMs()));
  bool held = false;
  std::uint64_t reported_at = clock.NowMs();
  auto keep_going = [&] {
    if (!write_waiting) return true;
    const std::uint64_t now = clock.NowMs();
    if (now - reported_at < kWriteWaitReportMs) return true;
    reported_at = now;
    return write_waiting(handed_ + t.count);
  };
  while (t.count < length) {
    if (!keep_going()) return {false, t.count, kErrorCancelled};
    std::uint32_t left = Remaining(deadline, clock.NowMs());
    if (left == 0) {
      t.ok = false;
      t.error = held ? kErrorBusy : kErrorCounterTimeout;
      return t;
    }
    held = !readyToSend();
    const std::uint32_t allowance = held ? 0 : sendAllowance();
    if (allowance == 0) {
      clock.SleepMs(std::min(left, kPollStepMs));
      continue;
    }
    int events = clock.WaitFd(handle.get(), POLLOUT, std::min(left, kWriteWaitReportMs));
    if (events < 0) return {false, t.count, std::uint32_t(errno)};
    if (events == 0) continue;
    const std::int64_t n = writeSome(buffer + t.count, std::min(length - t.count, allowance));
    if (n > 0) {
      t.count += std::uint32_t(n);
      last_taken_ms_ = clock.NowMs();
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (events & (POLLHUP | POLLERR)) return {false, t.count, EIO};
      // The device claimed room it did not have; do not spin on it.
      clock.SleepMs(1);
    } else {
      return {false, t.count, n < 0 ? std::uint32_t(errno) : std::uint32_t(EIO)};
    }
  }
  return t;
}

Status DevicePort::read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) {
  got = 0;
  if (!handle) return kNotOpen;
  Transfer t = readDevice(buffer, length);
  got = t.count;
  if (!t.ok) {
    last_comm_errors = t.error;
    return ErrnoFailure(FailureCode::kHungUp, label() + ": read", int(t.error));
  }
  if (got != length) return {FailureCode::kTimedOut, label() + ": the reply stopped coming"};
  return Status();
}

Status DevicePort::readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) {
  if (!handle) return kNotOpen;
  PortClock& clock = CurrentPortClock();
  got = 0;
  std::uint64_t start = clock.NowMs();
  if (length == 0) return Status();
  for (std::uint32_t pass = 0;; ++pass) {
    if (pass % kReadBackoffPasses == kReadBackoffPasses - 1 &&
        read_constant_ms + kReadBackoffStepMs <= timeout_ms) {
      read_constant_ms += kReadBackoffStepMs;
      applyTimeouts();
    }
    if (clock.NowMs() - start > timeout_ms) {
      read_constant_ms = kReadConstantStartMs;
      applyTimeouts();
      return {FailureCode::kTimedOut, label() + ": no reply within " + std::to_string(timeout_ms) +
                                          " ms (" + std::to_string(got) + " of " +
                                          std::to_string(length) + " bytes came)"};
    }
    // A failed read counts as no data; its error is not kept.
    got += readDevice(buffer + got, length - got).count;
    if (got >= length) return Status();
  }
}

Status DevicePort::write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                         std::uint32_t& errors) {
  written = 0;
  if (!handle) return kNotOpen;
  if (length == 0) return Status();
  PortClock& clock = CurrentPortClock();
  // The wait for the question runs from the last byte the printer took, not
  // from the first busy error: that comes only after a whole chunk's time-out.
  last_taken_ms_ = clock.NowMs();
  while (written < length) {
    std::uint32_t chunk = std::min(length - written, kWriteChunkBytes);
    handed_ = written;
    Transfer t = writeDevice(buffer + written, chunk);
    written += t.count;
    if (t.ok) {
      if (t.count == 0) return {FailureCode::kWriteFailed, label() + ": the device took nothing"};
      continue;
    }
    if (t.error == kErrorCancelled) {
      errors = t.error;
      return {FailureCode::kWriteFailed, label() + ": the write was stopped"};
    }
    if (t.error != kErrorBusy && t.error != kErrorCounterTimeout) {
      errors = t.error;
      return transferFailure(t.error, "write");
    }
    // Only a printer that has taken nothing for the whole wait is worth a
    // question: bytes taken start the wait again.
    if (clock.NowMs() - last_taken_ms_ < kBusyQuestionMs) continue;
    int answer = CurrentMessageBoxes().Show(nullptr, Translate("Ports", kBusyCaption),
                                            Translate("Ports", kBusyQuestion), kMbRetryCancel);
    if (answer != kIdRetry) {
      errors = t.error;
      // The printer's state is unchanged, but the user, not the line, ended the write.
      return {FailureCode::kCancelled, label() + ": the printer was busy and the write cancelled"};
    }
    last_taken_ms_ = clock.NowMs();
  }
  return Status();
}

}  // namespace inkmark
