// The editor's command line: "-w<width> -sub" for a blank page of that width,
// "-f<path> -sub" for an existing document. The path follows -f directly in
// the same argument and may hold blanks. Started by hand or from the desktop,
// a document's path alone opens it and no arguments give a blank page.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace inkmark {

// The width of a blank page when none is asked for, as the tool asks for it.
inline constexpr std::int32_t kDefaultPageWidth = 512;

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
// saying what is wrong with them. At most one of -w, -f and a bare path, -sub
// at most once, nothing else.
std::variant<EditorLaunch, std::string> ParseEditorCommandLine(
    const std::vector<std::string>& args);

// What InkmarkEdit --help prints.
std::string EditorUsage();

}  // namespace inkmark
