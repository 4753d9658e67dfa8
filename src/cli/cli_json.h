// Writing the JSON documents of --json: strings escaped, nothing else needed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace inkmark::cli {

// `text` as a JSON string, quotes included. UTF-8 passes through; quotes,
// backslashes and control characters are escaped.
std::string JsonString(std::string_view text);

// A JSON array of strings.
std::string JsonStrings(const std::vector<std::string>& texts);

}  // namespace inkmark::cli
