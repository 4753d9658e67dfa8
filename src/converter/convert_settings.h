// The conversion parameters after checking: everything the converter needs,
// in the form its loops use.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "session/session.h"

namespace inkmark::converter {

// Larger targets are refused: no printer logo comes near them, and the
// working buffers grow with the pixel count.
inline constexpr std::uint32_t kMaxTargetSide = 65535;
inline constexpr std::uint64_t kMaxTargetPixels = std::uint64_t{1} << 24;

// What a pixel of the result is: an ink by its index in the session's ink
// pair, or white. These are also the 8-bit output values.
inline constexpr std::uint8_t kCodeFirst = 0;
inline constexpr std::uint8_t kCodeSecond = 1;
inline constexpr std::uint8_t kCodeWhite = 2;

enum class Grade { kCoarse, kOrdered, kDiffused };

struct ConvertSettings {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  // The inks as the palette shows them, in pair order.
  std::array<std::int32_t, 2> inks{};
  bool two_inks = false;
  // With one ink: which entry of the pair it is.
  std::uint8_t single_ink_code = kCodeFirst;
  std::uint32_t palette_size = 2;
  Grade grade = Grade::kCoarse;
  std::array<std::uint32_t, 3> revise{3, 3, 3};  // R, G, B
  bool manual = false;
  // Manual attachment: the result code of each brightness level, darkest first.
  std::array<std::uint8_t, 8> level_codes{};
};

// Checks the block and the ink pair; nullopt for any value outside its range
// or a combination the output form cannot hold (two inks in a 2-entry palette,
// two inks starting at the pair's second entry).
std::optional<ConvertSettings> CheckParams(const ConversionParams& params,
                                           const std::int32_t inks[2]);

}  // namespace inkmark::converter
