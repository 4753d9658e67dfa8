// The monitor's own line to a printer: a TCP connection, or a serial or
// parallel device opened by path. Every operation ends by its deadline.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "device_uri.h"
#include "platform/unique_fd.h"
#include "stl_api.h"

namespace inkmark {

using Deadline = std::chrono::steady_clock::time_point;

// A raw reply is over once the printer has been quiet this long.
inline constexpr std::chrono::milliseconds kReplyQuietGap{30};
// A line that sends nothing of its queued output for this long has stalled.
inline constexpr std::chrono::milliseconds kOutputStallTimeout{2000};

class DeviceLink {
 public:
  // Connects or opens; nullptr with `*failure` set when that cannot be done in time.
  static std::unique_ptr<DeviceLink> Open(const DeviceAddress& address, Deadline deadline,
                                          StlResult* failure);

  // Sends every byte, or fails.
  StlResult Send(const std::uint8_t* bytes, std::uint32_t length, Deadline deadline);
  // Whatever the printer says until it falls quiet, at most `room` bytes;
  // fails when nothing came by the deadline.
  StlResult ReceiveRaw(std::uint8_t* buffer, std::uint32_t room, std::uint32_t& got,
                       Deadline deadline);
  // One status block (see StatusBlockFramer), at most `room` bytes.
  StlResult ReceiveStatusBlock(std::uint8_t* buffer, std::uint32_t room, std::uint32_t& got,
                               Deadline deadline);
  // Drops input that nobody asked for yet.
  void DiscardInput();
  // Before the line closes: waits while a device line keeps sending what its
  // driver still holds. kStlOutputDiscarded, with the rest dropped, once it
  // has sent nothing for kOutputStallTimeout.
  StlResult FinishOutput();

 private:
  DeviceLink(UniqueFd fd, bool is_socket) : fd_(std::move(fd)), is_socket_(is_socket) {}
  // Waits until input comes or the deadline passes and takes what is there
  // into `pending_`.
  StlResult Fill(Deadline deadline);

  UniqueFd fd_;
  bool is_socket_;
  // Bytes read from the device and not yet handed out, from `pending_pos_` on.
  std::vector<std::uint8_t> pending_;
  std::size_t pending_pos_ = 0;
};

}  // namespace inkmark
