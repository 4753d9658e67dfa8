// SplitList on arbitrary bytes: the first byte picks the code page, the rest is
// the text. Every stored token must lie inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "settings/printer_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr int kCodePages[] = {1252, 932, 936, 949, 950};
  int code_page = kCodePages[data[0] % 5];
  ++data;
  --size;
  // Exactly the text and its terminator, so that any read past them is caught.
  auto text = std::make_unique<char[]>(size + 1);
  std::memcpy(text.get(), data, size);
  text[size] = '\0';
  std::size_t length = std::strlen(text.get());

  char* tokens[8] = {};
  int count = inkmark::SplitList(text.get(), tokens, code_page);
  if (count < 1 || std::size_t(count) > length + 1) std::abort();
  for (int i = 0; i < count && i < 8; ++i) {
    if (tokens[i] < text.get() || tokens[i] > text.get() + length) std::abort();
  }
  if (text[size] != '\0') std::abort();

  std::memcpy(text.get(), data, size);
  std::int32_t values[20];
  if (inkmark::SplitNumbers(text.get(), values) < 1) std::abort();
  return 0;
}
