// The device port: a printer reached through a device file opened by name. It
// copes with slow and busy printers: writes go out in chunks and ask the user
// whether to retry while the printer stays busy, and timed reads wait longer
// each time a printer is slow to answer.
#pragma once

#include <cstdint>
#include <string>

#include "ports/port_driver.h"

namespace inkmark {

inline constexpr std::uint32_t kWriteChunkBytes = 4096;
// How long a printer may take nothing before the user is asked.
inline constexpr std::uint64_t kBusyQuestionMs = 15000;
inline constexpr char kBusyQuestion[] = "Printer is busy. Would you retry?";
inline constexpr char kBusyCaption[] = "Inquiry";
// After the last byte has left, how long a line that is going to hang up may
// take to show it: a printer that drops the line at the end of a job did not
// take the whole job.
inline constexpr std::uint32_t kHangUpSettleMs = 100;

class DevicePort : public PortDriver {
 public:
  using PortDriver::PortDriver;

  // Opens the device `name` maps to, exclusively, discards stale input and
  // applies the time-outs.
  Status open() override;
  // Lets queued output go out for as long as the line keeps sending it,
  // discards unread input and closes the device. Output still queued once the
  // line has sent nothing for the write time-out is dropped, and `output_lost`
  // says so; so does a line that hangs up before or just after its last byte
  // left (refused with kHungUp).
  Status close() override;
  Status read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  Status readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  Status write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
               std::uint32_t& errors) override;
  Result<std::uint32_t> discardInput() override;
  // The driver's output queue (TIOCOUTQ on a terminal line; on a socket the
  // same request is SIOCOUTQ: bytes the printer has not acknowledged yet).
  std::optional<std::uint32_t> outputQueued() override;

 protected:
  // The outcome of one device transfer: bytes moved even when it failed.
  struct Transfer {
    bool ok = true;
    std::uint32_t count = 0;
    std::uint32_t error = 0;
  };

  // Waits while queued output keeps leaving; false, with `output_lost` set,
  // when it stopped leaving before the queue emptied or the line hung up.
  bool drainOutput();
  // How long a drain waits for a queue that does not shrink: as long as one
  // chunk's write may take, so that a printer's short pause is not a failure.
  std::uint32_t drainStallMs() const;
  // Waits up to `ms` for the line to hang up; true when it did (`hung_up_` set).
  bool hangsUp(std::uint32_t ms);
  // The poll flags besides POLLHUP and POLLERR that say the line went away.
  virtual short hangUpEvents() const { return 0; }
  // The port's name as a sentence shows it: "COM1", "tcp://host:9100".
  std::string label() const;
  // What a close that lost output, or not, reports.
  Status closed() const;
  // When the printer last took bytes, on the port clock; a write asks the
  // user once kBusyQuestionMs have passed since.
  std::uint64_t last_taken_ms_ = 0;
  // Bytes the write in progress handed over before its current chunk.
  std::uint32_t handed_ = 0;
  bool hung_up_ = false;
  // The failure of a transfer that ended with `error`.
  Status transferFailure(std::uint32_t error, const char* what) const;
  // Sets the five time-outs, the read constant from the shared `read_constant_ms`.
  void applyTimeouts();
  // One read as the time-outs allow: up to `read_total_timeout_constant` for the
  // first byte, then more while bytes keep coming within `read_interval_timeout`.
  Transfer readDevice(std::uint8_t* buffer, std::uint32_t length);
  // One write that may take `write_total_timeout_constant` + n ·
  // `write_total_timeout_multiplier` ms, but ends when the busy question is
  // due; a device that will not take the rest in that time fails busy. While
  // it waits it asks `write_waiting`, and stops (kErrorCancelled) when told to.
  virtual Transfer writeDevice(const std::uint8_t* buffer, std::uint32_t length);
  // Hands bytes to the device as write(2) does.
  virtual std::int64_t writeSome(const std::uint8_t* buffer, std::uint32_t length);
  // Whether the printer's handshake lets bytes go out now.
  virtual bool readyToSend() { return true; }
  // How many bytes the next device write may hand over; 0 holds it back.
  virtual std::uint32_t sendAllowance() { return UINT32_MAX; }
};

}  // namespace inkmark
