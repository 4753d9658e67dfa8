#include "ports/network_port.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "ports/clock.h"

namespace inkmark {
namespace {

// The resolver's answer, shared with the thread that asks for it: the resolver
// may block far longer than the port may wait, so the port can leave it behind.
struct Resolution {
  std::mutex mutex;
  std::condition_variable done_cv;
  bool done = false;
  bool abandoned = false;
  int rc = 0;
  addrinfo* found = nullptr;
};

// The addresses of `host`, or a failure once `timeout_ms` ran out.
Result<addrinfo*> Resolve(const std::string& host, std::uint16_t port, std::uint32_t timeout_ms) {
  auto r = std::make_shared<Resolution>();
  std::thread([r, host, service = std::to_string(port)] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    std::lock_guard lock(r->mutex);
    if (r->abandoned) {
      if (rc == 0) ::freeaddrinfo(found);
      return;
    }
    r->rc = rc;
    r->found = found;
    r->done = true;
    r->done_cv.notify_one();
  }).detach();
  std::unique_lock lock(r->mutex);
  if (!r->done_cv.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return r->done; })) {
    r->abandoned = true;
    return Failure{FailureCode::kTimedOut, "cannot resolve " + host + ": no answer within " +
                                               std::to_string(timeout_ms) + " ms"};
  }
  if (r->rc != 0)
    return Failure{FailureCode::kPortUnavailable,
                   "cannot resolve " + host + ": " + ::gai_strerror(r->rc)};
  return r->found;
}

// Connects `fd` (non-blocking) to `a` within the time-out; 0 or an errno value.
int ConnectWithin(int fd, const addrinfo& a, std::uint32_t timeout_ms) {
  if (::connect(fd, a.ai_addr, a.ai_addrlen) == 0) return 0;
  if (errno != EINPROGRESS) return errno;
  // The clock's wait keeps its deadline across signals.
  const int events = CurrentPortClock().WaitFd(fd, POLLOUT, timeout_ms);
  if (events == 0) return ETIMEDOUT;
  if (events < 0) return errno;
  int error = 0;
  socklen_t len = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0) return errno;
  return error;
}

std::uint32_t Left(std::uint64_t deadline, std::uint64_t now) {
  return now >= deadline ? 0 : std::uint32_t(deadline - now);
}

}  // namespace

NetworkPort::NetworkPort(NetworkAddress where)
    : DevicePort(NetworkAddressText(where)), address(std::move(where)) {}

Status NetworkPort::open() {
  PortClock& clock = CurrentPortClock();
  const std::uint64_t deadline = clock.NowMs() + kConnectTimeoutMs;
  auto resolved = Resolve(address.host, address.port, kConnectTimeoutMs);
  if (!resolved) return resolved.failure();
  std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> found(*resolved, &::freeaddrinfo);
  Failure why{FailureCode::kPortUnavailable, "no address for " + address.host};
  for (addrinfo* a = found.get(); a != nullptr; a = a->ai_next) {
    const std::uint32_t left = Left(deadline, clock.NowMs());
    if (left == 0) {
      why = ErrnoFailure(FailureCode::kTimedOut, "cannot connect to " + name, ETIMEDOUT);
      break;
    }
    UniqueFd fd(
        ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol));
    if (!fd) {
      why = ErrnoFailure(FailureCode::kPortUnavailable, "cannot connect to " + name, errno);
      continue;
    }
    if (int error = ConnectWithin(fd.get(), *a, left); error != 0) {
      why =
          ErrnoFailure(error == ETIMEDOUT ? FailureCode::kTimedOut : FailureCode::kPortUnavailable,
                       "cannot connect to " + name, error);
      continue;
    }
    // Commands are small and a reply is awaited after each: send them at once.
    int on = 1;
    ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    handle = std::move(fd);
    break;
  }
  if (!handle) return why;
  applyTimeouts();
  return Status();
}

Status NetworkPort::close() {
  if (!handle) return Status();
  // Bytes the printer has not acknowledged stay queued on the socket (the
  // queue the drain watches); a printer that stops taking them, or resets or
  // closes the connection, loses them.
  drainOutput();
  int error = 0;
  socklen_t len = sizeof error;
  if (::getsockopt(handle.get(), SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error != 0) {
    output_lost = true;
    hung_up_ = true;
  }
  ::shutdown(handle.get(), SHUT_RDWR);
  handle.reset();
  return closed();
}

short NetworkPort::hangUpEvents() const { return POLLRDHUP; }

std::int64_t NetworkPort::writeSome(const std::uint8_t* buffer, std::uint32_t length) {
  // A printer that closed the connection must fail the write, not end the program.
  return ::send(handle.get(), buffer, length, MSG_NOSIGNAL);
}

}  // namespace inkmark
