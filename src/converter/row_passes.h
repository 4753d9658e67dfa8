// The passes over each row that look at pixels one by one, independently of
// their neighbours: measuring them, and the lookups that follow. Each has a
// plain path, which is the reference, and a path on the widest vectors the
// processor has; every path gives the same values.
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

// The finer grades with two inks: each pixel's coverage of either ink.
// `table` is InkSplit::CoverTable().
void CoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
              std::size_t n, int* first, int* second);

// The plain paths, for tests to hold the vector paths to.
namespace plain {
void MeasureRow(const std::uint8_t* px, std::size_t n, const ToneWeights& weights, int* dark,
                std::uint16_t* cell);
void ThresholdRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                  std::size_t n, std::uint8_t* codes);
void CoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
              std::size_t n, int* first, int* second);
}  // namespace plain

}  // namespace inkmark::converter
