#include "windows/file_dialogs.h"

#include "platform/text.h"
#include "settings/printer_files.h"

namespace inkmark {
namespace {

// The parts SplitList leaves in `buffer`, each ended by a NUL, until an empty one.
std::vector<std::string> SplitParts(std::string_view text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(buffer.size() + 2, '\0');
  std::vector<char*> tokens(buffer.size());
  SplitList(buffer.data(), tokens);
  std::vector<std::string> parts;
  for (std::size_t at = 0; at < buffer.size() && buffer[at] != '\0';) {
    std::string part(&buffer[at]);
    at += part.size() + 1;
    parts.push_back(std::move(part));
  }
  return parts;
}

std::string_view FileName(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<FileType> FileTypesFromText(std::string_view text) {
  std::vector<std::string> parts = SplitParts(text);
  std::vector<FileType> types;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) types.push_back({parts[i], parts[i + 1]});
  return types;
}

std::vector<std::string> ExtensionsFromText(std::string_view text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  std::vector<char*> tokens(buffer.size());
  int count = SplitList(buffer.data(), tokens);
  std::vector<std::string> extensions;
  for (int i = 0; i < count && std::size_t(i) < tokens.size(); ++i)
    extensions.emplace_back(tokens[std::size_t(i)]);
  return extensions;
}

bool HasExtension(std::string_view path) {
  return FileName(path).find('.') != std::string_view::npos;
}

bool HasAllowedExtension(std::string_view path, const std::vector<std::string>& allowed) {
  std::string_view name = FileName(path);
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string_view extension = name.substr(dot + 1);
  for (const std::string& e : allowed)
    if (EqualsNoCase(extension, e)) return true;
  return false;
}

DialogStart StartFromSourcePath(std::string_view source_path, std::string_view current_folder) {
  std::size_t slash = source_path.rfind('/');
  if (slash == std::string_view::npos)
    return {std::string(current_folder), std::string(source_path)};
  // The root keeps its separator.
  std::string folder(source_path.substr(0, slash == 0 ? 1 : slash));
  return {std::move(folder), std::string(source_path.substr(slash + 1))};
}

}  // namespace inkmark
