// The rows of a 24-bit bitmap file image, found through its own header.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "converter/pixel_view.h"

namespace inkmark::converter {

// A view of the file's pixels, bottom line first; nullopt unless the file is
// an uncompressed 24-bit bitmap whose rows all lie inside it. The header's
// image-size field is not trusted; the pixel offset is.
std::optional<RgbView> ViewRgb24File(std::span<const std::uint8_t> file);

}  // namespace inkmark::converter
