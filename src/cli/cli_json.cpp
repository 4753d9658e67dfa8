#include "cli/cli_json.h"

#include <cstdio>

namespace inkmark::cli {

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (c == '\n') {
      json += "\\n";
    } else if (c == '\t') {
      json += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string JsonStrings(const std::vector<std::string>& texts) {
  std::string json = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) json += (i ? "," : "") + JsonString(texts[i]);
  return json + "]";
}

}  // namespace inkmark::cli
