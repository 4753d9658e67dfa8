#include "tcp_test_printer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <cstdint>
#include <stdexcept>

namespace inkmark::testing {

TcpTestPrinter::TcpTestPrinter(Answer answer) : answer_(std::move(answer)) {
  listener_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof addr;
  if (!listener_ || ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&addr), size) != 0 ||
      ::listen(listener_.get(), 16) != 0 ||
      ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&addr), &size) != 0)
    throw std::runtime_error("cannot listen on the loopback interface");
  port_ = ntohs(addr.sin_port);
  stop_.reset(::eventfd(0, EFD_CLOEXEC));
  thread_ = std::thread([this] { Serve(); });
}

TcpTestPrinter::~TcpTestPrinter() {
  std::uint64_t one = 1;
  (void)!::write(stop_.get(), &one, sizeof one);
  thread_.join();
}

std::vector<std::string> TcpTestPrinter::Received() {
  std::lock_guard lock(mutex_);
  return received_;
}

bool TcpTestPrinter::WaitForConnectionBytes(const std::string& bytes,
                                            std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    for (const std::string& r : Received())
      if (r == bytes) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

void TcpTestPrinter::Serve() {
  std::vector<UniqueFd> connections;
  std::vector<std::size_t> slots;  // index into received_ of each connection
  for (;;) {
    std::vector<pollfd> fds = {{stop_.get(), POLLIN, 0}, {listener_.get(), POLLIN, 0}};
    for (const UniqueFd& c : connections) fds.push_back({c.get(), POLLIN, 0});
    if (::poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents) return;
    const std::size_t polled = connections.size();
    if (fds[1].revents & POLLIN) {
      UniqueFd c(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (c) {
        std::lock_guard lock(mutex_);
        slots.push_back(received_.size());
        received_.emplace_back();
        connections.push_back(std::move(c));
      }
    }
    for (std::size_t i = polled; i-- > 0;) {
      if (!(fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char chunk[4096];
      ssize_t n = ::read(connections[i].get(), chunk, sizeof chunk);
      if (n <= 0) {
        connections.erase(connections.begin() + i);
        slots.erase(slots.begin() + i);
        continue;
      }
      {
        std::lock_guard lock(mutex_);
        received_[slots[i]].append(chunk, std::size_t(n));
      }
      if (!answer_) continue;
      std::string reply = answer_(std::string_view(chunk, std::size_t(n)));
      if (!reply.empty())
        (void)!::send(connections[i].get(), reply.data(), reply.size(), MSG_NOSIGNAL);
    }
  }
}

}  // namespace inkmark::testing
