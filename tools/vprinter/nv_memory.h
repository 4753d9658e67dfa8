// The printer's NV graphics memory: graphics by key within a fixed capacity.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "graphics.h"

namespace inkmark::vprinter {

// Each stored graphics takes its data plus this much for its directory entry,
// the same allowance the host keeps free beyond the data when it registers.
inline constexpr std::uint64_t kEntryOverhead = 30;

enum class DefineResult { kStored, kNoRoom };

class NvMemory {
 public:
  explicit NvMemory(std::uint64_t capacity) : capacity_(capacity) {}

  std::uint64_t capacity() const { return capacity_; }
  std::uint64_t used() const { return used_; }
  std::uint64_t remaining() const { return capacity_ - used_; }

  static std::uint64_t Charge(const Graphics& g) { return g.DataTotal() + kEntryOverhead; }

  // Stores `g` under `key`, replacing graphics already stored there. Refused,
  // leaving the memory as it was, when it does not fit.
  DefineResult Define(const NvKey& key, Graphics g);
  bool Delete(const NvKey& key);
  const Graphics* Find(const NvKey& key) const;
  // The stored keys in key order.
  std::vector<NvKey> Keys() const;
  std::size_t size() const { return entries_.size(); }

  // The memory as a file: a tag line, then each graphics as its define command.
  std::vector<std::uint8_t> Serialize() const;
  // Fills an empty memory from Serialize's bytes; nullopt on success, else why
  // not. Graphics that do not fit the capacity are left out and reported.
  std::optional<std::string> Load(std::span<const std::uint8_t> bytes);

 private:
  std::uint64_t capacity_;
  std::uint64_t used_ = 0;
  std::map<NvKey, Graphics> entries_;
};

// Writes `bytes` to `path` through a temporary file beside it and a rename, so
// a crash leaves either the old file or the new one.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace inkmark::vprinter
