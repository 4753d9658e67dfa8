// The logo-document file: a 64-byte header, then text and image objects back
// to back, all fields little-endian and unaligned. Shared by the reader, the
// composition and the document writer, so it holds no code beyond field access.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "document/text_limit.h"
#include "picture/picture_bytes.h"

namespace inkmark {

inline constexpr std::string_view kDocumentMagic = "QUORVELINKMARKIMV100";
inline constexpr std::size_t kDocumentHeaderSize = 64;
inline constexpr std::size_t kDocOffPageWidth = 20;
inline constexpr std::size_t kDocOffPageHeight = 22;
inline constexpr std::size_t kDocOffTextBytes = 40;
inline constexpr std::size_t kDocOffImageBytes = 44;

inline constexpr std::uint16_t kTextObject = 0x8010;
inline constexpr std::uint16_t kImageObject = 0x8018;

// The object header, at the start of every object.
inline constexpr std::size_t kObjectHeaderSize = 40;
inline constexpr std::size_t kObjOffKind = 0;
inline constexpr std::size_t kObjOffLeft = 2;
inline constexpr std::size_t kObjOffTop = 6;
inline constexpr std::size_t kObjOffRight = 10;
inline constexpr std::size_t kObjOffBottom = 14;
inline constexpr std::size_t kObjOffTransparent = 18;
inline constexpr std::size_t kObjOffTextColor = 36;

// A text object: the header, then the font description, the length and the text.
inline constexpr std::size_t kTextObjectSize = 143;
inline constexpr std::size_t kFontDescriptionSize = 60;
inline constexpr std::size_t kFaceNameSize = 32;
inline constexpr std::size_t kTextRecordSize = kTextObjectSize - kObjectHeaderSize;  // 103
inline constexpr std::size_t kTextOffLength = kFontDescriptionSize;                  // 60
inline constexpr std::size_t kTextOffText = kTextOffLength + 2;                      // 62
inline constexpr std::size_t kTextFieldSize = kMaxTextBytes + 1;  // NUL-terminated

// An image object: the header, the 32-bit length n, then n bytes of bitmap file.
inline constexpr std::size_t kImageObjectFixedSize = 44;

struct DocumentHeader {
  std::uint16_t page_width = 0;
  std::uint16_t page_height = 0;
  std::uint32_t text_bytes = 0;
  std::uint32_t image_bytes = 0;
};

// The platform's logical-font record, field for field.
struct FontDescription {
  std::int32_t height = 0;  // negative: character height; positive: cell height
  std::int32_t width = 0;
  std::int32_t escapement = 0;  // tenths of a degree, counter-clockwise
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strike_out = 0;
  std::uint8_t char_set = 0;
  std::uint8_t out_precision = 0;
  std::uint8_t clip_precision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitch_and_family = 0;
  std::array<char, kFaceNameSize> face_name{};
};

struct ObjectHeader {
  std::uint16_t kind = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::uint16_t transparent = 0;
  std::int32_t text_color = 0;
};

struct TextRecord {
  FontDescription font;
  std::uint16_t text_length = 0;
  std::array<std::uint8_t, kTextFieldSize> text{};
};

// The header fields this system reads; nullopt when fewer than 64 bytes are given.
inline std::optional<DocumentHeader> ReadDocumentHeader(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  if (!r.Has(0, kDocumentHeaderSize)) return std::nullopt;
  return DocumentHeader{*r.U16(kDocOffPageWidth), *r.U16(kDocOffPageHeight),
                        *r.U32(kDocOffTextBytes), *r.U32(kDocOffImageBytes)};
}

// True when the first 20 bytes spell the magic exactly (letter case included).
inline bool HasDocumentMagic(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kDocumentMagic.size()) return false;
  for (std::size_t i = 0; i < kDocumentMagic.size(); ++i) {
    if (bytes[i] != static_cast<std::uint8_t>(kDocumentMagic[i])) return false;
  }
  return true;
}

// The object header at `offset` of the document data; nullopt past the end.
inline std::optional<ObjectHeader> ReadObjectHeader(std::span<const std::uint8_t> data,
                                                    std::size_t offset) {
  ByteReader r(data);
  if (!r.Has(offset, kObjectHeaderSize)) return std::nullopt;
  return ObjectHeader{*r.U16(offset + kObjOffKind),     *r.I32(offset + kObjOffLeft),
                      *r.I32(offset + kObjOffTop),      *r.I32(offset + kObjOffRight),
                      *r.I32(offset + kObjOffBottom),   *r.U16(offset + kObjOffTransparent),
                      *r.I32(offset + kObjOffTextColor)};
}

// The 103-byte text record at `offset`; nullopt past the end. The text field is
// always NUL-terminated here, whatever its last stored byte is.
inline std::optional<TextRecord> ReadTextRecord(std::span<const std::uint8_t> data,
                                                std::size_t offset) {
  ByteReader r(data);
  if (!r.Has(offset, kTextRecordSize)) return std::nullopt;
  TextRecord t;
  FontDescription& f = t.font;
  f.height = *r.I32(offset);
  f.width = *r.I32(offset + 4);
  f.escapement = *r.I32(offset + 8);
  f.orientation = *r.I32(offset + 12);
  f.weight = *r.I32(offset + 16);
  f.italic = data[offset + 20];
  f.underline = data[offset + 21];
  f.strike_out = data[offset + 22];
  f.char_set = data[offset + 23];
  f.out_precision = data[offset + 24];
  f.clip_precision = data[offset + 25];
  f.quality = data[offset + 26];
  f.pitch_and_family = data[offset + 27];
  for (std::size_t i = 0; i < kFaceNameSize; ++i) {
    f.face_name[i] = static_cast<char>(data[offset + 28 + i]);
  }
  f.face_name[kFaceNameSize - 1] = '\0';
  t.text_length = *r.U16(offset + kTextOffLength);
  for (std::size_t i = 0; i < kTextFieldSize; ++i) t.text[i] = data[offset + kTextOffText + i];
  t.text[kTextFieldSize - 1] = 0;
  return t;
}

}  // namespace inkmark
