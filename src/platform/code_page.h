// Double-byte code pages: which bytes lead a two-byte character, and texts
// carried between a code page and the user interface's Unicode.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The bytes of `code_page` (1252 or a double-byte page) as Unicode. The five
// bytes 1252 leaves unassigned read as the control characters of the same
// number, as the platform reads them, so that they survive a round trip.
QString DecodeCodePage(std::string_view bytes, int code_page);

// `text` in `code_page`; nullopt when a character has no code there (NUL
// included, which would end the text).
std::optional<std::string> EncodeCodePage(const QString& text, int code_page);

// The bytes `text` takes in `code_page`, a character without a code counted
// as one byte.
std::size_t EncodedLength(const QString& text, int code_page);

}  // namespace inkmark
