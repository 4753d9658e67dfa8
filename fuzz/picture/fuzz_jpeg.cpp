// The JPEG step on arbitrary bytes, then the bitmap it writes through the loader;
// the paper scale straight from the bytes against the whole decode.
#include <cstdint>
#include <span>

#include "fuzz_planned.h"
#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  auto bitmap = inkmark::DecodeJpegToBitmap(file);
  if (!bitmap) return 0;
  CompareWithWhole(file, inkmark::PlannedKind::kJpeg, {{48, 32}, {0, 7}, {200, 20}});
  if (!inkmark::DecodeBitmapToRgb24(std::move(*bitmap))) __builtin_trap();  // ours must load
  return 0;
}
