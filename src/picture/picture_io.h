// Whole-file reading and writing, used for every picture and temporary file of
// the image pipeline, and the input the streaming decoders read in pieces.
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

// A picture file's bytes as a streaming decoder takes them, piece by piece:
// from memory, or from an open file through a buffer, so that a large file is
// never held whole.
class PictureInput {
 public:
  // The bytes in memory, or when `fd` is 0 or more, the open file read from its
  // current position.
  void Set(std::span<const std::uint8_t> bytes, int fd);
  // Copies `count` bytes to `out`; false when the file ends first or cannot be
  // read (ReadErrno() then tells why, 0 at the end).
  bool Take(std::uint8_t* out, std::size_t count);
  int ReadErrno() const { return read_errno_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  int fd_ = -1;
  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  int read_errno_ = 0;
};

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
