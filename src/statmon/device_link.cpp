#include "device_link.h"

#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/line_queues.h"
#include "status_block.h"

namespace inkmark {
namespace {

constexpr std::size_t kReadChunk = 512;

// Waits for `events` on `fd` until `deadline`: the flags that came, 0 when the
// time ran out, -1 on failure.
int WaitUntil(int fd, short events, Deadline deadline) {
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fd, events, 0};
    int n = ::poll(&p, 1, int(std::max<std::int64_t>(0, left.count())));
    if (n > 0) return p.revents;
    if (n == 0) return 0;
    if (errno != EINTR) return -1;
  }
}

}  // namespace

StlResult DeviceLink::Send(const std::uint8_t* bytes, std::uint32_t length, Deadline deadline) {
  std::uint32_t sent = 0;
  while (sent < length) {
    // A socket the printer has closed must fail the call, not raise SIGPIPE in the host.
    ssize_t n = is_socket_ ? ::send(fd_.get(), bytes + sent, length - sent, MSG_NOSIGNAL)
                           : ::write(fd_.get(), bytes + sent, length - sent);
    if (n > 0) {
      sent += std::uint32_t(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return kStlIoFailed;
    int ready = WaitUntil(fd_.get(), POLLOUT, deadline);
    if (ready == 0) return kStlTimedOut;
    if (ready < 0 || (ready & (POLLERR | POLLNVAL))) return kStlIoFailed;
  }
  return kStlOk;
}

StlResult DeviceLink::Fill(Deadline deadline) {
  if (pending_pos_ == pending_.size()) {
    pending_.clear();
    pending_pos_ = 0;
  }
  for (;;) {
    int ready = WaitUntil(fd_.get(), POLLIN, deadline);
    if (ready == 0) return kStlTimedOut;
    if (ready < 0 || (ready & POLLNVAL)) return kStlIoFailed;
    std::uint8_t chunk[kReadChunk];
    ssize_t n = ::read(fd_.get(), chunk, sizeof chunk);
    if (n > 0) {
      pending_.insert(pending_.end(), chunk, chunk + n);
      return kStlOk;
    }
    // End of stream on a socket: the printer hung up. A terminal may report
    // "nothing now" the same way, and only an error ends it.
    if (n == 0 && is_socket_) return kStlIoFailed;
    if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return kStlIoFailed;
    if (n == 0 && (ready & (POLLHUP | POLLERR))) return kStlIoFailed;
  }
}

StlResult DeviceLink::ReceiveRaw(std::uint8_t* buffer, std::uint32_t room, std::uint32_t& got,
                                 Deadline deadline) {
  got = 0;
  while (got < room) {
    if (pending_pos_ < pending_.size()) {
      std::size_t take = std::min<std::size_t>(room - got, pending_.size() - pending_pos_);
      std::memcpy(buffer + got, pending_.data() + pending_pos_, take);
      pending_pos_ += take;
      got += std::uint32_t(take);
      continue;
    }
    // After the first bytes, a short silence ends the reply.
    Deadline until =
        got == 0 ? deadline : std::min(deadline, std::chrono::steady_clock::now() + kReplyQuietGap);
    StlResult r = Fill(until);
    if (r == kStlOk) continue;
    if (got > 0) break;
    return r;
  }
  return kStlOk;
}

StlResult DeviceLink::ReceiveStatusBlock(std::uint8_t* buffer, std::uint32_t room,
                                         std::uint32_t& got, Deadline deadline) {
  got = 0;
  StatusBlockFramer framer(buffer, room);
  for (;;) {
    while (pending_pos_ < pending_.size()) {
      StatusBlockFramer::Step step = framer.Feed(pending_[pending_pos_++]);
      got = framer.size();
      if (step == StatusBlockFramer::Step::kDone) return kStlOk;
      if (step == StatusBlockFramer::Step::kDoneTooLong) return kStlReplyTooLong;
    }
    if (StlResult r = Fill(deadline); r != kStlOk) return r;
  }
}

StlResult DeviceLink::FinishOutput() {
  // A socket hands its data on by itself; a serial line's driver may still
  // hold seconds of it.
  if (is_socket_) return kStlOk;
  const auto now = [] {
    return std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count());
  };
  const auto sleep = [](std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  };
  if (WaitForOutputDrain(fd_.get(), std::uint32_t(kOutputStallTimeout.count()), now, sleep))
    return kStlOk;
  ::tcflush(fd_.get(), TCOFLUSH);
  return kStlOutputDiscarded;
}

void DeviceLink::DiscardInput() {
  pending_.clear();
  pending_pos_ = 0;
  std::uint8_t chunk[kReadChunk];
  // Bounded: a printer that talks without end cannot hold the call.
  for (int i = 0; i < 64; ++i) {
    ssize_t n = ::read(fd_.get(), chunk, sizeof chunk);
    if (n <= 0 && !(n < 0 && errno == EINTR)) break;
  }
}

}  // namespace inkmark
