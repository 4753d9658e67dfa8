#include "editor/editor_text.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstring>

#include "editor/editor_document.h"
#include "image/text_item_font.h"

namespace inkmark {
namespace {

constexpr std::int32_t kWeightNormal = 400;
constexpr std::int32_t kWeightBold = 700;

// Codec names of the double-byte character sets; the Western set is 1252.
const char* CodecOf(std::uint8_t char_set) {
  switch (CodePageOfCharset(char_set)) {
    case 932:
      return "Shift_JIS";
    case 936:
      return "GBK";
    case 949:
      return "windows-949";
    case 950:
      return "Big5";
    default:
      return nullptr;
  }
}

std::optional<std::string> EncodeCp1252(const QString& text) {
  // Windows-1252 is Latin-1 but for 0x80-0x9F, which hold these characters.
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string out;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == 0) return std::nullopt;
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    const char16_t* hit = std::find(std::begin(kHigh), std::end(kHigh), u);
    if (hit == std::end(kHigh)) return std::nullopt;
    out.push_back(static_cast<char>(0x80 + (hit - std::begin(kHigh))));
  }
  return out;
}

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
  std::optional<std::string> out;
  if (const char* codec = CodecOf(char_set)) {
    QStringEncoder encoder(codec);
    if (!encoder.isValid()) return std::nullopt;
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || bytes.contains('\0')) return std::nullopt;
    out = bytes.toStdString();
  } else {
    out = EncodeCp1252(text);
  }
  if (!out || out->size() > kMaxTextBytes) return std::nullopt;
  return out;
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
