// How dark a pixel is, with the "R", "G" and "B" revise levels applied.
#pragma once

#include <array>
#include <cstdint>

namespace inkmark::converter {

// Ink coverage is counted in these units: 0 paper, kFullCover solid ink.
// It is darkness on a 0-255 scale with four more bits of precision.
inline constexpr int kFullCover = 255 * 16;

// Per-channel weights in 16-bit fixed point, summing to exactly 1 << 16, so
// that white stays white and black stays black whatever the revise levels.
struct ToneWeights {
  std::uint32_t r = 0;
  std::uint32_t g = 0;
  std::uint32_t b = 0;

  // Darkness of a pixel in coverage units.
  int Darkness(std::uint8_t blue, std::uint8_t green, std::uint8_t red) const {
    std::uint32_t sum = r * (255u - red) + g * (255u - green) + b * (255u - blue);
    return static_cast<int>((sum + (1u << 11)) >> 12);
  }
};

// The revise levels (1-5, 3 neutral) set how strongly each channel counts:
// each step up doubles the channel's share of the darkness measure, so a
// higher "B" darkens colours that lack blue (yellow) and lightens blue ones.
ToneWeights WeightsFromRevise(const std::array<std::uint32_t, 3>& revise_rgb);

// Darkness of an ink colour (0x00BBGGRR) in coverage units.
int InkDarkness(const ToneWeights& weights, std::int32_t ink);

// The brightness level of a darkness, 0 (level 1, darkest) to 7 (level 8).
inline int BrightnessLevel(int darkness) { return (kFullCover - darkness) >> 9; }

// Coverage within 1% of paper or of solid ink is taken as exactly that, so
// that scanner noise on white paper and slight fades in solid areas do not
// scatter stray dots.
inline int SnapCover(int cover) {
  constexpr int kSnap = kFullCover / 100;
  if (cover < kSnap) return 0;
  if (cover > kFullCover - kSnap) return kFullCover;
  return cover;
}

}  // namespace inkmark::converter
