// Text items as the user describes them (a face, a size in pixels, styles, a
// turn in degrees, a colour) and as the document stores them (a logical-font
// record and within the text limit, in the code page of its character set).
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "document/document_writer.h"

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

// The text in the code page of the character set; nullopt when a character
// has no code there or the text would pass the text limit (EncodeTextItem).
std::optional<std::string> EncodeItemText(const QString& text, std::uint8_t char_set);

// The stored bytes as the user reads them.
QString DecodeItemText(const std::string& bytes, std::uint8_t char_set);

// A text object anchored with its box's bottom-left corner at (left, bottom);
// nullopt when the text cannot be stored (see EncodeItemText) or the style is
// out of range.
std::optional<DocumentObject> MakeTextObject(std::int32_t left, std::int32_t bottom,
                                             const QString& text, const TextStyle& style);

// The style of a stored text object, as far as the user can set it.
TextStyle StyleOf(const DocumentObject& object);

// The text object restyled and retyped in place, its anchor kept; nullopt as
// for MakeTextObject.
std::optional<DocumentObject> RestyleText(const DocumentObject& object, const QString& text,
                                          const TextStyle& style);

}  // namespace inkmark
