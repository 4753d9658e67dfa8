// Text items as the user describes them (a face, a size in pixels, styles, a
// turn in degrees, a colour) and as the document stores them (a logical-font
// record and within the text limit, in the code page of its character set).
#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string>

#include "document/document_writer.h"
#include "platform/failure.h"

namespace inkmark {

struct TextStyle {
  QString face = QStringLiteral("Arial");
  std::int32_t size = 24;  // character height in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  std::int32_t rotation = 0;  // degrees counter-clockwise, 0-359
  std::int32_t color = 0;     // 0x00BBGGRR
  std::uint8_t char_set = 0;  // 0 Western; 128, 129, 134, 136 the double-byte sets
  bool operator==(const TextStyle&) const = default;
};

inline constexpr std::int32_t kMaxTextSize = 1000;

// A character set the user can choose for a text, by the name shown for it.
struct CharSetChoice {
  const char* name;  // English; translated in the context "EditorText"
  std::uint8_t value;
};

// The character sets offered for texts, Western first.
std::span<const CharSetChoice> CharSetChoices();

// The name of a character set in the user's language; the number for one
// that is not offered.
QString CharSetName(std::uint8_t char_set);

// The text in the code page of the character set: kUnsupported when a
// character has no code there, kTextTooLong past the text limit (EncodeTextItem).
Result<std::string> EncodeItemText(const QString& text, std::uint8_t char_set);

// Why a text cannot be stored in `char_set`, in the user's language: the
// character without a code, or the bytes it would take against the limit.
QString TextRefusal(const QString& text, std::uint8_t char_set, const Failure& failure);

// The stored bytes as the user reads them.
QString DecodeItemText(const std::string& bytes, std::uint8_t char_set);

// A text object anchored with its box's bottom-left corner at (left, bottom);
// the failure of EncodeItemText when the text cannot be stored, kInvalidArgument
// when the style is out of range.
Result<DocumentObject> MakeTextObject(std::int32_t left, std::int32_t bottom, const QString& text,
                                      const TextStyle& style);

// The style of a stored text object, as far as the user can set it.
TextStyle StyleOf(const DocumentObject& object);

// The text object restyled and retyped in place, its anchor kept; refused as
// MakeTextObject. A text that reads as stored in an unchanged character set
// keeps its stored bytes, so that sequences the code page cannot read (and
// would store as another character) survive edits of the style and the box.
Result<DocumentObject> RestyleText(const DocumentObject& object, const QString& text,
                                   const TextStyle& style);

}  // namespace inkmark
