#pragma once
// Scaling and cutting straight from the file, one size at a time or several
// from one decode, must give what decoding the whole picture and scaling it
// gives, byte for byte, refusals included.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "picture/picture.h"
#include "picture/picture_gif.h"
#include "picture/picture_header.h"

namespace {

inkmark::Result<inkmark::BitmapFile> DecodeWhole(std::span<const std::uint8_t> file,
                                                 inkmark::PlannedKind kind) {
  switch (kind) {
    case inkmark::PlannedKind::kJpeg:
      return inkmark::DecodeJpegToRgb24(file);
    case inkmark::PlannedKind::kPng:
      return inkmark::DecodePngToRgb24(file);
    case inkmark::PlannedKind::kGif:
      return inkmark::DecodeGifToRgb24(inkmark::GifSource{file});
    case inkmark::PlannedKind::kBitmap:
      break;
  }
  return inkmark::DecodeBitmapToRgb24(file);
}

void CompareWithWhole(std::span<const std::uint8_t> file, inkmark::PlannedKind kind,
                      const std::vector<inkmark::ScaleCrop>& sizes) {
  auto whole = DecodeWhole(file, kind);
  std::vector<inkmark::ScaledPicture> expected;
  for (const auto& [width, crop] : sizes) {
    std::optional<inkmark::BitmapFile> scaled;
    std::array<std::int32_t, 2> whole_size{};
    if (whole) {
      auto header = inkmark::ReadBitmapHeader(*whole);
      if (!header) __builtin_trap();  // ours must read
      const std::int32_t w = width != 0 ? width : header->width;
      scaled = inkmark::ScaleCropToFile(w, crop, "", &*whole, "", whole_size);
    }
    std::array<std::int32_t, 2> size{};
    auto planned = inkmark::ScaleCropFileBytes(file, kind, width, crop, size);
    if (planned.has_value() != scaled.has_value()) __builtin_trap();
    if (planned && (*planned != *scaled || size != whole_size)) __builtin_trap();
    if (scaled) expected.push_back({std::move(*scaled), whole_size});
  }
  auto each = inkmark::ScaleCropFileBytesEach(file, kind,
                                              [&](std::int32_t, std::int32_t) { return sizes; });
  if (each.has_value() != (expected.size() == sizes.size())) __builtin_trap();
  if (!each) return;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if ((*each)[i].picture != expected[i].picture || (*each)[i].size != expected[i].size) {
      __builtin_trap();
    }
  }
}

}  // namespace
