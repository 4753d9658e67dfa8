// The state that every connection to one virtual printer shares: its NV
// memory (kept in a file when asked) and the pages it has printed.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "graphics.h"
#include "nv_memory.h"
#include "printer_options.h"

namespace inkmark::vprinter {

class VirtualPrinter {
 public:
  explicit VirtualPrinter(PrinterOptions options);
  VirtualPrinter(const VirtualPrinter&) = delete;
  VirtualPrinter& operator=(const VirtualPrinter&) = delete;

  const PrinterOptions& options() const { return options_; }

  // Reads the NV memory file when one is set and exists; nullopt when all is
  // well, else what went wrong (the memory then holds what could be read).
  std::optional<std::string> LoadNvFile();

  DefineResult Define(const NvKey& key, Graphics g);
  bool Delete(const NvKey& key);
  std::optional<Graphics> Find(const NvKey& key) const;
  std::vector<NvKey> Keys() const;
  std::uint64_t Remaining() const;
  std::uint64_t Used() const;

  // The NV memory as it is now, to put back with RestoreNv.
  std::vector<std::uint8_t> SnapshotNv() const;
  // Puts back the NV memory of a snapshot (and its file, when there is one).
  void RestoreNv(std::span<const std::uint8_t> snapshot);

  // Prints a picture: keeps it (the latest ones) for inspection and, with an
  // output folder, writes it there as "<prefix>-NNNN.png". Returns the file
  // written, or an empty path.
  std::filesystem::path Print(const Picture& picture, const std::string& prefix = "page");
  std::vector<Picture> Printed() const;
  std::vector<std::filesystem::path> PrintedFiles() const;

  void Log(const std::string& line) const;

 private:
  void SaveNvLocked();

  PrinterOptions options_;
  mutable std::mutex mutex_;
  NvMemory nv_;
  std::deque<Picture> printed_;
  std::size_t kept_dots_ = 0;
  std::deque<std::filesystem::path> printed_files_;
  std::map<std::string, int> next_number_;
};

}  // namespace inkmark::vprinter
