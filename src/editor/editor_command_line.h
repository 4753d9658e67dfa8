// The editor's command line: "-w<width> -sub" for a blank page of that width,
// "-f<path> -sub" for an existing document. The path follows -f directly in
// the same argument and may hold blanks.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace inkmark {

struct EditorLaunch {
  enum class Mode { kNew, kOpen };
  Mode mode = Mode::kNew;
  std::int32_t page_width = 0;  // kNew
  std::string path;             // kOpen
  bool sub = false;             // started by the tool
};

// Paths keep the platform's limit.
inline constexpr std::size_t kMaxEditorPath = 259;

// The launch the arguments (without the program name) ask for, or a message
// saying what is wrong with them. Exactly one of -w and -f, -sub at most once,
// nothing else.
std::variant<EditorLaunch, std::string> ParseEditorCommandLine(
    const std::vector<std::string>& args);

}  // namespace inkmark
