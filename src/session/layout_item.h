// LayoutItem, the in-memory form of one object of a loaded logo document. It
// records where its object lies in the session's document data (offsets, not
// pointers, so that the data may move) and holds its own conversion settings.
#pragma once

#include <cstddef>
#include <cstdint>

#include "session/conversion_params.h"

namespace inkmark {

struct LayoutItem {
  std::size_t object = 0;        // the object's 40-byte header in the document data
  std::size_t payload = 0;       // text record, or the image's 32-bit length field
  std::size_t bitmap = 0;        // image items: the embedded bitmap file image
  std::size_t bitmap_size = 0;   // image items: its length in bytes
  std::uint16_t kind = 0;        // the object's kind, as read when the item was built
  std::int32_t color_index = 0;  // 0 the 1st ink, 1 the 2nd ink
  ConversionParams params{};     // image items: their own conversion settings
  std::int32_t monochrome = 0;   // image items: 1 when converted with one ink
};

}  // namespace inkmark
