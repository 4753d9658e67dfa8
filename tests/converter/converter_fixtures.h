// Pictures to feed the converter, its parameters, and readers for what it writes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/session.h"

namespace inkmark::testing {

struct Rgb {
  std::uint8_t r, g, b;
};

// A 24-bit bitmap file; `color(x, y)` gives each pixel, y = 0 the top line.
std::vector<std::uint8_t> MakeBmp24(std::uint32_t width, std::uint32_t height,
                                    const std::function<Rgb(std::uint32_t, std::uint32_t)>& color);

// Thirds of black, red and white, left to right.
std::vector<std::uint8_t> BlackRedWhite(std::uint32_t width, std::uint32_t height);

// Start-up parameters for two inks (256 palette) or one ink (2 palette).
ConversionParams TwoInkParams(std::uint32_t width, std::uint32_t height, std::uint32_t grade);
ConversionParams OneInkParams(std::uint32_t width, std::uint32_t height, std::uint32_t grade,
                              std::uint32_t ink_index = 0);

// The converter's output: its row stride, palette entry `index` as 0x00BBGGRR,
// the value of pixel (x, y) and of row y, y = 0 the top line, and the share (0 to 1) of
// pixels holding `value`.
std::size_t Stride(const BitmapFile& raster);
std::int32_t PaletteAt(const BitmapFile& raster, int index);
int ValueAt(const BitmapFile& raster, std::uint32_t x, std::uint32_t y);
std::vector<int> RowValues(const BitmapFile& raster, std::uint32_t y);
double Share(const BitmapFile& raster, int value);

}  // namespace inkmark::testing
