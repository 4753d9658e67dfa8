#include "converter/resample.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace inkmark::converter {
namespace {

// Filter weights are fixed point with this many fraction bits; every output
// coordinate's weights sum to exactly 1 << kWeightBits.
constexpr int kWeightBits = 14;
constexpr std::int64_t kWeightOne = std::int64_t{1} << kWeightBits;

// For each output coordinate along one axis: the first source index it reads
// and its run of weights.
struct AxisTaps {
  std::vector<std::uint32_t> first;
  std::vector<std::uint32_t> begin{0};  // into weights; coordinate i ends at begin[i + 1]
  std::vector<std::int32_t> weights;

  void Add(std::uint32_t source_index, std::vector<std::int32_t>& run) {
    first.push_back(source_index);
    weights.insert(weights.end(), run.begin(), run.end());
    begin.push_back(static_cast<std::uint32_t>(weights.size()));
    run.clear();
  }
};

// Output pixel i covers source span [i*src/dst, (i+1)*src/dst); each source
// pixel weighs by how much of it lies inside. Lengths are counted in units of
// 1/dst source pixels, so they stay whole numbers. The weights are rounded on
// the running total, so they sum to exactly one and a pixel's weight never
// strays by more than one step, even when thousands share an output pixel.
AxisTaps AreaTaps(std::uint32_t src, std::uint32_t dst) {
  AxisTaps taps;
  std::vector<std::int32_t> run;
  for (std::uint32_t i = 0; i < dst; ++i) {
    const std::uint64_t lo = std::uint64_t{i} * src;
    const std::uint64_t hi = lo + src;
    const auto s0 = static_cast<std::uint32_t>(lo / dst);
    const auto s1 = static_cast<std::uint32_t>((hi - 1) / dst);
    std::int64_t given = 0;
    for (std::uint32_t s = s0; s <= s1; ++s) {
      const std::uint64_t covered = std::min<std::uint64_t>(hi, std::uint64_t{s + 1} * dst) - lo;
      const auto total = static_cast<std::int64_t>((covered * kWeightOne + src / 2) / src);
      run.push_back(static_cast<std::int32_t>(total - given));
      given = total;
    }
    taps.Add(s0, run);
  }
  return taps;
}

// Centres line up: output pixel i samples source position (i + 0.5) * src/dst
// - 0.5, between its two neighbours; the edges repeat the border pixel.
AxisTaps BilinearTaps(std::uint32_t src, std::uint32_t dst) {
  AxisTaps taps;
  std::vector<std::int32_t> run;
  for (std::uint32_t i = 0; i < dst; ++i) {
    std::int64_t num =
        (2 * std::int64_t{i} + 1) * src * kWeightOne - std::int64_t{dst} * kWeightOne;
    std::int64_t pos = num >= 0 ? num / (2 * std::int64_t{dst}) : 0;
    auto s0 = static_cast<std::uint32_t>(pos >> kWeightBits);
    auto frac = static_cast<std::int32_t>(pos & (kWeightOne - 1));
    if (s0 >= src - 1) {
      run.push_back(static_cast<std::int32_t>(kWeightOne));
      taps.Add(src - 1, run);
    } else if (frac == 0) {
      run.push_back(static_cast<std::int32_t>(kWeightOne));
      taps.Add(s0, run);
    } else {
      run.push_back(static_cast<std::int32_t>(kWeightOne - frac));
      run.push_back(frac);
      taps.Add(s0, run);
    }
  }
  return taps;
}

AxisTaps IdentityTaps(std::uint32_t n) {
  AxisTaps taps;
  std::vector<std::int32_t> run;
  for (std::uint32_t i = 0; i < n; ++i) {
    run.push_back(static_cast<std::int32_t>(kWeightOne));
    taps.Add(i, run);
  }
  return taps;
}

// blend[i] += weight * row[i]; in blocks of fixed length, which the compiler
// turns into vector code even at its plainest optimisation setting.
void AddWeightedRow(std::uint32_t* __restrict blend, const std::uint8_t* __restrict row,
                    std::uint32_t weight, std::size_t n) {
  constexpr std::size_t kBlock = 16;
  std::size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    for (std::size_t k = 0; k < kBlock; ++k) blend[i + k] += weight * row[i + k];
  }
  for (; i < n; ++i) blend[i] += weight * row[i];
}

// column[i] = blend[i] with 6 of the 14 fraction bits dropped, rounded.
void NarrowRow(std::uint16_t* __restrict column, const std::uint32_t* __restrict blend,
               std::size_t n) {
  constexpr std::size_t kBlock = 16;
  std::size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    for (std::size_t k = 0; k < kBlock; ++k) {
      column[i + k] = static_cast<std::uint16_t>((blend[i + k] + (1u << 5)) >> 6);
    }
  }
  for (; i < n; ++i) column[i] = static_cast<std::uint16_t>((blend[i] + (1u << 5)) >> 6);
}

AxisTaps TapsFor(std::uint32_t src, std::uint32_t dst) {
  if (dst < src) return AreaTaps(src, dst);
  if (dst > src) return BilinearTaps(src, dst);
  return IdentityTaps(dst);
}

}  // namespace

RgbImage Resample(const RgbView& src, std::uint32_t width, std::uint32_t height) {
  return *Resample(
      src.width, src.height, [&src](std::uint32_t r) { return src.Row(r); }, width, height);
}

std::optional<RgbImage> Resample(std::uint32_t src_width, std::uint32_t src_height,
                                 const SourceRows& rows, std::uint32_t width,
                                 std::uint32_t height) {
  RgbImage out;
  out.width = width;
  out.height = height;
  out.pixels.resize(std::size_t{width} * height * 3);
  AxisTaps xs = TapsFor(src_width, width);
  AxisTaps ys = TapsFor(src_height, height);

  // One output row at a time: first the source rows are blended into one row
  // of source width (8 more fraction bits kept), then that row is filtered
  // across. The sums stay inside 32 bits: 255 << 8 times 1 << 14.
  const std::size_t src_values = std::size_t{src_width} * 3;
  std::vector<std::uint32_t> blend(src_values);
  std::vector<std::uint16_t> column(src_values);
  for (std::uint32_t y = 0; y < height; ++y) {
    std::fill(blend.begin(), blend.end(), 0u);
    const std::int32_t* wy = &ys.weights[ys.begin[y]];
    const std::uint32_t taps_y = ys.begin[y + 1] - ys.begin[y];
    for (std::uint32_t k = 0; k < taps_y; ++k) {
      const std::uint8_t* row = rows(ys.first[y] + k);
      if (row == nullptr) return std::nullopt;
      AddWeightedRow(blend.data(), row, static_cast<std::uint32_t>(wy[k]), src_values);
    }
    NarrowRow(column.data(), blend.data(), src_values);
    std::uint8_t* dst = &out.pixels[std::size_t{y} * width * 3];
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint32_t b0 = xs.begin[x];
      const std::uint32_t b1 = xs.begin[x + 1];
      const std::uint16_t* p = &column[std::size_t{xs.first[x]} * 3];
      std::uint32_t sb = 0, sg = 0, sr = 0;
      for (std::uint32_t k = b0; k < b1; ++k, p += 3) {
        const auto w = static_cast<std::uint32_t>(xs.weights[k]);
        sb += w * p[0];
        sg += w * p[1];
        sr += w * p[2];
      }
      constexpr std::uint32_t kRound = 1u << 21;
      dst[0] = static_cast<std::uint8_t>((sb + kRound) >> 22);
      dst[1] = static_cast<std::uint8_t>((sg + kRound) >> 22);
      dst[2] = static_cast<std::uint8_t>((sr + kRound) >> 22);
      dst += 3;
    }
  }
  return out;
}

}  // namespace inkmark::converter
