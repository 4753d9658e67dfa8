// What the pixel decoders share: the 24-bit rows they write into and the
// palette they look indexes up in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "picture/picture.h"
#include "picture/picture_header.h"

namespace inkmark {

// The pixel rows of a 24-bit picture being filled, in storage order. When only
// some rows are kept, `slot` gives each row's place among them (-1: dropped, its
// pixels go to `scratch`), and only the first `kept_width` pixels of a row are
// stored (0: all of them).
struct Rgb24Rows {
  std::uint8_t* pixels = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::size_t stride = 0;
  const std::int32_t* slot = nullptr;
  std::uint8_t* scratch = nullptr;
  std::int32_t kept_width = 0;

  std::uint8_t* Row(std::int32_t r) const {
    if (slot == nullptr) return pixels + static_cast<std::size_t>(r) * stride;
    const std::int32_t s = slot[r];
    return s < 0 ? scratch : pixels + static_cast<std::size_t>(s) * stride;
  }
  bool Kept(std::int32_t r) const { return slot == nullptr || slot[r] >= 0; }
  std::int32_t KeptWidth() const { return kept_width > 0 ? kept_width : width; }
};

// Makes `out` a whole 24-bit picture of width x height, zero-filled after its
// headers, and returns where a decoder writes its rows.
inline Rgb24Rows WholeRows(BitmapFile& out, std::int32_t width, std::int32_t height) {
  const std::size_t stride = Rgb24Stride(width);
  out.assign(kHeadersSize + stride * static_cast<std::size_t>(height), 0);
  WriteRgb24Header(out, width, height);
  return Rgb24Rows{out.data() + kHeadersSize, width, height, stride};
}

// Makes `rows` ready for the rows `plan` keeps of a width x height picture
// and returns where a decoder writes them: zero-filled (padding stays zero and
// pixels a decoder leaves unwritten are black), each `plan->columns` pixels
// wide, with a scratch row for the dropped rows when `with_scratch`. Nullopt
// when there is no plan or it does not fit the picture.
inline std::optional<Rgb24Rows> PlanRows(PictureRows& rows, std::int32_t width, std::int32_t height,
                                         const std::optional<RowPlan>& plan,
                                         bool with_scratch = false) {
  if (!plan || plan->columns == 0 || plan->columns > static_cast<std::uint32_t>(width) ||
      plan->keep.size() != static_cast<std::size_t>(height)) {
    return std::nullopt;
  }
  rows.slot.assign(plan->keep.size(), -1);
  std::int32_t kept = 0;
  for (std::size_t i = 0; i < plan->keep.size(); ++i) {
    if (plan->keep[i]) rows.slot[i] = kept++;
  }
  rows.stride = Rgb24Stride(static_cast<std::int32_t>(plan->columns));
  const std::size_t kept_bytes = rows.stride * static_cast<std::size_t>(kept);
  rows.owned.reset(new std::uint8_t[kept_bytes + (with_scratch ? rows.stride : 0)]());
  rows.pixels = rows.owned.get();
  return Rgb24Rows{rows.owned.get(),
                   width,
                   height,
                   rows.stride,
                   rows.slot.data(),
                   with_scratch ? rows.owned.get() + kept_bytes : nullptr,
                   static_cast<std::int32_t>(plan->columns)};
}

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
