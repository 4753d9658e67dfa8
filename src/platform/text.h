// Text helpers for names read from printer files, settings and command lines,
// which are compared without regard to ASCII letter case.
#pragma once

#include <string_view>

namespace inkmark {

// Compares two texts without regard to ASCII letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Whether `text` begins with `prefix`, without regard to ASCII letter case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace inkmark
