#include "document/text_item_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringDecoder>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/code_page.h"

namespace inkmark {
namespace {

// Larger fonts could not fit on any page the composition accepts.
constexpr std::int32_t kMaxFontPixels = 4096;
// The platform's size for a height of 0.
constexpr int kDefaultPixelSize = 16;

QString DecodeCharacter(std::span<const std::uint8_t> bytes, int code_page) {
  if (const char* name = CodecNameOf(code_page)) {
    QStringDecoder decoder(name);
    if (decoder.isValid()) {
      QString s =
          decoder.decode(QByteArrayView(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
      if (!s.isEmpty()) return s;
    }
  }
  const std::uint8_t b = bytes[0];
  if (bytes.size() == 1 && b >= 0x80 && b < 0xA0) return QString(QChar(kCp1252High[b - 0x80]));
  return bytes.size() == 1 ? QString(QChar(b)) : QString(QChar(0xFFFD));
}

// The face name is stored in the code page of the font's own character set.
QString FaceName(const FontDescription& font) {
  const char* face = font.face_name.data();
  const QByteArrayView bytes(face, static_cast<qsizetype>(strnlen(face, kFaceNameSize)));
  if (const char* name = CodecNameOf(CodePageOfCharset(font.char_set))) {
    QStringDecoder decoder(name);
    if (decoder.isValid()) {
      QString s = decoder.decode(bytes);
      if (!decoder.hasError()) return s;
    }
  }
  return QString::fromLatin1(bytes);
}

}  // namespace

int CodePageOfCharset(std::uint8_t char_set) {
  switch (char_set) {
    case 128:
      return 932;
    case 129:
      return 949;
    case 134:
      return 936;
    case 136:
      return 950;
    default:
      return 1252;
  }
}

std::optional<QFont> MakeItemFont(const FontDescription& font) {
  // A height of INT32_MIN has no magnitude; taken as too large.
  if (font.height < -kMaxFontPixels || font.height > kMaxFontPixels) return std::nullopt;
  if (font.width < 0 || font.width > kMaxFontPixels) return std::nullopt;
  QFont f(FaceName(font));
  f.setStyleStrategy(QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  if (font.height < 0) {
    f.setPixelSize(-font.height);
  } else if (font.height > 0) {
    // A positive height is the cell (ascent + descent): find the character size
    // that gives that cell.
    f.setPixelSize(font.height);
    const int cell = QFontMetrics(f).height();
    if (cell > 0 && cell != font.height) {
      f.setPixelSize(std::max(1, static_cast<int>(std::int64_t{font.height} * font.height / cell)));
    }
  } else {
    f.setPixelSize(kDefaultPixelSize);
  }
  const int weight = font.weight <= 0 ? 400 : std::min<std::int32_t>(font.weight, 1000);
  f.setWeight(static_cast<QFont::Weight>(weight));
  f.setItalic(font.italic != 0);
  f.setUnderline(font.underline != 0);
  f.setStrikeOut(font.strike_out != 0);
  if (font.width > 0) {
    // A width asks for that average character width: stretch the face to it.
    const int natural = QFontMetrics(f).averageCharWidth();
    if (natural > 0) {
      f.setStretch(std::clamp(static_cast<int>(std::int64_t{font.width} * 100 / natural), 1, 4000));
    }
  }
  return f;
}

std::vector<QString> SplitTextCharacters(std::span<const std::uint8_t> text, int code_page) {
  std::vector<QString> characters;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = IsDbcsLeadByte(code_page, text[i]) ? 2 : 1;
    if (i + n > text.size()) break;
    characters.push_back(DecodeCharacter(text.subspan(i, n), code_page));
    i += n;
  }
  return characters;
}

bool IsOutlineFont(const QFont& font) {
  const QFontInfo info(font);
  return QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
}

}  // namespace inkmark
