#include "ports/network_port.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace inkmark {
namespace {

// Connects `fd` (non-blocking) to `a` within the time-out; 0 or an errno value.
int ConnectWithin(int fd, const addrinfo& a, std::uint32_t timeout_ms) {
  if (::connect(fd, a.ai_addr, a.ai_addrlen) == 0) return 0;
  if (errno != EINPROGRESS) return errno;
  pollfd p{fd, POLLOUT, 0};
  int n = 0;
  do {
    n = ::poll(&p, 1, int(timeout_ms));
  } while (n < 0 && errno == EINTR);
  if (n == 0) return ETIMEDOUT;
  if (n < 0) return errno;
  int error = 0;
  socklen_t len = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0) return errno;
  return error;
}

}  // namespace

NetworkPort::NetworkPort(NetworkAddress where)
    : DevicePort(NetworkAddressText(where)), address(std::move(where)) {}

Status NetworkPort::open() {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(address.port);
  if (int rc = ::getaddrinfo(address.host.c_str(), service.c_str(), &hints, &found); rc != 0) {
    return {FailureCode::kPortUnavailable,
            "cannot resolve " + address.host + ": " + ::gai_strerror(rc)};
  }
  Failure why{FailureCode::kPortUnavailable, "no address for " + address.host};
  for (addrinfo* a = found; a != nullptr; a = a->ai_next) {
    UniqueFd fd(
        ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol));
    if (!fd) {
      why = ErrnoFailure(FailureCode::kPortUnavailable, "cannot connect to " + name, errno);
      continue;
    }
    if (int error = ConnectWithin(fd.get(), *a, kConnectTimeoutMs); error != 0) {
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
  ::freeaddrinfo(found);
  if (!handle) return why;
  applyTimeouts();
  return Status();
}

Status NetworkPort::close() {
  if (!handle) return Status();
  // Bytes the printer has not acknowledged stay queued on the socket; a
  // printer that stops taking them loses them.
  drainOutput();
  ::shutdown(handle.get(), SHUT_RDWR);
  handle.reset();
  return closed();
}

void NetworkPort::discardInput() {
  if (!handle) return;
  std::uint8_t scrap[512];
  while (::recv(handle.get(), scrap, sizeof scrap, MSG_DONTWAIT) > 0) {
  }
}

std::int64_t NetworkPort::writeSome(const std::uint8_t* buffer, std::uint32_t length) {
  // A printer that closed the connection must fail the write, not end the program.
  return ::send(handle.get(), buffer, length, MSG_NOSIGNAL);
}

}  // namespace inkmark
