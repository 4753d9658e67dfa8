// Double-byte code pages: which bytes lead a two-byte character.
#pragma once

#include <cstdint>

namespace inkmark {

// The system code page of this platform's ANSI texts (Western, single-byte).
inline constexpr int kSystemCodePage = 1252;

// True when `byte` starts a two-byte character in `code_page`
// (932 Shift-JIS, 936 GBK, 949 Korean, 950 Big5); never for single-byte pages.
bool IsDbcsLeadByte(int code_page, std::uint8_t byte);

// The name under which the text converters know a double-byte code page;
// null for the single-byte ones.
const char* CodecNameOf(int code_page);

// Windows-1252 differs from Latin-1 only in 0x80-0x9F: these characters,
// U+FFFD where it has none.
extern const char16_t kCp1252High[32];

}  // namespace inkmark
