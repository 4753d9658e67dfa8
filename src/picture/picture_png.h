// PNG pictures through libpng, read row by row from bytes in memory or
// straight from an open file, so that a picture reduced or cut for the paper
// never exists whole (an interlaced one is decoded whole first).
#pragma once

#include <cstdint>
#include <span>

#include "picture/picture.h"

namespace inkmark {

// The file's bytes, or when `fd` is 0 or more, the open file read from its
// current position.
struct PngSource {
  std::span<const std::uint8_t> bytes;
  int fd = -1;
};

// The picture over white paper, as DecodePngToRgb24 of its bytes.
Result<BitmapFile> DecodePngToRgb24(const PngSource& source);

// DecodePngPlanned of the source.
Result<PictureRows> DecodePngPlanned(const PngSource& source, const MakeRowPlan& make_plan);

}  // namespace inkmark
