// What the pixel decoders share: the 24-bit rows they write into and the
// palette they look indexes up in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace inkmark {

// The pixel rows of a 24-bit picture being filled, in storage order.
struct Rgb24Rows {
  std::uint8_t* pixels = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::size_t stride = 0;

  std::uint8_t* Row(std::int32_t r) const { return pixels + static_cast<std::size_t>(r) * stride; }
};

// 256 palette entries as blue, green, red. Entries the file does not hold stay
// black, so any index a byte or nibble can carry is safe to look up.
struct PaletteTable {
  std::array<std::uint8_t, 256 * 3> bgr{};

  const std::uint8_t* Entry(unsigned index) const { return &bgr[(index & 0xFF) * 3]; }
};

// Run-length decoders; false when the data is refused (see picture_rle.cpp).
bool DecodeRle8(std::span<const std::uint8_t> data, const PaletteTable& palette, Rgb24Rows& out);
bool DecodeRle4(std::span<const std::uint8_t> data, const PaletteTable& palette, Rgb24Rows& out);

}  // namespace inkmark
