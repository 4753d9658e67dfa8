#include "cli/cli_json.h"

#include <cstdint>
#include <cstdio>

namespace inkmark::cli {

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint32_t min = 0, code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
  if (code < min || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  auto escape = [&](std::uint8_t value) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", value);
    json += escaped;
  };
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto byte = static_cast<std::uint8_t>(c);
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      escape(byte);  // a byte that is not UTF-8 stands for its Latin-1 character
      ++i;
      continue;
    }
    if (length > 1) {
      json.append(text.substr(i, length));
    } else if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (c == '\n') {
      json += "\\n";
    } else if (c == '\t') {
      json += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      escape(byte);
    } else {
      json += c;
    }
    i += length;
  }
  return json + "\"";
}

std::string JsonStrings(const std::vector<std::string>& texts) {
  std::string json = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) json += (i ? "," : "") + JsonString(texts[i]);
  return json + "]";
}

std::string TerminalText(std::string_view text, bool keep_newlines) {
  std::string shown;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<std::uint8_t>(text[i]);
    const std::size_t length = Utf8SequenceLength(text, i);
    // U+0080 to U+009F are controls too: some terminals take U+009B for an escape.
    const bool c1 = length == 2 && byte == 0xC2 && static_cast<std::uint8_t>(text[i + 1]) < 0xA0;
    const bool control =
        length == 1 && (byte < 0x20 || byte == 0x7F) && !(keep_newlines && byte == '\n');
    if (control || c1) {
      for (std::size_t k = 0; k < (c1 ? 2 : 1); ++k) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<std::uint8_t>(text[i + k]));
        shown += escaped;
      }
      i += c1 ? 2 : 1;
    } else {
      // Bytes that are not UTF-8 pass: a terminal in another code page may read them.
      const std::size_t n = length == 0 ? 1 : length;
      shown.append(text.substr(i, n));
      i += n;
    }
  }
  return shown;
}

}  // namespace inkmark::cli
