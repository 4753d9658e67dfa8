// Bitmap files of every depth and compression, then the scaler on what they give;
// the paper scale straight from the bytes against the whole decode.
#include <cstdint>
#include <span>

#include "fuzz_planned.h"
#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto picture = inkmark::DecodeBitmapToRgb24(std::span<const std::uint8_t>(data, size));
  if (!picture) return 0;
  // Whatever the loader accepts, the scale-and-crop step must handle.
  std::array<std::int32_t, 2> size_out{};
  inkmark::ScaleCropToFile(48, 32, "", &*picture, "", size_out);
  CompareWithWhole(std::span<const std::uint8_t>(data, size), inkmark::PlannedKind::kBitmap,
                   {{48, 32}, {0, 7}, {200, 20}});
  return 0;
}
