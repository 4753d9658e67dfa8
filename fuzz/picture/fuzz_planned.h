#pragma once
// Scaling and cutting straight from the file must give what decoding the whole
// picture and scaling it gives, byte for byte, refusals included.
#include <array>
#include <cstdint>
#include <span>

#include "picture/picture.h"
#include "picture/picture_header.h"

namespace {

void CompareWithWhole(std::span<const std::uint8_t> file, bool jpeg, std::int32_t width,
                      std::int32_t crop) {
  std::array<std::int32_t, 2> size{}, whole_size{};
  auto planned = inkmark::ScaleCropFileBytes(file, jpeg, width, crop, size);
  auto whole = jpeg ? inkmark::DecodeJpegToRgb24(file) : inkmark::DecodeBitmapToRgb24(file);
  std::optional<inkmark::BitmapFile> expected;
  if (whole) {
    auto header = inkmark::ReadBitmapHeader(*whole);
    if (!header) __builtin_trap();  // ours must read
    const std::int32_t w = width != 0 ? width : header->width;
    expected = inkmark::ScaleCropToFile(w, crop, "", &*whole, "", whole_size);
  }
  if (planned.has_value() != expected.has_value()) __builtin_trap();
  if (planned && (*planned != *expected || size != whole_size)) __builtin_trap();
}

}  // namespace
