// A temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
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
  std::filesystem::path Write(std::string_view name, std::span<const std::uint8_t> bytes) const {
    return Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  // Writes `contents` to `path`, creating its folders.
  static void WriteFile(const std::filesystem::path& path, std::string_view contents);

 private:
  std::filesystem::path path_;
};

// Reads a whole file; "" when it cannot be read.
std::string ReadFileText(const std::filesystem::path& path);

}  // namespace inkmark::testing
