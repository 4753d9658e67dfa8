// A temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace inkmark::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `contents` to `name` inside the folder and returns its path.
  std::filesystem::path Write(std::string_view name, std::string_view contents) const;
  // Writes `contents` to `path`, creating its folders.
  static void WriteFile(const std::filesystem::path& path, std::string_view contents);

 private:
  std::filesystem::path path_;
};

// Reads a whole file; "" when it cannot be read.
std::string ReadFileText(const std::filesystem::path& path);

}  // namespace inkmark::testing
