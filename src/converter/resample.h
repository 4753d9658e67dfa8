// Scaling to the target size: area averaging along an axis that shrinks,
// bilinear interpolation along one that grows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "converter/pixel_view.h"

namespace inkmark::converter {

// The picture at width x height (both at least 1; the source too). Rows keep
// their storage order.
RgbImage Resample(const RgbView& src, std::uint32_t width, std::uint32_t height);

// Row r of a source (bottom line first), asked in rising order, though a row
// may be asked again right after the next one; nullptr when it cannot be had.
using SourceRows = std::function<const std::uint8_t*(std::uint32_t)>;

// The same from a source of src_width x src_height whose rows are fetched as
// the scaling reaches them; nullopt when a row cannot be had.
std::optional<RgbImage> Resample(std::uint32_t src_width, std::uint32_t src_height,
                                 const SourceRows& rows, std::uint32_t width, std::uint32_t height);

}  // namespace inkmark::converter
