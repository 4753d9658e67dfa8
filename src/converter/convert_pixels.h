// The core of the converter over pixels already in memory.
#pragma once

#include <optional>

#include "converter/convert_settings.h"
#include "converter/pixel_view.h"
#include "converter/resample.h"
#include "session/session.h"

namespace inkmark::converter {

// Scales the picture to the settings' target size and reduces it to the inks;
// the result's complete bitmap file image.
BitmapFile ConvertPixels(const RgbView& picture, const ConvertSettings& settings);

// The same for a src_width x src_height picture of another size than the
// target, whose rows are fetched as the scaling reaches them; nullopt when a
// row cannot be had.
std::optional<BitmapFile> ConvertRows(std::uint32_t src_width, std::uint32_t src_height,
                                      const SourceRows& rows, const ConvertSettings& settings);

}  // namespace inkmark::converter
