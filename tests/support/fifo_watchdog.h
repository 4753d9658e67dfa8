// Bounds a test that hands a FIFO to code which must refuse it at once: if
// that code blocks opening or reading the FIFO, the watchdog opens it for
// writing after a while and closes it again, so that the blocked reader sees
// the end of the file and the test ends and fails instead of hanging.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace inkmark::testing {

class FifoWatchdog {
 public:
  FifoWatchdog(std::filesystem::path fifo, std::chrono::milliseconds after)
      : thread_([this, fifo = std::move(fifo), after] {
          std::unique_lock lock(mutex_);
          if (stop_.wait_for(lock, after, [this] { return stopped_; })) return;
          // Succeeds only while a reader has the FIFO open or is opening it.
          for (int i = 0; i < 100 && !stopped_; ++i) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
              fired_ = true;
              ::close(fd);
            }
            stop_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stopped_; });
          }
        }) {}
  ~FifoWatchdog() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    stop_.notify_all();
    thread_.join();
  }
  FifoWatchdog(const FifoWatchdog&) = delete;
  FifoWatchdog& operator=(const FifoWatchdog&) = delete;

  // Whether a reader was found waiting on the FIFO and had to be let go.
  bool Fired() const { return fired_; }

 private:
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopped_ = false;
  std::atomic<bool> fired_{false};
  std::thread thread_;
};

}  // namespace inkmark::testing
