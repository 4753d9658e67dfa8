// Reading and writing test descriptors with a time limit, so a printer that
// fails to answer fails the test instead of hanging it.
#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "platform/unique_fd.h"

namespace inkmark::vprinter::testing {

inline bool WriteAllTo(int fd, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

// Reads until `count` bytes came or nothing came for `timeout_ms`.
inline std::vector<std::uint8_t> ReadFrom(int fd, std::size_t count, int timeout_ms = 3000) {
  std::vector<std::uint8_t> out(count);
  std::size_t got = 0;
  for (pollfd p{fd, POLLIN, 0}; got < count && ::poll(&p, 1, timeout_ms) == 1;) {
    const ssize_t n = ::read(fd, out.data() + got, count - got);
    if (n <= 0) break;
    got += std::size_t(n);
  }
  out.resize(got);
  return out;
}

// A connection to `port` on the loopback address; invalid if refused.
inline UniqueFd ConnectTo(std::uint16_t port) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return {};
  return fd;
}

}  // namespace inkmark::vprinter::testing
