#include "converter/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace inkmark::converter {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  bool Close() {
    if (fd_ < 0) return true;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) return false;
  // A fresh name beside the destination, so that the rename stays within one
  // file system; O_EXCL never reuses a file that someone else made.
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string temp =
        path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    Descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (fd.get() < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    bool ok = WriteAll(fd.get(), bytes);
    ok = fd.Close() && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
  }
  return false;
}

}  // namespace inkmark::converter
