#include "tcp_test_printer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

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
  const std::uint64_t one = 1;
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
  // Each open connection with the index of what it has sent in received_.
  std::vector<std::pair<UniqueFd, std::size_t>> connections;
  for (;;) {
    std::vector<pollfd> fds = {{stop_.get(), POLLIN, 0}, {listener_.get(), POLLIN, 0}};
    for (const auto& c : connections) fds.push_back({c.first.get(), POLLIN, 0});
    if (::poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents) return;
    for (std::size_t i = connections.size(); i-- > 0;) {
      if (!(fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char chunk[4096];
      const ssize_t n = ::read(connections[i].first.get(), chunk, sizeof chunk);
      if (n <= 0) {
        connections.erase(connections.begin() + i);
        continue;
      }
      std::unique_lock lock(mutex_);
      received_[connections[i].second].append(chunk, std::size_t(n));
      lock.unlock();
      const std::string reply = answer_ ? answer_(std::string_view(chunk, std::size_t(n))) : "";
      if (!reply.empty())
        (void)!::send(connections[i].first.get(), reply.data(), reply.size(), MSG_NOSIGNAL);
    }
    if (fds[1].revents & POLLIN) {
      UniqueFd c(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (c) {
        std::lock_guard lock(mutex_);
        connections.emplace_back(std::move(c), received_.size());
        received_.emplace_back();
      }
    }
  }
}

}  // namespace inkmark::testing
