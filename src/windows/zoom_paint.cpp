#include "windows/zoom_paint.h"

#include <QPainter>
#include <QRect>

namespace inkmark {

QImage ZoomImage(std::span<const std::uint8_t> bitmap_file) {
  QImage image;
  if (!bitmap_file.empty())
    image.loadFromData(bitmap_file.data(), qsizetype(bitmap_file.size()), "BMP");
  // Painted at 32 bits, so the colours reach the screen exactly.
  return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

void PaintZoomArea(QPainter& painter, const QRect& area, const QImage& raster, int scroll_x,
                   int scroll_y) {
  const QRect shown(-scroll_x, -scroll_y, raster.width(), raster.height());
  if (!shown.contains(area)) painter.fillRect(area, Qt::white);
  if (raster.isNull()) return;
  painter.save();
  painter.setClipRect(area);
  painter.drawImage(shown.topLeft(), raster);
  painter.restore();
}

}  // namespace inkmark
