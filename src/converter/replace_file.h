// Writing a file so that it is either replaced whole or left as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace inkmark::converter {

// Writes the bytes to a new file beside `path` and renames it over `path`.
// On failure the temporary file is removed and `path` is unchanged.
bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace inkmark::converter
