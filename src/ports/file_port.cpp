#include "ports/file_port.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"

namespace inkmark {

std::int32_t FilePort::open() {
  // A longer path would have been cut short and name another file.
  if (file_path.empty() || file_path.size() > kMaxPath) return 0;
  file_handle.reset(::open(file_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  return file_handle ? 1 : 0;
}

void FilePort::close() { file_handle.reset(); }

std::int32_t FilePort::read(std::uint8_t*, std::uint32_t, std::uint32_t& got) {
  got = 0;
  return 0;
}

std::int32_t FilePort::readExact(std::uint8_t*, std::uint32_t, std::uint32_t& got) {
  got = 0;
  return 0;
}

std::int32_t FilePort::write(const std::uint8_t* buffer, std::uint32_t length,
                             std::uint32_t& written, std::uint32_t& errors) {
  written = 0;
  if (!file_handle) return 0;
  if (::lseek(file_handle.get(), 0, SEEK_END) < 0) {
    errors = std::uint32_t(errno);
    return 0;
  }
  // The system may take a large write in parts; all of it goes out or the write fails.
  while (written < length) {
    ssize_t n = ::write(file_handle.get(), buffer + written, length - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      errors = n < 0 ? std::uint32_t(errno) : std::uint32_t(EIO);
      return 0;
    }
    written += std::uint32_t(n);
  }
  return 1;
}

}  // namespace inkmark
