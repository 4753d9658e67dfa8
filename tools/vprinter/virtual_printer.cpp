#include "virtual_printer.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "png_output.h"

namespace inkmark::vprinter {

namespace {
constexpr std::size_t kKeptPictures = 64;
constexpr std::size_t kKeptFileNames = 4096;
constexpr std::uintmax_t kMaxNvFileBytes = std::uintmax_t(1) << 30;
}  // namespace

VirtualPrinter::VirtualPrinter(PrinterOptions options)
    : options_(std::move(options)), nv_(options_.capacity) {}

std::optional<std::string> VirtualPrinter::LoadNvFile() {
  if (options_.nv_file.empty()) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::exists(options_.nv_file, ec)) return std::nullopt;
  auto size = std::filesystem::file_size(options_.nv_file, ec);
  if (ec || size > kMaxNvFileBytes) return "cannot read the NV memory file";
  std::ifstream in(options_.nv_file, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (!in.eof() && in.fail()) return "cannot read the NV memory file";
  std::lock_guard lock(mutex_);
  return nv_.Load(bytes);
}

DefineResult VirtualPrinter::Define(const NvKey& key, Graphics g) {
  std::lock_guard lock(mutex_);
  DefineResult result = nv_.Define(key, std::move(g));
  if (result == DefineResult::kStored) SaveNvLocked();
  return result;
}

bool VirtualPrinter::Delete(const NvKey& key) {
  std::lock_guard lock(mutex_);
  bool deleted = nv_.Delete(key);
  if (deleted) SaveNvLocked();
  return deleted;
}

std::optional<Graphics> VirtualPrinter::Find(const NvKey& key) const {
  std::lock_guard lock(mutex_);
  const Graphics* g = nv_.Find(key);
  if (g == nullptr) return std::nullopt;
  return *g;
}

std::vector<NvKey> VirtualPrinter::Keys() const {
  std::lock_guard lock(mutex_);
  return nv_.Keys();
}

std::uint64_t VirtualPrinter::Remaining() const {
  std::lock_guard lock(mutex_);
  return nv_.remaining();
}

std::uint64_t VirtualPrinter::Used() const {
  std::lock_guard lock(mutex_);
  return nv_.used();
}

std::vector<std::uint8_t> VirtualPrinter::SnapshotNv() const {
  std::lock_guard lock(mutex_);
  return nv_.Serialize();
}

void VirtualPrinter::RestoreNv(std::span<const std::uint8_t> snapshot) {
  std::lock_guard lock(mutex_);
  NvMemory restored(nv_.capacity());
  // A snapshot of this very memory always fits it.
  restored.Load(snapshot);
  nv_ = std::move(restored);
  SaveNvLocked();
}

void VirtualPrinter::SaveNvLocked() {
  if (options_.nv_file.empty()) return;
  if (!WriteFileAtomically(options_.nv_file, nv_.Serialize())) {
    Log("cannot write the NV memory file " + options_.nv_file.string());
  }
}

std::filesystem::path VirtualPrinter::Print(const Picture& picture, const std::string& prefix) {
  std::lock_guard lock(mutex_);
  printed_.push_back(picture);
  kept_dots_ += picture.inks.size();
  // Keep the latest pages only, by count and by size, but always the last one.
  while (printed_.size() > 1 && (printed_.size() > kKeptPictures || kept_dots_ > kMaxPictureDots)) {
    kept_dots_ -= printed_.front().inks.size();
    printed_.pop_front();
  }
  if (options_.out_dir.empty()) return {};
  std::error_code ec;
  std::filesystem::create_directories(options_.out_dir, ec);
  // Numbers go on from files left by an earlier run rather than overwrite them.
  int& number = next_number_[prefix];
  std::filesystem::path path;
  char name[64];
  do {
    ++number;
    std::snprintf(name, sizeof name, "%s-%04d.png", prefix.c_str(), number);
    path = options_.out_dir / name;
  } while (std::filesystem::exists(path, ec));
  if (!SavePicturePng(picture, path, options_.first_ink_rgb, options_.second_ink_rgb)) {
    Log("cannot write " + path.string());
    return {};
  }
  printed_files_.push_back(path);
  if (printed_files_.size() > kKeptFileNames) printed_files_.pop_front();
  return path;
}

std::vector<Picture> VirtualPrinter::Printed() const {
  std::lock_guard lock(mutex_);
  return {printed_.begin(), printed_.end()};
}

std::vector<std::filesystem::path> VirtualPrinter::PrintedFiles() const {
  std::lock_guard lock(mutex_);
  return {printed_files_.begin(), printed_files_.end()};
}

void VirtualPrinter::Log(const std::string& line) const {
  if (options_.log) options_.log(line);
}

}  // namespace inkmark::vprinter
