// The core of the converter over pixels already in memory.
#pragma once

#include "converter/convert_settings.h"
#include "converter/pixel_view.h"
#include "session/session.h"

namespace inkmark::converter {

// Scales the picture to the settings' target size and reduces it to the inks;
// the result's complete bitmap file image.
BitmapFile ConvertPixels(const RgbView& picture, const ConvertSettings& settings);

}  // namespace inkmark::converter
