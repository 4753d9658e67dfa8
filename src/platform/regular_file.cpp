#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace inkmark {

Result<UniqueFd> OpenRegularFile(const std::filesystem::path& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd) return {FailureCode::kCannotOpen, std::strerror(errno)};
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return {FailureCode::kCannotOpen, std::strerror(errno)};
  if (!S_ISREG(st.st_mode)) return {FailureCode::kNotRegularFile, "not a regular file"};
  return fd;
}

Result<std::string> ReadRegularFile(const std::filesystem::path& path, std::size_t limit) {
  auto fd = OpenRegularFile(path);
  if (!fd) return fd.failure();
  std::string text;
  char buffer[1 << 14];
  while (text.size() < limit) {
    const ssize_t n = ::read(fd->get(), buffer, std::min(sizeof buffer, limit - text.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return {FailureCode::kCannotOpen, std::strerror(errno)};
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

}  // namespace inkmark
