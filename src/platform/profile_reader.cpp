#include "platform/profile_reader.h"

#include "platform/regular_file.h"
#include "platform/text.h"

namespace inkmark {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<ProfileFile> ProfileFile::Read(const std::filesystem::path& path) {
  // A FIFO under a printer file's name is passed over, not waited on.
  auto text = ReadRegularFile(path, kMaxProfileFileBytes);
  if (!text) return std::nullopt;
  return Parse(*text);
}

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile file;
  std::string section;
  bool in_section = false;
  while (!text.empty()) {
    auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      auto close = line.find(']');
      section = std::string(TrimBlanks(line.substr(1, close == line.npos ? line.npos : close - 1)));
      in_section = true;
      continue;
    }
    auto eq = line.find('=');
    if (!in_section || eq == std::string_view::npos) continue;
    std::string_view value = TrimBlanks(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxProfileValue) value = value.substr(0, kMaxProfileValue);
    file.entries_.push_back(
        {section, std::string(TrimBlanks(line.substr(0, eq))), std::string(value)});
  }
  return file;
}

std::string ProfileFile::Get(std::string_view section, std::string_view key) const {
  for (const auto& e : entries_) {
    if (EqualsNoCase(e.section, section) && EqualsNoCase(e.key, key)) return e.value;
  }
  return {};
}

}  // namespace inkmark
