#include "nv_memory.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "command_decode.h"

namespace inkmark::vprinter {

namespace {
constexpr std::string_view kFileTag = "INKMARK-VPRINTER-NV 1\n";
}

DefineResult NvMemory::Define(const NvKey& key, Graphics g) {
  std::uint64_t freed = 0;
  auto it = entries_.find(key);
  if (it != entries_.end()) freed = Charge(it->second);
  std::uint64_t need = Charge(g);
  if (need > remaining() + freed) return DefineResult::kNoRoom;
  used_ = used_ - freed + need;
  entries_[key] = std::move(g);
  return DefineResult::kStored;
}

bool NvMemory::Delete(const NvKey& key) {
  auto it = entries_.find(key);
  if (it == entries_.end()) return false;
  used_ -= Charge(it->second);
  entries_.erase(it);
  return true;
}

const Graphics* NvMemory::Find(const NvKey& key) const {
  auto it = entries_.find(key);
  return it == entries_.end() ? nullptr : &it->second;
}

std::vector<NvKey> NvMemory::Keys() const {
  std::vector<NvKey> keys;
  for (const auto& [key, g] : entries_) keys.push_back(key);
  return keys;
}

std::vector<std::uint8_t> NvMemory::Serialize() const {
  std::vector<std::uint8_t> out(kFileTag.begin(), kFileTag.end());
  for (const auto& [key, g] : entries_) {
    auto command = EncodeDefine(key, g);
    out.insert(out.end(), command.begin(), command.end());
  }
  return out;
}

std::optional<std::string> NvMemory::Load(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFileTag.size() ||
      !std::equal(kFileTag.begin(), kFileTag.end(), bytes.begin())) {
    return "not an NV memory file";
  }
  CommandParser parser;
  std::string problem;
  int dropped = 0;
  parser.Feed(bytes.subspan(kFileTag.size()), [&](const Frame& frame) {
    Command c = DecodeFrame(frame);
    if (c.kind != CommandKind::kDefine) {
      problem = "unexpected command in NV memory file";
      return;
    }
    if (Define(c.key, std::move(c.graphics)) == DefineResult::kNoRoom) ++dropped;
  });
  if (!parser.idle()) return "NV memory file cut short";
  if (parser.skipped_bytes() != 0 && problem.empty()) problem = "stray bytes in NV memory file";
  if (dropped > 0 && problem.empty()) {
    problem = std::to_string(dropped) + " graphics did not fit the capacity and were left out";
  }
  if (problem.empty()) return std::nullopt;
  return problem;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += std::size_t(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace inkmark::vprinter
