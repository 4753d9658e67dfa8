#include "editor/editor_text.h"

#include <QCoreApplication>
#include <cstring>

#include "document/text_item_font.h"
#include "document/text_limit.h"
#include "editor/editor_document.h"
#include "platform/code_page.h"

namespace inkmark {
namespace {

constexpr std::int32_t kWeightNormal = 400;
constexpr std::int32_t kWeightBold = 700;

constexpr char kContext[] = "EditorText";

constexpr CharSetChoice kCharSets[] = {
    {QT_TRANSLATE_NOOP("EditorText", "Western"), 0},
    {QT_TRANSLATE_NOOP("EditorText", "Japanese (Shift-JIS)"), 128},
    {QT_TRANSLATE_NOOP("EditorText", "Korean"), 129},
    {QT_TRANSLATE_NOOP("EditorText", "Simplified Chinese (GBK)"), 134},
    {QT_TRANSLATE_NOOP("EditorText", "Traditional Chinese (Big5)"), 136}};

// The first character of `text` that has no code in `code_page`, surrogate
// pairs taken whole; empty when every one has.
QString FirstUncoded(const QString& text, int code_page) {
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString c = text.mid(i, n);
    if (!EncodeCodePage(c, code_page)) return c;
    i += n;
  }
  return {};
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
  const std::string face =
      EncodeItemText(style.face, style.char_set).ToOptional().value_or("Arial");
  for (std::size_t i = 0; i < face.size() && i + 1 < kFaceNameSize; ++i) f.face_name[i] = face[i];
  object.text_color = style.color;
}

}  // namespace

std::span<const CharSetChoice> CharSetChoices() { return kCharSets; }

QString CharSetName(std::uint8_t char_set) {
  for (const CharSetChoice& choice : kCharSets) {
    if (choice.value == char_set) return QCoreApplication::translate(kContext, choice.name);
  }
  return QString::number(char_set);
}

Result<std::string> EncodeItemText(const QString& text, std::uint8_t char_set) {
  return EncodeTextItem(text, CodePageOfCharset(char_set));
}

QString TextRefusal(const QString& text, std::uint8_t char_set, const Failure& failure) {
  const int code_page = CodePageOfCharset(char_set);
  switch (failure.code) {
    case FailureCode::kUnsupported: {
      const QString c = FirstUncoded(text, code_page);
      if (c.isEmpty() || c == QChar(0)) {
        return QCoreApplication::translate("EditorText",
                                           "The text holds a character that cannot "
                                           "be stored.");
      }
      return QCoreApplication::translate("EditorText",
                                         "\"%1\" has no code in the character set %2. Choose "
                                         "the character set of the text's language.")
          .arg(c, CharSetName(char_set));
    }
    case FailureCode::kTextTooLong:
      return QCoreApplication::translate("EditorText",
                                         "The text does not fit: it takes %1 bytes in the "
                                         "character set %2, and a text holds at most %3.")
          .arg(EncodedLength(text, code_page))
          .arg(CharSetName(char_set))
          .arg(kMaxTextBytes);
    default:
      return QCoreApplication::translate("EditorText",
                                         "The size, turn or colour of the text is out of range.");
  }
}

QString DecodeItemText(const std::string& bytes, std::uint8_t char_set) {
  QString text;
  const std::span<const std::uint8_t> raw(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                          bytes.size());
  for (const QString& c : SplitTextCharacters(raw, CodePageOfCharset(char_set))) text += c;
  return text;
}

Result<DocumentObject> MakeTextObject(std::int32_t left, std::int32_t bottom, const QString& text,
                                      const TextStyle& style) {
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

Result<DocumentObject> RestyleText(const DocumentObject& object, const QString& text,
                                   const TextStyle& style) {
  if (object.kind != kTextObject || !StyleInRange(style)) {
    return Failure{FailureCode::kInvalidArgument, "not a text, or a style out of range"};
  }
  DocumentObject out = object;
  const std::uint8_t stored_set = object.font.char_set;
  const bool retyped =
      style.char_set != stored_set || text != DecodeItemText(object.text, stored_set);
  if (retyped || !CheckTextLength(object.text.size())) {
    auto bytes = EncodeItemText(text, style.char_set);
    if (!bytes) return bytes.failure();
    out.text = std::move(*bytes);
  }
  ApplyStyle(out, style);
  StoreTextExtent(out);
  return out;
}

}  // namespace inkmark
