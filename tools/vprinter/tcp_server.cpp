#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "servers.h"

namespace inkmark::vprinter {

std::unique_ptr<TcpServer> TcpServer::Start(VirtualPrinter& printer, const std::string& host,
                                            std::uint16_t port, std::string* error) {
  std::unique_ptr<TcpServer> server(new TcpServer(printer));
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  std::string service = std::to_string(port);
  int rc = ::getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found);
  if (rc != 0) {
    *error = "cannot resolve " + host + ": " + ::gai_strerror(rc);
    return nullptr;
  }
  std::string why = "no address";
  for (addrinfo* a = found; a != nullptr; a = a->ai_next) {
    UniqueFd fd(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
    if (!fd.valid()) continue;
    int on = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd.get(), a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd.get(), 16) != 0) {
      why = std::strerror(errno);
      continue;
    }
    server->listener_ = std::move(fd);
    break;
  }
  ::freeaddrinfo(found);
  if (!server->listener_.valid()) {
    *error = "cannot listen on " + host + ":" + service + ": " + why;
    return nullptr;
  }
  sockaddr_storage bound{};
  socklen_t len = sizeof bound;
  ::getsockname(server->listener_.get(), reinterpret_cast<sockaddr*>(&bound), &len);
  if (bound.ss_family == AF_INET) {
    server->port_ = ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  } else {
    server->port_ = ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
  }
  TcpServer* self = server.get();
  server->accept_thread_ = std::thread([self] { self->AcceptLoop(); });
  return server;
}

TcpServer::~TcpServer() { Stop(); }

void TcpServer::ReapFinished() {
  for (auto it = connections_.begin(); it != connections_.end();) {
    if (it->done.load()) {
      it->thread.join();
      it = connections_.erase(it);
    } else {
      ++it;
    }
  }
}

void TcpServer::AcceptLoop() {
  for (;;) {
    pollfd p[2] = {{stop_.fd(), POLLIN, 0}, {listener_.get(), POLLIN, 0}};
    int n = ::poll(p, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || (p[0].revents & POLLIN)) return;
    UniqueFd fd(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!fd.valid()) continue;
    ReapFinished();
    if (connections_.size() >= kMaxConnections) continue;  // closed on leaving scope
    ++accepted_;
    auto& c = connections_.emplace_back();
    c.fd = std::move(fd);
    Connection* conn = &c;
    c.thread = std::thread([this, conn] {
      ServeConnection(printer_, conn->fd.get(), stop_);
      // Close at once: a spooler that half-closed its side waits for ours.
      conn->fd.reset();
      conn->done.store(true);
    });
  }
}

void TcpServer::Stop() {
  stop_.Raise();
  if (accept_thread_.joinable()) accept_thread_.join();
  for (auto& c : connections_) {
    if (c.thread.joinable()) c.thread.join();
  }
  connections_.clear();
  listener_.reset();
}

}  // namespace inkmark::vprinter
