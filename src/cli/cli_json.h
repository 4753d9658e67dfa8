// Writing the JSON documents of --json, and texts shown on a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace inkmark::cli {

// The length of the well-formed UTF-8 sequence at `at` (1 to 4), or 0 when
// the byte there starts none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// `text` as a JSON string, quotes included, always valid UTF-8. UTF-8 passes
// through; quotes, backslashes and control characters are escaped, and each
// byte that is not part of UTF-8 becomes \u00XX, its Latin-1 character.
std::string JsonString(std::string_view text);

// A JSON array of strings.
std::string JsonStrings(const std::vector<std::string>& texts);

// `text` safe to show on a terminal: each control character (C0, DEL, and
// U+0080 to U+009F) becomes \xHH of its bytes, so no escape sequence from a
// file or a printer reaches the terminal. Newlines stay when `keep_newlines`.
std::string TerminalText(std::string_view text, bool keep_newlines = false);

}  // namespace inkmark::cli
