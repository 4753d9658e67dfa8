// A printer on a loopback TCP port for tests: it takes any number of
// connections (the spooler's backend and the status monitor connect
// separately), keeps what each one sends and answers from a script.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/unique_fd.h"

namespace inkmark::testing {

class TcpTestPrinter {
 public:
  // Given the bytes just received on a connection, returns the bytes to send back.
  using Answer = std::function<std::string(std::string_view received)>;

  // Listens on 127.0.0.1 at a free port; without an answer it never replies.
  explicit TcpTestPrinter(Answer answer = {});
  ~TcpTestPrinter();

  std::uint16_t port() const { return port_; }
  // The device URI of a queue that prints here.
  std::string Uri() const { return "socket://127.0.0.1:" + std::to_string(port_); }
  // What each connection has sent so far, in the order they came.
  std::vector<std::string> Received();
  // Waits until some connection has sent `bytes` exactly; false on time-out.
  bool WaitForConnectionBytes(const std::string& bytes, std::chrono::milliseconds timeout);

 private:
  void Serve();

  Answer answer_;
  UniqueFd listener_;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::vector<std::string> received_;
  std::thread thread_;
};

}  // namespace inkmark::testing
