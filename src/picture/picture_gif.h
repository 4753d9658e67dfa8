// GIF pictures through giflib, first frame only, read row by row from bytes in
// memory or straight from an open file, so that a picture reduced or cut for
// the paper never exists whole (interlaced rows arrive out of order, but each
// one whole, so they go straight to their place too).
#pragma once

#include <cstdint>
#include <span>

#include "picture/picture.h"

namespace inkmark {

// The file's bytes, or when `fd` is 0 or more, the open file read from its
// current position.
struct GifSource {
  std::span<const std::uint8_t> bytes;
  int fd = -1;
};

// The first frame on the screen it is drawn on, over white paper: transparent
// pixels, indexes past the colour table and the screen around a smaller frame
// (the background colour when the file has no transparent index) as Qt's
// reader draws them. Refused with "GIF: " and the reason.
Result<BitmapFile> DecodeGifToRgb24(const GifSource& source);

// The same picture, only the rows the plan keeps.
Result<PictureRows> DecodeGifPlanned(const GifSource& source, const MakeRowPlan& make_plan);

}  // namespace inkmark
