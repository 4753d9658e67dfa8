// PortDriver: the one abstract printer port. Every printer operation opens a
// port of the kind its profile names, talks through it and closes it again.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/failure.h"
#include "platform/unique_fd.h"

namespace inkmark {

// Platform error codes a device write reports when the printer takes nothing.
inline constexpr std::uint32_t kErrorBusy = 170;
inline constexpr std::uint32_t kErrorCounterTimeout = 1121;

// Platform error code of a write that the caller stopped part-way.
inline constexpr std::uint32_t kErrorCancelled = 1223;
// A write that waits for the device asks `write_waiting` at least this often.
inline constexpr std::uint32_t kWriteWaitReportMs = 100;

// Result of `reset` for a kind that has no reset of its own.
inline constexpr std::int32_t kResetUnsupported = -3;

// Names hold at most 63 characters.
inline constexpr std::size_t kMaxPortName = 63;

// The line counts as quiet once nothing has come for this long.
inline constexpr std::uint32_t kQuietLineMs = 50;
// A printer that keeps sending for this long, or this much, is not going to
// fall quiet: the request is not made.
inline constexpr std::uint32_t kDiscardLimitMs = 1000;
inline constexpr std::uint32_t kDiscardLimitBytes = 65536;

class PortDriver {
 public:
  explicit PortDriver(std::string port_name);
  // Frees the port and any descriptor still held, without the closing sequence:
  // callers call `close` first.
  virtual ~PortDriver();
  PortDriver(const PortDriver&) = delete;
  PortDriver& operator=(const PortDriver&) = delete;

  // The operations, in their slot order. A failure says why: the code for the
  // caller, the detail for the user.
  virtual Status open() = 0;
  // Refused with kOutputLost when bytes written were thrown away unsent.
  virtual Status close() = 0;
  // Writes between the two form one document; 1 when the job started.
  virtual std::int32_t beginJob();
  virtual void endJob();
  // Whether the device reports ready.
  virtual std::int32_t status();
  // Pulses or resets the device.
  virtual std::int32_t reset();
  // One read attempt; ok when all `length` bytes came.
  virtual Status read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) = 0;
  // Reads until `length` bytes came, or refuses (kTimedOut) once `timeout_ms` ran out.
  virtual Status readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) = 0;
  // Writes all bytes; ok when all went out.
  virtual Status write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                       std::uint32_t& errors) = 0;
  // Drops pending input until nothing has come for kQuietLineMs, so that a
  // reply an earlier request gave up on is not taken for the next one's. The
  // number of bytes dropped; refused when the line did not fall quiet within
  // kDiscardLimitMs and kDiscardLimitBytes, or hung up.
  virtual Result<std::uint32_t> discardInput() { return 0u; }
  // Bytes per second the line carries, for the time a reply may take; 0 when
  // the line's speed is not what limits it.
  virtual std::uint32_t bytesPerSecond() const { return 0; }
  // Bytes written that the driver still holds, not yet on the line or not yet
  // acknowledged by the printer; nullopt when the device cannot tell.
  virtual std::optional<std::uint32_t> outputQueued() { return std::nullopt; }

  // Asked at least every kWriteWaitReportMs while a write waits for the
  // device to take more, with the bytes that write has handed over so far, so
  // that a slow line neither freezes whoever shows the progress nor keeps the
  // user from stopping it. False stops the write, refused with kErrorCancelled.
  std::function<bool(std::uint32_t handed)> write_waiting;

  std::uint32_t timeout_ms = 3000;
  // The device's communication time-outs, in milliseconds.
  std::uint32_t read_interval_timeout = 1;
  std::uint32_t read_total_timeout_multiplier = 0;
  std::uint32_t read_total_timeout_constant = 1;
  std::uint32_t write_total_timeout_multiplier = 1;
  std::uint32_t write_total_timeout_constant = 2000;
  // Error of the last failed `read`.
  std::uint32_t last_comm_errors = 0;
  // Set by `close` when written bytes the printer had not taken yet were
  // thrown away: whatever they belonged to did not reach the printer whole.
  bool output_lost = false;
  std::string name;
  // The open device; invalid while closed.
  UniqueFd handle;
};

}  // namespace inkmark
