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

}  // namespace inkmark
