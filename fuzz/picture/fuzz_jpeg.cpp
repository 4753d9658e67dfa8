// The JPEG step on arbitrary bytes, then the bitmap it writes through the loader.
#include <cstdint>
#include <span>

#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto bitmap = inkmark::DecodeJpegToBitmap(std::span<const std::uint8_t>(data, size));
  if (!bitmap) return 0;
  if (!inkmark::DecodeBitmapToRgb24(std::move(*bitmap))) __builtin_trap();  // ours must load
  return 0;
}
