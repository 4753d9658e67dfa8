#include "converter/reduce.h"

#include <array>
#include <optional>
#include <vector>

#include "converter/ink_split.h"
#include "converter/row_passes.h"
#include "converter/tone.h"

namespace inkmark::converter {
namespace {

// Result codes for "first slot", "second slot" and paper. With one ink the
// first slot is that ink and the second is never used.
struct SlotCodes {
  std::uint8_t code[3];
};

// One row's wanted coverage of the two ink slots.
struct RowCover {
  std::vector<int> first;
  std::vector<int> second;
};

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
    const std::size_t n = row.first.size();
    if (Split()) {
      CoverRow(m.dark.data(), m.cell.data(), split_table_.data(), n, row.first.data(),
               row.second.data());
      return;
    }
    for (std::size_t x = 0; x < n; ++x) row.first[x] = SnapCover(m.dark[x]);
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
  const std::size_t n = row.first.size();
  for (std::size_t x = 0; x < n; ++x) {
    const int t = thresholds[x & 7];
    const int a = row.first[x];
    const int pick = t < a ? 0 : (t < a + row.second[x] ? 1 : 2);
    codes[x] = slots.code[pick];
  }
}

// Fine grade: Floyd-Steinberg error diffusion, serpentine so that no
// direction drags the error into streaks. With two inks the error of both
// coverages is carried together and each pixel takes the nearest of paper,
// first ink and second ink. Errors bound for the pixel ahead and the row
// below are kept in registers; each cell of the next row is written once.
class Diffuser {
 public:
  Diffuser(std::size_t width, bool two_slots)
      : width_(width), two_(two_slots), cur_(2 * (width + 2)), next_(2 * (width + 2)) {}

  void Row(const RowCover& row, std::uint32_t line, SlotCodes slots, std::uint8_t* codes) {
    if (two_) {
      RowOf<true>(row, line, slots, codes);
    } else {
      RowOf<false>(row, line, slots, codes);
    }
  }

 private:
  // One row; built once for each number of slots, so that the loop does not
  // ask for every pixel.
  template <bool two>
  void RowOf(const RowCover& row, std::uint32_t line, SlotCodes slots, std::uint8_t* codes) {
    const bool forward = (line & 1) == 0;
    const std::ptrdiff_t step = forward ? 1 : -1;
    std::ptrdiff_t x = forward ? 0 : static_cast<std::ptrdiff_t>(width_) - 1;
    // Per slot: error for the pixel ahead, and the two open cells below.
    Carry a, b;
    int* cur = cur_.data();
    int* next = next_.data();
    const int* first = row.first.data();
    const int* second = row.second.data();
    const std::size_t width = width_;
    for (std::size_t i = 0; i < width; ++i, x += step) {
      const std::size_t e = 2 * static_cast<std::size_t>(x + 1);  // a margin cell each side
      const int va = first[x] + cur[e] + a.ahead;
      const int vb = two ? second[x] + cur[e + 1] + b.ahead : 0;
      const bool take_a = va >= vb && 2 * va > kFullCover;
      const bool take_b = va < vb && 2 * vb > kFullCover;
      codes[x] = slots.code[take_a ? 0 : (take_b ? 1 : 2)];
      const std::size_t behind =
          static_cast<std::size_t>(static_cast<std::ptrdiff_t>(e) - 2 * step);
      a.Spread(va - (take_a ? kFullCover : 0), next + behind);
      if constexpr (two) b.Spread(vb - (take_b ? kFullCover : 0), next + behind + 1);
    }
    // Flush the cells below the last pixel and the margin beyond it.
    const std::size_t last = 2 * static_cast<std::size_t>(x - step + 1);
    a.Flush(next + last,
            next + static_cast<std::size_t>(static_cast<std::ptrdiff_t>(last) + 2 * step));
    b.Flush(next + last + 1,
            next + static_cast<std::size_t>(static_cast<std::ptrdiff_t>(last) + 2 * step) + 1);
    cur_.swap(next_);
  }

  struct Carry {
    int ahead = 0;   // 7/16 of the last error, for the next pixel
    int below = 0;   // gathered so far for the cell below the last pixel
    int beyond = 0;  // gathered so far for the cell below the next pixel

    // 7/16 ahead, 3/16 below behind, 5/16 below, 1/16 below ahead; the last
    // share takes the rounding so that no error is lost. The cell below
    // behind is complete after this pixel and is written out.
    void Spread(int err, int* below_behind) {
      const int seven = (err * 7) >> 4, three = (err * 3) >> 4, five = (err * 5) >> 4;
      *below_behind = below + three;
      below = beyond + five;
      beyond = err - seven - three - five;
      ahead = seven;
    }
    void Flush(int* under_last, int* margin) const {
      *under_last = below;
      *margin = beyond;
    }
  };

  std::size_t width_;
  bool two_;
  std::vector<int> cur_;  // two slots interleaved, one margin cell each side
  std::vector<int> next_;
};

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
  RowCover cover{std::vector<int>(width), std::vector<int>(width)};
  std::optional<Diffuser> diffuser;
  if (settings.grade == Grade::kDiffused) diffuser.emplace(width, settings.two_inks);

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
        diffuser->Row(cover, line, slots, codes.data());
      } else {
        Ordered(cover, line, slots, codes.data());
      }
    }
    sink(row, codes.data());
  }
}

}  // namespace inkmark::converter
