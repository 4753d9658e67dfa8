#include "platform/shell_utils.h"

#include <filesystem>
#include <string>

namespace inkmark {

int PathExists(std::string_view path) {
  if (path.empty()) return 0;
  std::error_code ec;
  auto status = std::filesystem::symlink_status(std::filesystem::path(std::string(path)), ec);
  return !ec && std::filesystem::exists(status) ? 1 : 0;
}

int IsValidFileName(std::string_view path) {
  auto slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return name.find_first_of("\"*/:;<>?|") == std::string_view::npos ? 1 : 0;
}

}  // namespace inkmark
