// Scaling to the target size: area averaging along an axis that shrinks,
// bilinear interpolation along one that grows.
#pragma once

#include <cstdint>

#include "converter/pixel_view.h"

namespace inkmark::converter {

// The picture at width x height (both at least 1; the source too). Rows keep
// their storage order.
RgbImage Resample(const RgbView& src, std::uint32_t width, std::uint32_t height);

}  // namespace inkmark::converter
