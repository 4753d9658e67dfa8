#include "image/bitmap_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace inkmark::testing {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

BitmapFixture Fixture(std::int32_t width, std::int32_t height, std::uint16_t bits,
                      std::uint32_t compression) {
  BitmapFixture fixture;
  fixture.width = width;
  fixture.height = height;
  fixture.bits_per_pixel = bits;
  fixture.compression = compression;
  return fixture;
}

std::vector<std::uint8_t> BuildBitmap(const BitmapFixture& fixture) {
  const std::size_t table_start = 14 + fixture.header_size;
  // Masks sit at offset 54: after a 40-byte header, inside a longer one.
  std::size_t tables_end = table_start + 4 * fixture.palette.size();
  if (!fixture.masks.empty()) tables_end = std::max(tables_end, 54 + 4 * fixture.masks.size());
  const std::size_t offset = fixture.pixel_offset.value_or(static_cast<std::uint32_t>(tables_end));
  std::vector<std::uint8_t> b(std::max<std::size_t>(std::max(offset, tables_end), 54) +
                              fixture.pixels.size());
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  Put16(b, 6, fixture.reserved1);
  Put32(b, 10, static_cast<std::uint32_t>(offset));
  Put32(b, 14, fixture.header_size);
  Put32(b, 18, static_cast<std::uint32_t>(fixture.width));
  Put32(b, 22, static_cast<std::uint32_t>(fixture.height));
  Put16(b, 26, 1);
  Put16(b, 28, fixture.bits_per_pixel);
  Put32(b, 30, fixture.compression);
  Put32(b, 34, fixture.image_size);
  Put32(b, 38, fixture.x_resolution);
  Put32(b, 46, static_cast<std::uint32_t>(fixture.palette.size()));
  for (std::size_t i = 0; i < fixture.masks.size(); ++i) Put32(b, 54 + 4 * i, fixture.masks[i]);
  for (std::size_t i = 0; i < fixture.palette.size(); ++i) {
    const std::size_t at = table_start + 4 * i;
    b[at] = fixture.palette[i][0];
    b[at + 1] = fixture.palette[i][1];
    b[at + 2] = fixture.palette[i][2];
  }
  std::copy(fixture.pixels.begin(), fixture.pixels.end(), b.begin() + offset);
  return b;
}

std::vector<std::uint8_t> PackRows(const std::vector<std::vector<std::uint32_t>>& rows,
                                   unsigned bits) {
  std::vector<std::uint8_t> out;
  for (const auto& row : rows) {
    std::vector<std::uint8_t> packed((row.size() * bits + 7) / 8, 0);
    for (std::size_t x = 0; x < row.size(); ++x) {
      if (bits < 8) {
        const std::size_t bit = x * bits;
        packed[bit / 8] |= static_cast<std::uint8_t>(row[x] << (8 - bits - bit % 8));
      } else {
        for (unsigned k = 0; k < bits / 8; ++k) {
          packed[x * (bits / 8) + k] = static_cast<std::uint8_t>(row[x] >> (8 * k));
        }
      }
    }
    packed.resize((packed.size() + 3) & ~std::size_t{3}, 0);
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

std::uint32_t U32At(std::span<const std::uint8_t> b, std::size_t at) {
  if (at + 4 > b.size()) throw std::out_of_range("U32At");
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t U16At(std::span<const std::uint8_t> b, std::size_t at) {
  if (at + 2 > b.size()) throw std::out_of_range("U16At");
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

void ExpectFields(std::span<const std::uint8_t> bytes, std::initializer_list<Field> fields) {
  for (const Field& f : fields) {
    EXPECT_EQ(f.size == 2 ? U16At(bytes, f.offset) : U32At(bytes, f.offset), f.value)
        << "field at offset " << f.offset;
  }
}

Bgr PixelAt(std::span<const std::uint8_t> picture, std::int32_t x, std::int32_t r) {
  const std::uint32_t width = U32At(picture, 18);
  const std::size_t stride = (width * 3 + 3) & ~std::size_t{3};
  const std::size_t at = U32At(picture, 10) + r * stride + x * 3;
  if (at + 3 > picture.size()) throw std::out_of_range("PixelAt");
  return {picture[at], picture[at + 1], picture[at + 2]};
}

}  // namespace inkmark::testing
