// Double-byte code pages: which bytes lead a two-byte character.
#pragma once

#include <cstdint>

namespace inkmark {

// The system code page of this platform's ANSI texts (Western, single-byte).
inline constexpr int kSystemCodePage = 1252;

// True when `byte` starts a two-byte character in `code_page`
// (932 Shift-JIS, 936 GBK, 949 Korean, 950 Big5); never for single-byte pages.
bool IsDbcsLeadByte(int code_page, std::uint8_t byte);

}  // namespace inkmark
