// Pictures to feed the converter and a reader for what it writes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/session.h"

namespace inkmark::testing {

struct Rgb {
  std::uint8_t r, g, b;
};

// A 24-bit bottom-up bitmap file; `color(x, y)` gives each pixel, y = 0 the
// top line.
std::vector<std::uint8_t> MakeBmp24(std::uint32_t width, std::uint32_t height,
                                    const std::function<Rgb(std::uint32_t, std::uint32_t)>& color);

// Start-up parameters for two inks (256 palette) or one ink (2 palette).
ConversionParams TwoInkParams(std::uint32_t width, std::uint32_t height, std::uint32_t grade);
ConversionParams OneInkParams(std::uint32_t width, std::uint32_t height, std::uint32_t grade,
                              std::uint32_t ink_index = 0);

// The converter's output read field by field.
class ReadRaster {
 public:
  explicit ReadRaster(std::vector<std::uint8_t> file);

  std::uint32_t U32(std::size_t at) const;
  std::uint16_t U16(std::size_t at) const;
  std::int32_t width() const { return static_cast<std::int32_t>(U32(18)); }
  std::int32_t height() const { return static_cast<std::int32_t>(U32(22)); }
  int bits() const { return U16(28); }
  std::size_t stride() const;
  // Palette entry as 0x00BBGGRR.
  std::int32_t Palette(int index) const;
  // The stored value of a pixel, y = 0 the top line.
  int Value(std::uint32_t x, std::uint32_t y) const;
  // Share of pixels holding `value` (0 to 1).
  double Share(int value) const;
  const std::vector<std::uint8_t>& bytes() const { return file_; }

 private:
  std::vector<std::uint8_t> file_;
};

}  // namespace inkmark::testing
