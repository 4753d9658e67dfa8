// An NV key as the program holds it: the two key characters and a NUL, so
// that it can be shown in a list and put into messages as text.
#pragma once

#include <array>
#include <cstdint>

namespace inkmark {

using NvKey = std::array<char, 3>;

inline constexpr NvKey MakeNvKey(char kc1, char kc2) { return {kc1, kc2, '\0'}; }

// Key bytes are printable ASCII, 0x20 to 0x7E.
inline constexpr bool IsNvKeyByte(std::uint8_t b) { return b >= 0x20 && b <= 0x7E; }

}  // namespace inkmark
