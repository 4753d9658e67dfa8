#include "image/preview_paint.h"

#include "image/compose_surface.h"

namespace inkmark {

int PaintPreview(QImage& client, const BitmapFile* picture) {
  if (client.isNull()) return 0;
  if (client.format() != QImage::Format_RGB32 && client.format() != QImage::Format_ARGB32) {
    client = client.convertToFormat(QImage::Format_RGB32);
  }
  const std::int64_t w = client.width() - 2;
  const std::int64_t h = client.height() - 2;
  if (w <= 0 || h <= 0) return 0;
  FillRect(client, 1, 1, w, h, 0xFFFFFFFFu, RasterOp::kCopy);
  if (picture == nullptr || picture->empty()) return 0;
  auto surface = BitmapToSurface(*picture);
  if (!surface) return 0;
  // Clip to the inner rectangle: draw only the part that fits, unscaled.
  const QImage part =
      surface->copy(0, 0, static_cast<int>(std::min<std::int64_t>(w, surface->width())),
                    static_cast<int>(std::min<std::int64_t>(h, surface->height())));
  StretchBlit(client, 1, 1, part.width(), part.height(), part, RasterOp::kCopy);
  return 1;
}

}  // namespace inkmark
