#include "document/ink_rates.h"

#include <array>
#include <charconv>
#include <string>

#include "platform/translation.h"

namespace inkmark {
namespace {

std::int32_t ColorOf(const PaletteEntry& e) { return e.red | e.green << 8 | e.blue << 16; }

// "%2.2f" with a point, whatever the user's locale says.
std::string Fixed2(double value) {
  char text[64];
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
  return error == std::errc() ? std::string(text, end) : std::string("inf");
}

}  // namespace

InkCounts CountInkPixels(const LogoRaster& raster, std::int32_t first_color,
                         std::int32_t second_color) {
  // One histogram over every row, then the palette decides which value is which ink.
  std::array<std::uint64_t, 256> histogram{};
  const std::int32_t width = raster.width();
  for (std::int32_t r = 0; r < raster.height(); ++r) {
    std::span<const std::uint8_t> row = raster.row(r);
    if (raster.bits_per_pixel() == 8) {
      for (std::int32_t x = 0; x < width; ++x) ++histogram[row[std::size_t(x)]];
    } else {
      std::uint64_t set = 0;
      for (std::int32_t x = 0; x < width; ++x) set += (row[std::size_t(x) / 8] >> (7 - x % 8)) & 1;
      histogram[1] += set;
      histogram[0] += std::uint64_t(width) - set;
    }
  }
  InkCounts counts;
  const std::uint32_t entries = raster.bits_per_pixel() == 8 ? 3 : 2;
  for (std::uint32_t i = 0; i < entries; ++i) {
    auto entry = raster.palette_entry(i);
    if (!entry) break;
    std::int32_t color = ColorOf(*entry);
    if (color == first_color) counts.first = histogram[i];
    if (color == second_color) counts.second = histogram[i];
  }
  return counts;
}

std::string PreviewCaption(std::int32_t width, std::int32_t height, std::int32_t dpi,
                           const InkCounts& counts) {
  // A printer file without a usable resolution states no size rather than infinity.
  double mm_per_dot = dpi > 0 ? 25.4 / dpi : 0.0;
  double total = double(std::int64_t(width) * height);
  auto rate = [&](std::uint64_t pixels) {
    return total > 0 ? double(pixels) * 100.0 / total : 0.0;
  };
  return Fill(Translate("Preview", "Size:%1x%2mm(%3x%4dot), Ink rate:1st=%5% 2nd=%6%"),
              {Fixed2(width * mm_per_dot), Fixed2(height * mm_per_dot), std::to_string(width),
               std::to_string(height), Fixed2(rate(counts.first)), Fixed2(rate(counts.second))});
}

}  // namespace inkmark
