// The passes over each row of pixels: measuring them, the lookups that
// follow, and error diffusion. Each has a plain path, which is the
// reference, and a path on the widest vectors the processor has; every path
// gives the same values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "converter/tone.h"

namespace inkmark::converter {

// Fills dark[0..n) with each pixel's darkness and, when `cell` is not null,
// cell[0..n) with its grid cell (InkSplit::CellOf). `px` holds n pixels of
// three bytes, blue, green, red.
void MeasureRow(const std::uint8_t* px, std::size_t n, const ToneWeights& weights, int* dark,
                std::uint16_t* cell);

// Coarse grade with two inks: a pixel at least half covered prints, in the
// ink that carries more of it (codes 0 and 1); the others are paper (code 2).
// `table` is InkSplit::HalfCoverTable().
void ThresholdRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                  std::size_t n, std::uint8_t* codes);

// The finer grades with two inks: each pixel's coverage of either ink, as
// pairs (first, second) in cover[0..2n). `table` is InkSplit::CoverTable().
void CoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table, std::size_t n,
              int* cover);

// Result codes for "first slot", "second slot" and paper. With one ink the
// first slot is that ink and the second is never used.
struct SlotCodes {
  std::uint8_t code[3];
};

// Fine grade: one row of Floyd-Steinberg error diffusion of n pixels whose
// wanted coverage is the pairs cover[0..2n). Each pixel takes the nearest of
// paper, first slot and second slot (the first on a tie), and its error,
// carried for both slots together, goes 7/16 to the pixel ahead and 3/16,
// 5/16 and 1/16 to the cells below behind, below and below ahead.
// `error` holds the pairs of error brought down from the row above, with one
// margin pair each side (n + 2 pairs); `below` receives the same for the next
// row, every pair of it written. Rows run left to right when `forward`.
void DiffuseRow(const int* cover, const int* error, int* below, std::size_t n, bool forward,
                SlotCodes slots, std::uint8_t* codes);

// The plain paths, for tests to hold the vector paths to.
namespace plain {
void MeasureRow(const std::uint8_t* px, std::size_t n, const ToneWeights& weights, int* dark,
                std::uint16_t* cell);
void ThresholdRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                  std::size_t n, std::uint8_t* codes);
void CoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table, std::size_t n,
              int* cover);
void DiffuseRow(const int* cover, const int* error, int* below, std::size_t n, bool forward,
                SlotCodes slots, std::uint8_t* codes);
}  // namespace plain

}  // namespace inkmark::converter
