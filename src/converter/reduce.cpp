#include "converter/reduce.h"

#include <array>
#include <optional>
#include <vector>

#include "converter/ink_split.h"
#include "converter/row_passes.h"
#include "converter/tone.h"

namespace inkmark::converter {
namespace {

// One row's wanted coverage of the two ink slots, as pairs (first, second).
// With one ink the second of each pair stays 0.
using RowCover = std::vector<int>;

// What every grade measures of a row's pixels first: how dark each is and,
// with two inks, where its colour lies on the share grid. The measuring pass
// has no table lookups, so it runs on whole vectors of pixels; the lookups
// follow in a loop of their own.
struct RowMeasure {
  explicit RowMeasure(std::size_t width) : dark(width), cell(width) {}
  std::vector<int> dark;
  std::vector<std::uint16_t> cell;
};

// The per-pixel measures every grade starts from.
class PixelTone {
 public:
  PixelTone(const ConvertSettings& settings, const ToneWeights& weights) : weights_(weights) {
    if (!settings.two_inks || settings.manual) return;
    const InkSplit split(settings.inks, weights);
    split_table_ = settings.grade == Grade::kCoarse ? split.HalfCoverTable() : split.CoverTable();
  }

  // Darkness of every pixel of a row and, when inks are split, its grid cell.
  void Measure(const std::uint8_t* px, RowMeasure& m) const {
    MeasureRow(px, m.dark.size(), weights_, m.dark.data(), Split() ? m.cell.data() : nullptr);
  }

  // Coverage of both slots along one row.
  void Cover(const RowMeasure& m, RowCover& row) const {
    const std::size_t n = m.dark.size();
    if (Split()) {
      CoverRow(m.dark.data(), m.cell.data(), split_table_.data(), n, row.data());
      return;
    }
    for (std::size_t x = 0; x < n; ++x) row[2 * x] = SnapCover(m.dark[x]);
  }

  // Coarse grade with Automatic attachment: each pixel on its own. At least
  // half covered prints, in the ink that carries more of it (the first on a
  // tie); no pattern, so lettering and logos stay crisp.
  void Threshold(const RowMeasure& m, SlotCodes slots, std::uint8_t* codes) const {
    const std::size_t n = m.dark.size();
    if (Split()) {
      ThresholdRow(m.dark.data(), m.cell.data(), split_table_.data(), n, codes);
      return;
    }
    // Chosen with masks rather than branches: on pictures the choice flips
    // too often for branch prediction.
    const unsigned white = slots.code[2], ink = slots.code[0];
    const int* dark = m.dark.data();
    for (std::size_t x = 0; x < n; ++x) {
      const unsigned inked = 2 * dark[x] >= kFullCover;
      codes[x] = static_cast<std::uint8_t>(white ^ ((white ^ ink) & (0u - inked)));
    }
  }

  // Manual attachment: each brightness level goes where its entry says.
  void ByLevel(const RowMeasure& m, const std::array<std::uint8_t, 8>& levels,
               std::uint8_t* codes) const {
    const std::array<std::uint8_t, 8> code_of = levels;
    const std::size_t n = m.dark.size();
    const int* dark = m.dark.data();
    for (std::size_t x = 0; x < n; ++x) codes[x] = code_of[BrightnessLevel(dark[x])];
  }

 private:
  // With two inks split by colour: the grade's table of the share grid.
  bool Split() const { return !split_table_.empty(); }

  ToneWeights weights_;
  std::vector<std::uint32_t> split_table_;
};

// The 8 x 8 recursive (Bayer) pattern: every threshold level is spread as
// evenly as the grid allows, so flat tones come out as fine regular dots.
constexpr std::uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

// Middle grade: the first slot takes the pattern's lowest thresholds, the
// second the next ones, so both keep their share of each 8 x 8 cell.
void Ordered(const RowCover& row, std::uint32_t line, SlotCodes slots, std::uint8_t* codes) {
  int thresholds[8];
  for (int i = 0; i < 8; ++i) thresholds[i] = (2 * kBayer[line & 7][i] + 1) * kFullCover / 128;
  const std::size_t n = row.size() / 2;
  for (std::size_t x = 0; x < n; ++x) {
    const int t = thresholds[x & 7];
    const int a = row[2 * x];
    // Coverage is never negative, so below a is also below a + b; counted
    // rather than branched on, since the pattern flips the choice every dot.
    const int pick = 2 - (t < a) - (t < a + row[2 * x + 1]);
    codes[x] = slots.code[pick];
  }
}

}  // namespace

void ReduceToInks(const RgbView& picture, const ConvertSettings& settings,
                  const CodeRowSink& sink) {
  const std::size_t width = picture.width;
  const PixelTone tone(settings, WeightsFromRevise(settings.revise));
  const SlotCodes slots = settings.two_inks
                              ? SlotCodes{{kCodeFirst, kCodeSecond, kCodeWhite}}
                              : SlotCodes{{settings.single_ink_code, kCodeWhite, kCodeWhite}};
  std::vector<std::uint8_t> codes(width);
  RowMeasure measure(width);
  RowCover cover(2 * width);
  std::optional<ErrorDiffusion> diffuser;
  if (settings.grade == Grade::kDiffused) diffuser.emplace(width);

  for (std::uint32_t line = 0; line < picture.height; ++line) {
    const std::uint32_t row = picture.height - 1 - line;  // row 0 is the bottom line
    if (row > 0) {
      const std::uint8_t* next = picture.Row(row - 1);
      for (std::size_t at = 0; at < width * 3; at += 64) __builtin_prefetch(next + at);
    }
    tone.Measure(picture.Row(row), measure);
    if (settings.manual) {
      tone.ByLevel(measure, settings.level_codes, codes.data());
    } else if (settings.grade == Grade::kCoarse) {
      tone.Threshold(measure, slots, codes.data());
    } else {
      tone.Cover(measure, cover);
      if (diffuser) {
        diffuser->Row(cover.data(), line, slots, codes.data());
      } else {
        Ordered(cover, line, slots, codes.data());
      }
    }
    sink(row, codes.data());
  }
}

}  // namespace inkmark::converter
