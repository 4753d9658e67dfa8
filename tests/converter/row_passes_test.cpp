// The vector paths of the per-row passes against their plain reference, over
// random pixels, every row length around the vector widths, several ink pairs
// and revise levels, and rows of diffusion in both directions.
#include "converter/row_passes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "converter/convert_settings.h"
#include "converter/ink_split.h"
#include "session/session.h"

namespace inkmark::converter {
namespace {

using Inks = std::array<std::int32_t, 2>;

std::vector<std::uint8_t> RandomPixels(std::mt19937& random, std::size_t n) {
  std::vector<std::uint8_t> px(3 * n);
  // Extremes as often as anything else: they sit on the grid's edges.
  std::uniform_int_distribution<int> any(0, 255 + 16);
  for (auto& v : px) {
    const int r = any(random);
    v = static_cast<std::uint8_t>(r > 255 ? (r & 1) * 255 : r);
  }
  return px;
}

TEST(RowPasses, MeasureThresholdAndCoverGiveThePlainValuesOnEveryLength) {
  std::mt19937 random(7);
  const Inks pairs[] = {{kColorBlack, kColorRed}, {kColorBlue, kColorRed}, {kColorRed, 0x808080}};
  const std::array<std::uint32_t, 3> revises[] = {{3, 3, 3}, {1, 5, 2}, {5, 1, 5}};
  for (const Inks& inks : pairs) {
    for (const auto& revise : revises) {
      const ToneWeights weights = WeightsFromRevise(revise);
      const InkSplit split(inks, weights);
      const auto half = split.HalfCoverTable(), cover_table = split.CoverTable();
      for (std::size_t n = 0; n <= 70; ++n) {
        const auto px = RandomPixels(random, n);
        std::vector<int> dark(n), plain_dark(n);
        std::vector<std::uint16_t> cell(n), plain_cell(n);
        MeasureRow(px.data(), n, weights, dark.data(), cell.data());
        MeasureRow(px.data(), n, weights, plain_dark.data(), plain_cell.data(), RowPath::kPlain);
        ASSERT_EQ(dark, plain_dark) << n;
        ASSERT_EQ(cell, plain_cell) << n;
        MeasureRow(px.data(), n, weights, dark.data(), nullptr);
        ASSERT_EQ(dark, plain_dark) << n;

        std::vector<std::uint8_t> codes(n), plain_codes(n);
        ThresholdRow(dark.data(), cell.data(), half.data(), n, codes.data());
        ThresholdRow(dark.data(), cell.data(), half.data(), n, plain_codes.data(), RowPath::kPlain);
        ASSERT_EQ(codes, plain_codes) << n;

        std::vector<int> cover(2 * n), plain_cover(2 * n);
        CoverRow(dark.data(), cell.data(), cover_table.data(), n, cover.data());
        CoverRow(dark.data(), cell.data(), cover_table.data(), n, plain_cover.data(),
                 RowPath::kPlain);
        ASSERT_EQ(cover, plain_cover) << n;
      }
    }
  }
}

TEST(RowPasses, DiffusionGivesThePlainCodesRowAfterRowInBothDirections) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coverage(0, kFullCover);
  const SlotCodes two{{kCodeFirst, kCodeSecond, kCodeWhite}};
  const SlotCodes one{{kCodeSecond, kCodeWhite, kCodeWhite}};
  for (std::size_t width : {1u, 2u, 3u, 17u, 576u}) {
    for (bool two_inks : {true, false}) {
      ErrorDiffusion vectors(width), reference(width, RowPath::kPlain);
      std::vector<int> cover(2 * width);
      std::vector<std::uint8_t> codes(width), plain_codes(width);
      for (std::uint32_t line = 0; line < 40; ++line) {
        for (std::size_t x = 0; x < width; ++x) {
          // Flat runs, solid ink and paper as well as noise.
          const int a = line % 5 == 0 ? kFullCover * (x % 2) : coverage(random);
          const int b = two_inks ? std::min(kFullCover - a, coverage(random)) : 0;
          cover[2 * x] = a;
          cover[2 * x + 1] = b;
        }
        const SlotCodes slots = two_inks ? two : one;
        vectors.Row(cover.data(), line, slots, codes.data());
        reference.Row(cover.data(), line, slots, plain_codes.data());
        ASSERT_EQ(codes, plain_codes) << "width " << width << " line " << line;
      }
    }
  }
}

}  // namespace
}  // namespace inkmark::converter
