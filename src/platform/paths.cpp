#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace inkmark {

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

std::optional<std::filesystem::path> PrivateTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::filesystem::path dir = (base && *base) ? base : "/tmp";
  dir /= "inkmark-" + std::to_string(::getuid());
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  // lstat, so that a link planted under our name is refused rather than followed.
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0) return std::nullopt;
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return std::nullopt;
  if ((st.st_mode & 0077) != 0) return std::nullopt;
  return dir;
}

}  // namespace inkmark
