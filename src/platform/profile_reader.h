// Reader for INI-style profile files, with the semantics printer files are
// written for: section and key names compared without regard to case, the first
// matching key wins, blanks around the value removed, a value wrapped in
// matching quotes unwrapped, at most 255 characters kept, an absent key "".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace inkmark {

inline constexpr std::size_t kMaxProfileValue = 255;
// Larger files are not profile files; reading stops here.
inline constexpr std::size_t kMaxProfileFileBytes = 1 << 20;

class ProfileFile {
 public:
  // The parsed file, or nullopt when it cannot be opened or read.
  static std::optional<ProfileFile> Read(const std::filesystem::path& path);
  static ProfileFile Parse(std::string_view text);

  // The value of `key` in `section`, or "" when either is absent.
  std::string Get(std::string_view section, std::string_view key) const;

 private:
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };
  std::vector<Entry> entries_;
};

}  // namespace inkmark
