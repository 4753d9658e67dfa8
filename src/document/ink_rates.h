// What the Preview window states about a print raster: its printed size and
// the share of its area each ink covers.
#pragma once

#include <cstdint>
#include <string>

#include "document/logo_raster.h"

namespace inkmark {

struct InkCounts {
  std::uint64_t first = 0;   // pixels printed in the 1st ink
  std::uint64_t second = 0;  // pixels printed in the 2nd ink
};

// Counts the pixels of each ink over the raster's width (row padding is not
// counted). A palette entry counts for the ink whose colour it is; with both
// inks alike the later entry wins.
InkCounts CountInkPixels(const LogoRaster& raster, std::int32_t first_color,
                         std::int32_t second_color);

// "Size:%2.2fx%2.2fmm(%dx%ddot), Ink rate:1st=%2.2f%% 2nd=%2.2f%%" for a raster
// of width x height dots printed at `dpi`.
std::string PreviewCaption(std::int32_t width, std::int32_t height, std::int32_t dpi,
                           const InkCounts& counts);

}  // namespace inkmark
