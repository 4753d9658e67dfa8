// Drawing one image item onto a page; the text items are drawn by text_item.h.
#pragma once

#include <QImage>
#include <cstdint>
#include <span>

#include "document/document_format.h"

namespace inkmark {

// Stretches the whole bitmap file image (any depth) into the object's
// rectangle at the given scale: ANDed over the page when the object is
// transparent, so that its white parts leave the page as it is; copied
// otherwise. 1 drawn (an empty rectangle draws nothing), 0 when the bitmap
// cannot be decoded.
int DrawImageItem(QImage& page, const ObjectHeader& object, std::span<const std::uint8_t> bitmap,
                  double scale_x, double scale_y);

}  // namespace inkmark
