// Reduction of a picture to the inks and white: per pixel coverage, then the
// grade's way of turning coverage into dots.
#pragma once

#include <cstdint>
#include <functional>

#include "converter/convert_settings.h"
#include "converter/pixel_view.h"

namespace inkmark::converter {

// Receives each finished row of result codes (kCodeFirst, kCodeSecond,
// kCodeWhite), `width` of them, with the row's storage index.
using CodeRowSink = std::function<void(std::uint32_t row, const std::uint8_t* codes)>;

// Reduces `picture` (already at the target size) row by row, from the top
// line of the picture down, so that patterns and diffusion start at its top
// left. Deterministic: equal input gives equal output.
void ReduceToInks(const RgbView& picture, const ConvertSettings& settings, const CodeRowSink& sink);

}  // namespace inkmark::converter
