// Pictures read through Qt: SVG drawn by QtSvg at the size it is wanted at,
// as a 24-bit picture on white paper: whatever is transparent prints as paper.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "picture/picture.h"

namespace inkmark {

// An SVG document drawn at `scale` (see PictureScale); refused when it cannot
// be read or its size is unusable.
Result<BitmapFile> RenderSvgToRgb24(std::span<const std::uint8_t> svg, const PictureScale& scale);

// The width and height RenderSvgToRgb24 draws the document at (before any
// crop), found without drawing it and held to no picture limit; refused when
// the document cannot be read or a side passes the 32-bit range.
Result<std::array<std::int64_t, 2>> SvgDrawnSize(std::span<const std::uint8_t> svg,
                                                 const PictureScale& scale);

// An SVG document's own size in pixels at `dots_per_inch`: its width and height
// when they are given in absolute units (px counting 96 to the inch), else its
// view box at 96 pixels per inch. nullopt when it states neither.
struct SvgSize {
  double width = 0;
  double height = 0;
};
std::optional<SvgSize> SvgOwnSize(std::span<const std::uint8_t> svg, std::int32_t dots_per_inch);

}  // namespace inkmark
