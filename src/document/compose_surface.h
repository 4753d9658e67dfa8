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

// A part of a picture: `image` holds the pixels of a `width` x `height` picture
// from column `left` and row `top` on.
struct SurfacePart {
  const QImage& image;
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
};

// StretchBlit of the whole picture of which `src` holds a part; the part must
// hold every pixel the rectangle's part inside `dst` picks (SourceWindow).
void StretchBlitPart(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                     const SurfacePart& src, RasterOp op);

// The columns and rows of a src_width x src_height picture that StretchBlit
// picks onto the rectangle (x, y, w, h) of a dst_width x dst_height surface:
// the first and one past the last of each. Empty (right <= left) when it draws
// nothing there.
struct SourceWindow {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};
SourceWindow PickedWindow(std::int64_t dst_width, std::int64_t dst_height, std::int64_t x,
                          std::int64_t y, std::int64_t w, std::int64_t h, std::int64_t src_width,
                          std::int64_t src_height);

// StretchBlit of the bitmap file image (any depth) as BitmapToSurface makes
// it, decoding only the rows and columns that the rectangle's part inside
// `dst` picks. false when the bitmap cannot be decoded (also when nothing of
// it is drawn).
bool StretchBitmap(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                   std::span<const std::uint8_t> bitmap, RasterOp op);

// Combines every pixel of the rectangle (x, y, w, h) of `dst` with `pixel`.
void FillRect(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
              std::uint32_t pixel, RasterOp op);

}  // namespace inkmark
