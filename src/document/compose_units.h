// Page coordinates times a composition scale, truncated toward zero as the
// layout does everywhere.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace inkmark {

// trunc(value x scale), held to a range that no page reaches, so that a wild
// coordinate in a document cannot overflow the drawing arithmetic.
inline std::int64_t ScaleTrunc(std::int64_t value, double scale) {
  constexpr double kLimit = 1e12;
  const double v = std::trunc(static_cast<double>(value) * scale);
  if (!(v == v)) return 0;  // NaN
  return static_cast<std::int64_t>(std::clamp(v, -kLimit, kLimit));
}

// A box edge held to the 32-bit range. An edge that would pass it belongs to an
// item far outside any page, so holding it there changes nothing drawn.
inline std::int32_t HoldToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace inkmark
