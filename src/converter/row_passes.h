// The passes over each row of pixels: measuring them, the lookups that
// follow, and error diffusion. Each runs either way of RowPath; every way
// gives the same values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "converter/tone.h"

namespace inkmark::converter {

// Which way a pass runs: on the widest vectors the processor has, or one
// pixel at a time (the reference, for tests to hold the vectors to).
enum class RowPath { kWidest, kPlain };

// Fills dark[0..n) with each pixel's darkness and, when `cell` is not null,
// cell[0..n) with its grid cell (InkSplit::CellOf). `px` holds n pixels of
// three bytes, blue, green, red.
void MeasureRow(const std::uint8_t* px, std::size_t n, const ToneWeights& weights, int* dark,
                std::uint16_t* cell, RowPath path = RowPath::kWidest);

// Coarse grade with two inks: a pixel at least half covered prints, in the
// ink that carries more of it (codes 0 and 1); the others are paper (code 2).
// `table` is InkSplit::HalfCoverTable().
void ThresholdRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                  std::size_t n, std::uint8_t* codes, RowPath path = RowPath::kWidest);

// The finer grades with two inks: each pixel's coverage of either ink, as
// pairs (first, second) in cover[0..2n). `table` is InkSplit::CoverTable().
void CoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table, std::size_t n,
              int* cover, RowPath path = RowPath::kWidest);

// Result codes for "first slot", "second slot" and paper. With one ink the
// first slot is that ink and the second is never used.
struct SlotCodes {
  std::uint8_t code[3];
};

// Fine grade: Floyd-Steinberg error diffusion, serpentine so that no
// direction drags the error into streaks. Each pixel takes the nearest of
// paper, first slot and second slot (the first on a tie); its error, carried
// for both slots together, goes 7/16 to the pixel ahead and 3/16, 5/16 and
// 1/16 to the cells below behind, below and below ahead, the last share
// taking the rounding so that no error is lost.
class ErrorDiffusion {
 public:
  explicit ErrorDiffusion(std::size_t width, RowPath path = RowPath::kWidest);

  // The next row: `width` pixels whose wanted coverage is the pairs
  // cover[0..2 * width). Even lines (the first is 0) run left to right.
  void Row(const int* cover, std::uint32_t line, SlotCodes slots, std::uint8_t* codes);

 private:
  void PlainRow(const int* cover, bool forward, SlotCodes slots, std::uint8_t* codes);
  void VectorRow(const int* cover, bool forward, SlotCodes slots, std::uint8_t* codes);

  std::size_t width_;
  RowPath path_;
  std::vector<int> error_;  // pairs brought down from the row above, a margin pair each side
  std::vector<int> below_;  // the same, gathered for the next row
  std::vector<int> spent_;  // each pixel's own error, two zero margin pairs each side
};

}  // namespace inkmark::converter
