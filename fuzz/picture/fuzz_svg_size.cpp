// The size read from an SVG document's root element: any size it gives is a
// positive, finite number of pixels.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "picture/picture_qt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto own = inkmark::SvgOwnSize(std::span<const std::uint8_t>(data, size), 360);
  if (!own) return 0;
  if (!std::isfinite(own->width) || !std::isfinite(own->height)) std::abort();
  if (own->width <= 0 || own->height <= 0) std::abort();
  return 0;
}
