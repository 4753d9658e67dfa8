#include "editor/editor_text.h"

#include <cstring>

#include "document/text_item_font.h"
#include "document/text_limit.h"
#include "editor/editor_document.h"
#include "platform/code_page.h"

namespace inkmark {
namespace {

constexpr std::int32_t kWeightNormal = 400;
constexpr std::int32_t kWeightBold = 700;

bool StyleInRange(const TextStyle& style) {
  return style.size >= 1 && style.size <= kMaxTextSize && style.rotation >= 0 &&
         style.rotation < 360 && style.color >= 0 && style.color <= 0xFFFFFF;
}

void ApplyStyle(DocumentObject& object, const TextStyle& style) {
  FontDescription& f = object.font;
  f = FontDescription{};
  f.height = -style.size;
  f.escapement = style.rotation * 10;
  f.orientation = f.escapement;
  f.weight = style.bold ? kWeightBold : kWeightNormal;
  f.italic = style.italic ? 1 : 0;
  f.underline = style.underline ? 1 : 0;
  f.strike_out = style.strike_out ? 1 : 0;
  f.char_set = style.char_set;
  // The face name is stored in the code page of the font's character set too.
  const std::string face = EncodeItemText(style.face, style.char_set).value_or("Arial");
  for (std::size_t i = 0; i < face.size() && i + 1 < kFaceNameSize; ++i) f.face_name[i] = face[i];
  object.text_color = style.color;
}

}  // namespace

std::optional<std::string> EncodeItemText(const QString& text, std::uint8_t char_set) {
  return EncodeTextItem(text, CodePageOfCharset(char_set)).ToOptional();
}

QString DecodeItemText(const std::string& bytes, std::uint8_t char_set) {
  QString text;
  const std::span<const std::uint8_t> raw(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                          bytes.size());
  for (const QString& c : SplitTextCharacters(raw, CodePageOfCharset(char_set))) text += c;
  return text;
}

std::optional<DocumentObject> MakeTextObject(std::int32_t left, std::int32_t bottom,
                                             const QString& text, const TextStyle& style) {
  DocumentObject object;
  object.kind = kTextObject;
  object.left = object.right = left;
  object.top = object.bottom = bottom;
  return RestyleText(object, text, style);
}

TextStyle StyleOf(const DocumentObject& object) {
  const FontDescription& f = object.font;
  TextStyle style;
  const std::string face(f.face_name.data(), strnlen(f.face_name.data(), kFaceNameSize));
  style.face = DecodeItemText(face, f.char_set);
  style.size = f.height < 0 ? -f.height : f.height;
  style.bold = f.weight >= 600;
  style.italic = f.italic != 0;
  style.underline = f.underline != 0;
  style.strike_out = f.strike_out != 0;
  // Escapements outside 0-359 degrees read as the turn they draw.
  style.rotation = ((f.escapement / 10) % 360 + 360) % 360;
  style.color = object.text_color & 0xFFFFFF;
  style.char_set = f.char_set;
  return style;
}

std::optional<DocumentObject> RestyleText(const DocumentObject& object, const QString& text,
                                          const TextStyle& style) {
  if (object.kind != kTextObject || !StyleInRange(style)) return std::nullopt;
  auto bytes = EncodeItemText(text, style.char_set);
  if (!bytes) return std::nullopt;
  DocumentObject out = object;
  out.text = std::move(*bytes);
  ApplyStyle(out, style);
  StoreTextExtent(out);
  return out;
}

}  // namespace inkmark
