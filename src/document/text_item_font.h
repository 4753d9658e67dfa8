// Fonts and characters of text items: a QFont made from the logical-font
// record, and the text bytes split into characters in the code page of the
// font's character set.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "document/document_format.h"

namespace inkmark {

// The code page of a character set: 128 Shift-JIS (932), 129 Korean (949),
// 134 GBK (936), 136 Big5 (950); every other set reads as 1252.
int CodePageOfCharset(std::uint8_t char_set);

// The font the record describes, never antialiased, so that glyphs are pure
// colours. nullopt when no font can be made of it (a size beyond any page).
std::optional<QFont> MakeItemFont(const FontDescription& font);

// The text's characters in drawing order: a lead byte of the code page and the
// byte after it make one two-byte character. A lead byte in the last place is
// dropped, having no second byte.
std::vector<QString> SplitTextCharacters(std::span<const std::uint8_t> text, int code_page);

// True when the font drawn for `font` is an outline (TrueType or OpenType) face.
bool IsOutlineFont(const QFont& font);

}  // namespace inkmark
