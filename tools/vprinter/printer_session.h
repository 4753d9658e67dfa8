// One connection's side of the protocol: reads commands from the host's bytes,
// acts on the shared printer and writes the replies.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "command_decode.h"
#include "command_parser.h"
#include "virtual_printer.h"

namespace inkmark::vprinter {

inline constexpr std::uint8_t kDefaultDensity = 0x32;

class PrinterSession {
 public:
  // Writes reply bytes to the host; false when they could not be sent.
  using Writer = std::function<bool(std::span<const std::uint8_t>)>;
  // Waits the given milliseconds; false when the printer is stopping meanwhile.
  using Waiter = std::function<bool(int ms)>;

  PrinterSession(VirtualPrinter& printer, Writer writer, Waiter waiter = {});

  void Feed(std::span<const std::uint8_t> bytes);

  std::uint8_t density() const { return density_; }
  bool awaiting_acknowledge() const { return key_list_.has_value(); }
  std::uint64_t skipped_bytes() const { return parser_.skipped_bytes(); }
  // How many initialise commands have arrived: each one starts a new job.
  std::uint64_t initialise_count() const { return initialise_count_; }

 private:
  void Handle(Command command);
  void StartKeyList();
  void SendNextKeyBlock();
  void StorePrintBuffer(const Command& command);
  void Reply(std::vector<std::uint8_t> bytes, bool late = false);
  bool Wait(int ms);

  VirtualPrinter& printer_;
  Writer writer_;
  Waiter waiter_;
  bool first_list_done_ = false;
  CommandParser parser_;
  std::uint8_t density_ = kDefaultDensity;
  std::uint64_t initialise_count_ = 0;
  std::optional<Picture> print_buffer_;

  struct KeyListInProgress {
    std::vector<NvKey> keys;
    std::size_t next = 0;
  };
  // Set while blocks remain to be sent after the host's acknowledgement.
  std::optional<KeyListInProgress> key_list_;
};

}  // namespace inkmark::vprinter
