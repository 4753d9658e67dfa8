#include "support/tcp_test_printer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <stdexcept>

namespace inkmark::testing {

TcpTestPrinter::TcpTestPrinter(Answer answer)
    : answer_(std::move(answer)), listener_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  sockaddr_in addr{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t size = sizeof addr;
  auto* a = reinterpret_cast<sockaddr*>(&addr);
  if (!listener_ || ::bind(listener_.get(), a, size) != 0 || ::listen(listener_.get(), 16) != 0 ||
      ::getsockname(listener_.get(), a, &size) != 0)
    throw std::runtime_error("cannot listen on the loopback interface");
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

TcpTestPrinter::~TcpTestPrinter() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> TcpTestPrinter::Received() {
  std::lock_guard lock(mutex_);
  return received_;
}

bool TcpTestPrinter::WaitForConnectionBytes(const std::string& bytes,
                                            std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (auto got = Received(); std::find(got.begin(), got.end(), bytes) == got.end();
       got = Received()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void TcpTestPrinter::Serve() {
  // fds[0] is the listener; fds[i] the connection whose bytes go to
  // received_[i - 1], set to -1 (which poll passes over) once it ends.
  std::vector<pollfd> fds = {{listener_.get(), POLLIN, 0}};
  std::vector<UniqueFd> connections;
  while (!stop_) {
    if (::poll(fds.data(), fds.size(), 20) <= 0) continue;
    for (std::size_t i = 1; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      char chunk[4096];
      const ssize_t n = ::read(fds[i].fd, chunk, sizeof chunk);
      if (n <= 0) {
        connections[i - 1].reset();
        fds[i].fd = -1;
        continue;
      }
      const std::string_view got(chunk, std::size_t(n));
      std::lock_guard lock(mutex_);
      received_[i - 1].append(got);
      const std::string reply = answer_ ? answer_(got) : "";
      (void)!::send(fds[i].fd, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
    if (fds[0].revents & POLLIN) {
      connections.emplace_back(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
      fds.push_back({connections.back().get(), POLLIN, 0});
      std::lock_guard lock(mutex_);
      received_.emplace_back();
    }
  }
}

}  // namespace inkmark::testing
