// 24-bit pixel rows (blue, green, red) as the converter's stages pass them on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkmark::converter {

// Row 0 is the bottom line of the picture, as bitmap files store it; `stride`
// is negative over a file whose rows are stored top-down.
struct RgbView {
  const std::uint8_t* first_row = nullptr;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::ptrdiff_t stride = 0;

  const std::uint8_t* Row(std::uint32_t r) const {
    return first_row + static_cast<std::ptrdiff_t>(r) * stride;
  }
};

// An owned picture with packed rows (3 bytes a pixel, no padding), bottom line
// first.
struct RgbImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;

  RgbView View() const {
    return {pixels.data(), width, height, static_cast<std::ptrdiff_t>(width) * 3};
  }
};

}  // namespace inkmark::converter
