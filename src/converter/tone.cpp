#include "converter/tone.h"

#include <cmath>

namespace inkmark::converter {

ToneWeights WeightsFromRevise(const std::array<std::uint32_t, 3>& revise_rgb) {
  // Luma weights of broadcast video: green counts most, blue least.
  constexpr double kBase[3] = {0.299, 0.587, 0.114};
  double w[3];
  double total = 0;
  for (int c = 0; c < 3; ++c) {
    w[c] = kBase[c] * std::ldexp(1.0, static_cast<int>(revise_rgb[c]) - 3);
    total += w[c];
  }
  ToneWeights out;
  out.r = static_cast<std::uint32_t>(std::lround(w[0] / total * 65536.0));
  out.b = static_cast<std::uint32_t>(std::lround(w[2] / total * 65536.0));
  out.g = 65536u - out.r - out.b;
  return out;
}

int InkDarkness(const ToneWeights& weights, std::int32_t ink) {
  auto u = static_cast<std::uint32_t>(ink);
  return weights.Darkness(static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 8),
                          static_cast<std::uint8_t>(u));
}

}  // namespace inkmark::converter
