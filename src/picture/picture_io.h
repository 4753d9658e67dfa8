// Whole-file reading and writing, used for every picture and temporary file of
// the image pipeline.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/failure.h"

namespace inkmark {

// Larger files are refused rather than read: no picture this tool handles
// comes near it, and a bigger read would only exhaust memory.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{256} << 20;

// Closes the descriptor on every path.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = other.fd_;
      other.fd_ = -1;
    }
    return *this;
  }
  int get() const { return fd_; }
  // Closes now, so that a failing close (a full disk on some file systems) is seen.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The file opened for reading, without waiting: a FIFO would block the open
// itself, a terminal would become ours. Refused like ReadWholeFile when it
// cannot be opened or is not a regular file; the size is not limited here.
Result<FileDescriptor> OpenPictureFile(const std::string& path);

// The whole file. Refused when the path is empty, the file cannot be opened or
// read (kCannotOpen), is not a regular file (kNotRegularFile: it is opened
// without waiting, so a FIFO or device never blocks), or is larger than
// kMaxPictureFileBytes (kTooLarge).
Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// Creates or truncates the file and writes the bytes; an empty path writes
// nothing. True when every byte was written.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

// As WriteWholeFile, but for a file in the private temporary directory: never
// follows a link planted under the name, and creates the file with mode 0600.
bool WriteTempFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace inkmark
