#include "converter/raster_writer.h"

#include <cstring>

namespace inkmark::converter {
namespace {

constexpr std::size_t kHeadersSize = 14 + 40;

void Put16(BitmapFile& f, std::size_t at, std::uint32_t v) {
  f[at] = static_cast<std::uint8_t>(v);
  f[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(BitmapFile& f, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutColor(BitmapFile& f, std::size_t at, std::int32_t color) {
  auto u = static_cast<std::uint32_t>(color);
  f[at] = static_cast<std::uint8_t>(u >> 16);  // blue
  f[at + 1] = static_cast<std::uint8_t>(u >> 8);
  f[at + 2] = static_cast<std::uint8_t>(u);
  f[at + 3] = 0;
}

}  // namespace

RasterWriter::RasterWriter(const ConvertSettings& s)
    : width_(s.width),
      one_bit_(s.palette_size == 2),
      stride_(one_bit_ ? ((std::size_t{s.width} + 7) / 8 + 3) & ~std::size_t{3}
                       : (std::size_t{s.width} + 3) & ~std::size_t{3}),
      pixel_offset_(kHeadersSize + std::size_t{s.palette_size} * 4) {
  // The size cap on the target keeps every field below inside 32 bits.
  const std::size_t image_size = stride_ * s.height;
  file_.assign(pixel_offset_ + image_size, 0);
  file_[0] = 'B';
  file_[1] = 'M';
  Put32(file_, 2, static_cast<std::uint32_t>(file_.size()));
  Put32(file_, 10, static_cast<std::uint32_t>(pixel_offset_));
  Put32(file_, 14, 40);
  Put32(file_, 18, s.width);
  Put32(file_, 22, s.height);
  Put16(file_, 26, 1);
  Put16(file_, 28, one_bit_ ? 1 : 8);
  Put32(file_, 34, static_cast<std::uint32_t>(image_size));
  Put32(file_, 46, s.palette_size);
  Put32(file_, 50, s.palette_size);
  if (one_bit_) {
    PutColor(file_, kHeadersSize, 0xFFFFFF);
    PutColor(file_, kHeadersSize + 4, s.inks[s.single_ink_code]);
  } else {
    PutColor(file_, kHeadersSize, s.inks[0]);
    PutColor(file_, kHeadersSize + 4, s.inks[1]);
    PutColor(file_, kHeadersSize + 8, 0xFFFFFF);
  }
}

void RasterWriter::PutRow(std::uint32_t row, const std::uint8_t* codes) {
  std::uint8_t* out = file_.data() + pixel_offset_ + stride_ * row;
  if (!one_bit_) {
    std::memcpy(out, codes, width_);
    return;
  }
  std::uint32_t x = 0;
  for (; x + 8 <= width_; x += 8) {
    unsigned byte = 0;
    for (int i = 0; i < 8; ++i) byte = (byte << 1) | (codes[x + i] != kCodeWhite ? 1u : 0u);
    *out++ = static_cast<std::uint8_t>(byte);
  }
  if (x < width_) {
    unsigned byte = 0;
    for (std::uint32_t i = 0; x + i < width_; ++i) {
      if (codes[x + i] != kCodeWhite) byte |= 0x80u >> i;
    }
    *out = static_cast<std::uint8_t>(byte);
  }
}

}  // namespace inkmark::converter
