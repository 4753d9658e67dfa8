// Text items: a line within the text limit (text_limit.h) in a font of the platform, optionally
// rotated, measured into a box anchored at its bottom-left corner and drawn
// in one colour onto a page.
#pragma once

#include <QImage>
#include <cstdint>

#include "document/document_format.h"

namespace inkmark {

struct TextBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const TextBox&) const = default;
};

// Where, inside the box, the first character's top-left reference point lies.
struct TextOrigin {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const TextOrigin&) const = default;
};

// Measures the text of `text`: `box` comes in as the object's rectangle and
// leaves as the text's box (left and bottom kept, rotated by the escapement).
// 1, or 0 when no font can be made (box and origin then unchanged).
int MeasureTextItem(const TextRecord& text, TextBox& box, TextOrigin& origin);

// Turns the box of a cx x cy text about its bottom-left corner by the
// escapement (tenths of a degree) and gives the origin inside the turned box.
// A negative escapement leaves the box as it is, with origin (0, 0).
void RotateTextBox(std::int32_t cx, std::int32_t cy, std::int32_t escapement, TextBox& box,
                   TextOrigin& origin);

// Draws the text item onto the page at the given scale, character by character
// along the rotated baseline, clipped to its box; the glyphs are ANDed onto the
// page, then the whole box is ORed with `color` (0x00BBGGRR), so that glyphs
// take exactly that colour. 1, also when there is nothing to draw; 0 when the
// text's surface cannot be made. `page` may be a band of the page whose first
// row is page row `page_top`.
int DrawTextItem(QImage& page, const ObjectHeader& object, const TextRecord& text,
                 std::int32_t color, double scale_x, double scale_y, std::int64_t page_top = 0);

}  // namespace inkmark
