#include "platform/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <iterator>

namespace inkmark {
namespace {

char16_t Cp1252Char(std::uint8_t byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const char16_t c = kCp1252High[byte - 0x80];
  return c == 0xFFFD ? byte : c;
}

std::optional<char> Cp1252Byte(char16_t c) {
  if (c == 0) return std::nullopt;
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return char(c);
  const char16_t* hit = std::find(std::begin(kCp1252High), std::end(kCp1252High), c);
  if (hit != std::end(kCp1252High) && c != 0xFFFD)
    return char(0x80 + (hit - std::begin(kCp1252High)));
  // The unassigned bytes map to themselves.
  if (c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80] == 0xFFFD) return char(c);
  return std::nullopt;
}

}  // namespace

bool IsDbcsLeadByte(int code_page, std::uint8_t byte) {
  switch (code_page) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

const char* CodecNameOf(int code_page) {
  switch (code_page) {
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

const char16_t kCp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                  0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QString DecodeCodePage(std::string_view bytes, int code_page) {
  if (const char* name = CodecNameOf(code_page)) {
    QStringDecoder decoder(name);
    if (decoder.isValid()) return decoder.decode(QByteArrayView(bytes.data(), bytes.size()));
  }
  QString text;
  text.reserve(qsizetype(bytes.size()));
  for (char b : bytes) text += QChar(Cp1252Char(std::uint8_t(b)));
  return text;
}

std::optional<std::string> EncodeCodePage(const QString& text, int code_page) {
  if (const char* name = CodecNameOf(code_page)) {
    QStringEncoder encoder(name);
    if (!encoder.isValid()) return std::nullopt;
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || bytes.contains('\0')) return std::nullopt;
    return bytes.toStdString();
  }
  std::string out;
  out.reserve(std::size_t(text.size()));
  for (const QChar c : text) {
    std::optional<char> b = Cp1252Byte(c.unicode());
    if (!b) return std::nullopt;
    out.push_back(*b);
  }
  return out;
}

std::size_t EncodedLength(const QString& text, int code_page) {
  std::size_t length = 0;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    length += EncodeCodePage(text.mid(i, n), code_page).value_or(std::string(1, '?')).size();
    i += n;
  }
  return length;
}

}  // namespace inkmark
