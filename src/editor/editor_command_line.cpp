#include "editor/editor_command_line.h"

#include <optional>

#include "editor/editor_document.h"

namespace inkmark {
namespace {

// Decimal digits only, no sign or blanks, and no larger than a page may be.
std::optional<std::int32_t> ParseWidth(const std::string& digits) {
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  std::int32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kMaxPageSide) return std::nullopt;
  return value;
}

// Sets `launch` to open the document at `path`, or says why the path cannot be.
std::optional<std::string> OpenPath(const std::string& path, EditorLaunch& launch) {
  if (path.size() > kMaxEditorPath) {
    return "The document's path is longer than " + std::to_string(kMaxEditorPath) + " characters.";
  }
  if (path.find('\0') != std::string::npos) return std::string("The path is not valid.");
  launch.mode = EditorLaunch::Mode::kOpen;
  launch.path = path;
  return std::nullopt;
}

}  // namespace

std::string EditorUsage() {
  return "usage: InkmarkEdit [DOCUMENT]\n"
         "       InkmarkEdit -w<width> -sub\n"
         "       InkmarkEdit -f<path> -sub\n"
         "Lays out a receipt logo from text and pictures and saves it as a logo\n"
         "document (.qlf).\n"
         "\n"
         "  DOCUMENT    open this logo document; without one, a blank page " +
         std::to_string(kDefaultPageWidth) +
         "\n"
         "              dots wide\n"
         "  -w<width>   a blank page of this width in dots, 1 to " +
         std::to_string(kMaxPageSide) +
         "\n"
         "  -f<path>    the logo document at this path, saved there again; the path\n"
         "              follows -f without a blank and may hold blanks\n"
         "  -sub        started by Inkmark Tool, which waits for the editor to end\n"
         "  --help      show this text\n"
         "  --version   show the version\n";
}

std::variant<EditorLaunch, std::string> ParseEditorCommandLine(
    const std::vector<std::string>& args) {
  EditorLaunch launch;
  bool have_page = false;
  for (const std::string& arg : args) {
    if (arg == "-sub") {
      if (launch.sub) return std::string("-sub is given twice.");
      launch.sub = true;
    } else if (arg.starts_with("-w") || arg.starts_with("-f")) {
      if (have_page) return std::string("Give either -w<width> or -f<path>, once.");
      have_page = true;
      const std::string value = arg.substr(2);
      if (arg[1] == 'w') {
        auto width = ParseWidth(value);
        if (!width) {
          return "The page width \"" + value + "\" is not a number from 1 to " +
                 std::to_string(kMaxPageSide) + ".";
        }
        launch.mode = EditorLaunch::Mode::kNew;
        launch.page_width = *width;
      } else {
        if (value.empty()) return std::string("-f needs the document's path right after it.");
        if (auto error = OpenPath(value, launch)) return *error;
      }
    } else if (!arg.empty() && arg[0] != '-') {
      // A document named on its own, as a file manager or the desktop menu passes it.
      if (have_page) return std::string("Give either -w<width> or -f<path>, once.");
      if (auto error = OpenPath(arg, launch)) return *error;
      have_page = true;
    } else {
      return "Unknown argument \"" + arg + "\".";
    }
  }
  // The tool always names the page; started on its own (from the desktop
  // menu), the editor opens a blank page of the usual width.
  if (!have_page && launch.sub)
    return std::string("Usage: InkmarkEdit -w<width> -sub | -f<path> -sub");
  if (!have_page) launch.page_width = kDefaultPageWidth;
  return launch;
}

}  // namespace inkmark
