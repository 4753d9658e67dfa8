// Automatic attachment with two inks: how much of a pixel's darkness each
// ink carries, judged by the pixel's colour.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "converter/tone.h"

namespace inkmark::converter {

struct InkCover {
  int first = 0;
  int second = 0;
};

class InkSplit {
 public:
  InkSplit(const std::array<std::int32_t, 2>& inks, const ToneWeights& weights);

  // Coverage of each ink for a pixel of the given colour and darkness; the sum
  // reproduces the darkness where the inks can, and is at most kFullCover.
  InkCover Split(std::uint8_t blue, std::uint8_t green, std::uint8_t red, int darkness) const {
    return SplitCell(CellOf(blue, green, red), darkness);
  }
  // The same for a colour already located on the share grid.
  InkCover SplitCell(unsigned cell, int darkness) const {
    const unsigned share = share_table_[cell];
    int total =
        static_cast<int>((static_cast<std::uint32_t>(darkness) * gain_[share] + 2048) >> 12);
    total = SnapCover(total > kFullCover ? kFullCover : total);
    const int second =
        static_cast<int>((static_cast<unsigned>(total) * share + kShareSteps / 2) / kShareSteps);
    return {total - second, second};
  }

  // The second ink's share of the colours of a grid cell, 0 to kShareSteps.
  unsigned ShareOfCell(unsigned cell) const { return share_table_[cell]; }
  // Where a colour lies on the share grid: its top five bits of each channel.
  static unsigned CellOf(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return ((red & 0xF8u) << 7) | ((green & 0xF8u) << 2) | (blue >> 3);
  }

  // Coarse grade: the least darkness at which a pixel of this share is at
  // least half covered.
  int HalfDarkness(unsigned share) const { return half_darkness_[share]; }

  static constexpr unsigned kShareSteps = 64;

 private:
  // Colours are looked up on a 32-step grid by their top five bits; the
  // grid's points run from exactly 0 to exactly 255, so pure colours and the
  // inks themselves land on their own point.
  std::shared_ptr<const std::vector<std::uint8_t>> share_;
  // share_'s data, held directly so that the pixel loops keep it in a
  // register instead of going through the vector on every pixel.
  const std::uint8_t* share_table_ = nullptr;
  // Ink coverage per unit of darkness for each share, 12 fraction bits.
  std::array<std::uint32_t, kShareSteps + 1> gain_{};
  // The darkness at which each share reaches half coverage.
  std::array<int, kShareSteps + 1> half_darkness_{};
};

}  // namespace inkmark::converter
