// What a virtual printer is set up with: its memory, its output and the faults
// it plays for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace inkmark::vprinter {

struct FaultOptions {
  int reply_delay_ms = 0;   // wait before every reply
  bool no_reply = false;    // never answer a request
  int garbage = 0;          // bytes sent before every reply
  int busy_ms = 0;          // stop reading for this long after a connection's first bytes
  bool bad_blocks = false;  // the last key-list block carries a wrong identifier
  // Bytes of a job are counted from the initialise command that starts it.
  // After stall_after bytes of a job, stop reading for stall_ms (0: never).
  std::uint64_t stall_after = 0;
  int stall_ms = 0;
  // After this many bytes of a job, drop the line, NV memory as it was before the job.
  std::optional<std::uint64_t> drop_after = std::nullopt;
  // Every reply loses its byte at this position, counted from 0.
  std::optional<std::size_t> lose_byte = std::nullopt;
  // Every reply breaks off after this many bytes; the rest never comes.
  std::optional<std::size_t> break_after = std::nullopt;
  // Reply bytes come one at a time, this many milliseconds apart (0: at once).
  int drip_ms = 0;
  // The last block of the first key list comes this much later than it
  // would (0: on time), after any host that asked for it has given up.
  int late_block_ms = 0;
};

inline constexpr std::uint64_t kDefaultCapacity = 393216;
inline constexpr int kDefaultKeysPerBlock = 20;

struct PrinterOptions {
  std::uint64_t capacity = kDefaultCapacity;
  int keys_per_block = kDefaultKeysPerBlock;
  std::filesystem::path out_dir;  // empty: printed pages are kept in memory only
  std::filesystem::path nv_file;  // empty: NV memory lasts as long as the printer
  std::uint32_t first_ink_rgb = 0x000000;
  std::uint32_t second_ink_rgb = 0xFF0000;
  bool render_defines = false;         // also print every graphics as it is defined
  std::uint32_t bytes_per_second = 0;  // the line's pace; 0 reads as fast as bytes come
  FaultOptions faults;
  std::function<void(const std::string&)> log;  // one line per event; may be empty
};

}  // namespace inkmark::vprinter
