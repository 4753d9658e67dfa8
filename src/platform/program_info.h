// --help and --version of the windowed programs, answered before the window
// system is touched: a user asking either wants no window, and may have no
// display at all.
#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

namespace inkmark {

// When an argument after the program name is "--help" or "--version" (the
// first of them counts), writes the usage text or "<program> <version>" to
// `out` and returns the exit status: 0, or 1 when the text could not be
// written. Otherwise nullopt, and the program starts as usual.
std::optional<int> AnswerInfoRequest(int argc, const char* const* argv, std::string_view program,
                                     std::string_view usage, std::FILE* out = stdout);

}  // namespace inkmark
