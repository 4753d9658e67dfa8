#include "ports/file_port.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/paths.h"

namespace inkmark {

namespace {

const Failure kNoReplies{FailureCode::kUnsupported, "a file gives no replies"};

}  // namespace

Status FilePort::open() {
  // A longer path would have been cut short and name another file.
  if (file_path.empty()) return {FailureCode::kInvalidArgument, "no file name"};
  if (file_path.size() > kMaxPath) {
    return {FailureCode::kInvalidArgument,
            "a file name longer than " + std::to_string(kMaxPath) + " characters"};
  }
  file_handle.reset(::open(file_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!file_handle) return ErrnoFailure(FailureCode::kCannotOpen, file_path, errno);
  return Status();
}

Status FilePort::close() {
  // A close that fails (a full disk on some file systems) loses what was written.
  const bool closed = !file_handle || ::close(file_handle.release()) == 0;
  if (!closed) return ErrnoFailure(FailureCode::kWriteFailed, file_path, errno);
  return Status();
}

Status FilePort::read(std::uint8_t*, std::uint32_t, std::uint32_t& got) {
  got = 0;
  return kNoReplies;
}

Status FilePort::readExact(std::uint8_t*, std::uint32_t, std::uint32_t& got) {
  got = 0;
  return kNoReplies;
}

Status FilePort::write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                       std::uint32_t& errors) {
  written = 0;
  if (!file_handle) return {FailureCode::kWriteFailed, "the file is not open"};
  if (::lseek(file_handle.get(), 0, SEEK_END) < 0) {
    errors = std::uint32_t(errno);
    return ErrnoFailure(FailureCode::kWriteFailed, file_path, errno);
  }
  // The system may take a large write in parts; all of it goes out or the write fails.
  while (written < length) {
    ssize_t n = ::write(file_handle.get(), buffer + written, length - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      errors = n < 0 ? std::uint32_t(errno) : std::uint32_t(EIO);
      return ErrnoFailure(FailureCode::kWriteFailed, file_path, int(errors));
    }
    written += std::uint32_t(n);
  }
  return Status();
}

}  // namespace inkmark
