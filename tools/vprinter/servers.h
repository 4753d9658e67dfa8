// The ways a host reaches the virtual printer: a pseudo-terminal behind a
// symbolic link (a serial or parallel port), and a TCP port.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "connection.h"
#include "platform/unique_fd.h"
#include "virtual_printer.h"

namespace inkmark::vprinter {

class PtyServer {
 public:
  // Makes a pseudo-terminal in raw mode, points `link` at its terminal side
  // (replacing an older link there, never another kind of file) and serves it
  // on a thread. Null with `error` set on failure.
  static std::unique_ptr<PtyServer> Start(VirtualPrinter& printer,
                                          const std::filesystem::path& link, std::string* error);
  ~PtyServer();

  // Ends the serving thread and removes the link.
  void Stop();
  const std::string& terminal_name() const { return terminal_name_; }
  const std::filesystem::path& link() const { return link_; }

 private:
  PtyServer() = default;

  UniqueFd controller_;
  // Held open so the pseudo-terminal stays up between the host's opens.
  UniqueFd terminal_;
  std::string terminal_name_;
  std::filesystem::path link_;
  StopSignal stop_;
  std::thread thread_;
};

class TcpServer {
 public:
  // Listens on host:port (port 0 picks a free port) and serves every
  // connection on its own thread. Null with `error` set on failure.
  static std::unique_ptr<TcpServer> Start(VirtualPrinter& printer, const std::string& host,
                                          std::uint16_t port, std::string* error);
  ~TcpServer();

  // Stops listening, ends every connection and waits for their threads.
  void Stop();
  std::uint16_t port() const { return port_; }
  int connections_accepted() const { return accepted_.load(); }

 private:
  explicit TcpServer(VirtualPrinter& printer) : printer_(printer) {}
  void AcceptLoop();
  void ReapFinished();

  struct Connection {
    UniqueFd fd;
    std::thread thread;
    std::atomic<bool> done{false};
  };

  VirtualPrinter& printer_;
  UniqueFd listener_;
  std::uint16_t port_ = 0;
  StopSignal stop_;
  std::thread accept_thread_;
  std::list<Connection> connections_;  // only the accept thread touches it until Stop
  std::atomic<int> accepted_{0};
};

// Connections served at once; more are closed as soon as they come.
inline constexpr std::size_t kMaxConnections = 32;

}  // namespace inkmark::vprinter
