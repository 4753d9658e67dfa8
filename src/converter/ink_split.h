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

  // Where a colour lies on the share grid: its top five bits of each channel.
  static unsigned CellOf(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return ((red & 0xF8u) << 7) | ((green & 0xF8u) << 2) | (blue >> 3);
  }
  static constexpr unsigned kCells = 1u << 15;
  static constexpr unsigned kShareSteps = 64;

  // For each grid cell, what the pixel loops need in one lookup.
  //
  // Coarse grade: the least darkness at which a pixel of the cell is at
  // least half covered (low 16 bits), and 1 in bit 16 when the second ink
  // carries more of it than the first.
  std::vector<std::uint32_t> HalfCoverTable() const;
  // The finer grades: the second ink's share of the cell's colours, 0 to
  // kShareSteps (low 8 bits), and the ink coverage per unit of darkness with
  // 12 fraction bits (bits 8 to 23). CoverOf applies an entry.
  std::vector<std::uint32_t> CoverTable() const;

  // Coverage of each ink for a pixel of the given darkness whose cell has
  // the CoverTable entry `entry`; the sum reproduces the darkness where the
  // inks can, and is at most kFullCover.
  static InkCover CoverOf(std::uint32_t entry, int darkness) {
    int total =
        static_cast<int>((static_cast<std::uint32_t>(darkness) * (entry >> 8) + 2048) >> 12);
    total = SnapCover(total > kFullCover ? kFullCover : total);
    const int second = static_cast<int>(
        (static_cast<unsigned>(total) * (entry & 0xFFu) + kShareSteps / 2) / kShareSteps);
    return {total - second, second};
  }

 private:
  // Colours are looked up on a 32-step grid by their top five bits; the
  // grid's points run from exactly 0 to exactly 255, so pure colours and the
  // inks themselves land on their own point.
  std::shared_ptr<const std::vector<std::uint8_t>> share_;
  // Ink coverage per unit of darkness for each share, 12 fraction bits.
  std::array<std::uint32_t, kShareSteps + 1> gain_{};
  // The darkness at which each share reaches half coverage.
  std::array<int, kShareSteps + 1> half_darkness_{};
};

}  // namespace inkmark::converter
