// Drawing surfaces of the composition: 32-bit images, so that colours read back
// exactly, and the raster operations that put one surface onto another.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <span>

#include "session/session.h"

namespace inkmark {

// How source pixels combine with the destination.
enum class RasterOp { kCopy, kAnd, kOr };

// A white surface of the given size; a null image when the size is outside
// the picture limits or memory fails.
QImage WhiteSurface(std::int32_t width, std::int32_t height);

// The surface as a 24-bit picture (54-byte header, rows bottom-up).
BitmapFile SurfaceToPage(const QImage& surface);

// A bitmap file of any depth as a surface; nullopt when it cannot be decoded.
std::optional<QImage> BitmapToSurface(std::span<const std::uint8_t> bitmap);

// The 0x00BBGGRR colour value as a surface pixel (the top byte is ignored).
std::uint32_t SurfacePixel(std::int32_t color);

// Stretches the whole of `src` onto the rectangle (x, y, w, h) of `dst` by
// nearest neighbour, combining pixels with `op`; parts outside `dst` are
// clipped, and an empty rectangle draws nothing.
void StretchBlit(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                 const QImage& src, RasterOp op);

// Combines every pixel of the rectangle (x, y, w, h) of `dst` with `pixel`.
void FillRect(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
              std::uint32_t pixel, RasterOp op);

}  // namespace inkmark
