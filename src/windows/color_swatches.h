// The colour lists' swatch pictures (104-108) and the drawing of one list item.
#pragma once

#include <QImage>
#include <QString>

class QPainter;
class QRect;

namespace inkmark {

// Swatch `id` (104 black, 105 red, 106 green, 107 blue, 108 grey outline): a
// 16 x 16 picture of which the top-left 11 x 11 pixels are drawn.
const QImage& SwatchPicture(int id);

// Draws one item of lists 1005, 1006, 1015 and 1039: its swatch and its name.
void DrawColorItem(QPainter& painter, const QRect& rect, const QString& text, bool selected,
                   bool disabled);

}  // namespace inkmark
