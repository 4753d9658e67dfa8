#include "picture/picture_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace inkmark {
namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

bool WriteWithFlags(const std::string& path, std::span<const std::uint8_t> bytes, int flags,
                    mode_t mode) {
  if (path.empty()) return false;
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | flags, mode));
  if (fd.get() < 0) return false;
  bool written = WriteAll(fd.get(), bytes);
  return fd.Close() && written;
}

}  // namespace

Result<FileDescriptor> OpenPictureFile(const std::string& path) {
  if (path.empty()) return {FailureCode::kCannotOpen, "no file name"};
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return {FailureCode::kCannotOpen, std::strerror(errno)};
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return {FailureCode::kCannotOpen, std::strerror(errno)};
  if (!S_ISREG(st.st_mode)) return {FailureCode::kNotRegularFile, "not a regular file"};
  return fd;
}

Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  auto opened = OpenPictureFile(path);
  if (!opened) return opened.failure();
  const FileDescriptor& fd = *opened;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return {FailureCode::kCannotOpen, std::strerror(errno)};
  if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > kMaxPictureFileBytes) {
    return {FailureCode::kTooLarge, std::to_string(st.st_size) + " bytes is more than the " +
                                        std::to_string(kMaxPictureFileBytes >> 20) + " MB limit"};
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return {FailureCode::kCannotOpen, std::strerror(errno)};
    // A file that shrank while being read is unreadable, not short.
    if (n == 0) return {FailureCode::kCannotOpen, "the file shrank while it was read"};
    done += static_cast<std::size_t>(n);
  }
  return bytes;
}

void PictureInput::Set(std::span<const std::uint8_t> bytes, int fd) {
  bytes_ = bytes;
  pos_ = 0;
  fd_ = fd;
  start_ = end_ = 0;
  read_errno_ = 0;
  if (fd >= 0) buffer_.resize(std::size_t{1} << 16);
}

bool PictureInput::Take(std::uint8_t* out, std::size_t count) {
  if (fd_ < 0) {
    if (count > bytes_.size() - pos_) return false;
    std::memcpy(out, bytes_.data() + pos_, count);
    pos_ += count;
    return true;
  }
  while (count > 0) {
    if (start_ == end_) {
      start_ = end_ = 0;
      const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) read_errno_ = errno;
      if (n <= 0) return false;
      end_ = static_cast<std::size_t>(n);
    }
    const std::size_t part = std::min(count, end_ - start_);
    std::memcpy(out, buffer_.data() + start_, part);
    start_ += part;
    out += part;
    count -= part;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  return WriteWithFlags(path, bytes, 0, 0666);
}

bool WriteTempFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  return WriteWithFlags(path, bytes, O_NOFOLLOW, 0600);
}

}  // namespace inkmark
