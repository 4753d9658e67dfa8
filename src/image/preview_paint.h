// Painting a preview control: its client area less a one-pixel frame, white,
// with the picture drawn unscaled from its top-left corner.
#pragma once

#include <QImage>

#include "app/session.h"

namespace inkmark {

// Paints into `client`, the control's client area as a surface the window
// shows. `picture` is a bitmap file image of any depth, or nullptr / empty for
// none. Parts of a picture larger than the area are clipped. 1 when a picture
// was drawn.
int PaintPreview(QImage& client, const BitmapFile* picture);

}  // namespace inkmark
