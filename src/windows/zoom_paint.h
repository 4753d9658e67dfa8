// Painting the Preview's drawing area: the raster unscaled from the scroll
// position, white wherever the raster does not reach.
#pragma once

#include <QImage>
#include <span>

class QPainter;
class QRect;

namespace inkmark {

// The bitmap file image as a picture to paint; a null image when it cannot be
// read.
QImage ZoomImage(std::span<const std::uint8_t> bitmap_file);

// Paints `area` (drawing-area coordinates) so that raster pixel
// (scroll_x + x, scroll_y + y), counted from the top left, lands at (x, y).
void PaintZoomArea(QPainter& painter, const QRect& area, const QImage& raster, int scroll_x,
                   int scroll_y);

}  // namespace inkmark
