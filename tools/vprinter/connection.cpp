#include "connection.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "printer_session.h"

namespace inkmark::vprinter {

StopSignal::StopSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!fd_.valid()) throw std::runtime_error("eventfd failed");
}

void StopSignal::Raise() {
  std::uint64_t one = 1;
  [[maybe_unused]] auto n = ::write(fd_.get(), &one, sizeof one);
}

bool StopSignal::raised() const {
  pollfd p{fd_.get(), POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

namespace {

// Waits for `events` on fd or for the stop signal; false when stopped or the
// time ran out (timeout_ms -1 waits for ever).
bool WaitFor(int fd, short events, const StopSignal& stop, int timeout_ms) {
  for (;;) {
    pollfd p[2] = {{stop.fd(), POLLIN, 0}, {fd, events, 0}};
    int n = ::poll(p, fd < 0 ? 1 : 2, timeout_ms);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || (p[0].revents & POLLIN)) return false;
    return true;
  }
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, const StopSignal& stop) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    // send() keeps a closed socket from raising SIGPIPE; a terminal needs write().
    ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == ENOTSOCK) n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += std::size_t(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!WaitFor(fd, POLLOUT, stop, -1)) return false;
    } else {
      return false;
    }
  }
  return true;
}

// The faults that count the bytes of a job: the host's bytes are taken one
// at a time so that each job's count starts right after its initialise command.
class JobFaults {
 public:
  JobFaults(VirtualPrinter& printer, const StopSignal& stop)
      : printer_(printer), faults_(printer.options().faults), stop_(stop) {
    if (faults_.drop_after) snapshot_ = printer_.SnapshotNv();
  }
  bool active() const { return faults_.stall_ms > 0 || faults_.drop_after.has_value(); }

  // Feeds `bytes`; false once the line is to be dropped or the server stops.
  bool Feed(PrinterSession& session, std::span<const std::uint8_t> bytes, ServeEnd& end) {
    for (std::uint8_t b : bytes) {
      session.Feed(std::span<const std::uint8_t>(&b, 1));
      if (session.initialise_count() != initialises_seen_) {
        initialises_seen_ = session.initialise_count();
        job_bytes_ = 0;
        stalled_ = false;
        if (faults_.drop_after) snapshot_ = printer_.SnapshotNv();
        continue;
      }
      ++job_bytes_;
      if (faults_.drop_after && job_bytes_ >= *faults_.drop_after) {
        // A half-received define is lost with the line; so is anything the job stored.
        printer_.RestoreNv(snapshot_);
        printer_.Log("line dropped after " + std::to_string(job_bytes_) + " bytes of the job");
        end = ServeEnd::kDropped;
        return false;
      }
      if (faults_.stall_ms > 0 && !stalled_ && job_bytes_ >= faults_.stall_after) {
        stalled_ = true;
        printer_.Log("stalled for " + std::to_string(faults_.stall_ms) + " ms");
        WaitFor(-1, 0, stop_, faults_.stall_ms);
        if (stop_.raised()) return false;
      }
    }
    return true;
  }

 private:
  VirtualPrinter& printer_;
  const FaultOptions& faults_;
  const StopSignal& stop_;
  std::uint64_t initialises_seen_ = 0;
  std::uint64_t job_bytes_ = 0;
  bool stalled_ = false;
  std::vector<std::uint8_t> snapshot_;
};

}  // namespace

ServeEnd ServeConnection(VirtualPrinter& printer, int fd, const StopSignal& stop) {
  PrinterSession session(
      printer, [&](std::span<const std::uint8_t> bytes) { return WriteAll(fd, bytes, stop); },
      [&](int ms) {
        WaitFor(-1, 0, stop, ms);
        return !stop.raised();
      });
  JobFaults job_faults(printer, stop);
  ServeEnd end = ServeEnd::kEnded;
  const int busy_ms = printer.options().faults.busy_ms;
  bool first_bytes = true;
  std::uint64_t initialises_seen = 0;
  std::uint8_t buffer[4096];
  // A paced line takes a fiftieth of a second's bytes at a time, then waits
  // as long as they would take to arrive.
  const std::uint32_t rate = printer.options().bytes_per_second;
  const std::size_t chunk =
      rate == 0 ? sizeof buffer : std::clamp<std::size_t>(rate / 50, 1, sizeof buffer);
  for (;;) {
    if (!WaitFor(fd, POLLIN, stop, -1)) return end;
    ssize_t n = ::read(fd, buffer, chunk);
    if (rate != 0 && n > 0) {
      WaitFor(-1, 0, stop, int(std::uint64_t(n) * 1000 / rate));
      if (stop.raised()) return end;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) return end;  // hung up or failed
    const std::span<const std::uint8_t> got(buffer, std::size_t(n));
    if (!job_faults.active()) {
      session.Feed(got);
    } else if (!job_faults.Feed(session, got, end)) {
      return end;
    }
    // A busy printer stops taking bytes at the start of each connection and
    // each new job, so that the host's writes stall.
    bool new_job = session.initialise_count() != initialises_seen;
    initialises_seen = session.initialise_count();
    if (busy_ms > 0 && (first_bytes || new_job)) {
      WaitFor(-1, 0, stop, busy_ms);
      if (stop.raised()) return end;
    }
    first_bytes = false;
  }
}

}  // namespace inkmark::vprinter
