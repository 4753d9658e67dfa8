// Drawing one image item onto a page; the text items are drawn by text_item.h.
#pragma once

#include <QImage>
#include <cstdint>
#include <span>

#include "document/document_format.h"
#include "picture/picture.h"
#include "platform/failure.h"
#include "session/session.h"

namespace inkmark {

// Stretches the whole bitmap file image (any depth) into the object's
// rectangle at the given scale: ANDed over the page when the object is
// transparent, so that its white parts leave the page as it is; copied
// otherwise. 1 drawn (an empty rectangle draws nothing), 0 when the bitmap
// cannot be decoded.
// `page` may be a band of the page whose first row is page row `page_top`.
int DrawImageItem(QImage& page, const ObjectHeader& object, std::span<const std::uint8_t> bitmap,
                  double scale_x, double scale_y, std::int64_t page_top = 0);

// The rows `make_plan` keeps of the page ComposeAsStored makes (rows stored
// bottom-up, each of the plan's first columns), composed a band of rows at a
// time as wide as the plan reads, so that the page never exists whole.
// Refused where ComposeAsStored fails.
Result<PictureRows> ComposeAsStoredRows(const LogoSession& session, const MakeRowPlan& make_plan);

}  // namespace inkmark
