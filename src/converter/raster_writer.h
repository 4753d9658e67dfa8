// The converter's output file: a bitmap of the target size with the inks and
// white in its palette.
//
// Palette size 2: 1 bit per pixel, entry 0 white, entry 1 the ink, so a set
// bit prints. Palette size 256: 8 bits per pixel, entries 0 and 1 the ink
// pair, entry 2 white, the rest unused black; pixels are 0, 1 or 2. Rows are
// stored bottom-up and padded with zeros to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "converter/convert_settings.h"
#include "session/session.h"

namespace inkmark::converter {

class RasterWriter {
 public:
  explicit RasterWriter(const ConvertSettings& settings);

  // Stores one row of result codes (`width` of them) at storage row `row`.
  void PutRow(std::uint32_t row, const std::uint8_t* codes);

  BitmapFile Take() { return std::move(file_); }

 private:
  std::uint32_t width_;
  bool one_bit_;
  std::size_t stride_;
  std::size_t pixel_offset_;
  BitmapFile file_;
};

}  // namespace inkmark::converter
