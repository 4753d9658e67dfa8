#include "converter/ink_split.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace inkmark::converter {
namespace {

constexpr int kGrid = 32;

struct Absorb {
  double r, g, b;
};

// How much light a colour takes from white paper, per channel, 0 to 1.
Absorb AbsorbOf(double red, double green, double blue) {
  return {1.0 - red / 255.0, 1.0 - green / 255.0, 1.0 - blue / 255.0};
}

Absorb AbsorbOfInk(std::int32_t ink) {
  auto u = static_cast<std::uint32_t>(ink);
  return AbsorbOf(u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF);
}

double Dot(const Absorb& x, const Absorb& y) { return x.r * y.r + x.g * y.g + x.b * y.b; }

// Writes the pixel as `second * s + first * f` (s, f >= 0) by least squares
// and returns s / (s + f): the part of the colour that looks like the second
// ink. Inks that cannot be told apart leave everything to the first.
double SecondShare(const Absorb& pixel, const Absorb& first, const Absorb& second) {
  const double ss = Dot(second, second), ff = Dot(first, first), sf = Dot(second, first);
  const double sp = Dot(second, pixel), fp = Dot(first, pixel);
  constexpr double kTiny = 1e-9;
  if (ss < kTiny) return 0.0;
  if (ff < kTiny) return 1.0;
  const double det = ss * ff - sf * sf;
  double s = 0, f = 0;
  if (det < 1e-6 * ss * ff) {
    f = fp / ff;
  } else {
    s = (ff * sp - sf * fp) / det;
    f = (ss * fp - sf * sp) / det;
    if (s < 0) {
      s = 0;
      f = fp / ff;
    } else if (f < 0) {
      f = 0;
      s = sp / ss;
    }
  }
  s = std::max(s, 0.0);
  f = std::max(f, 0.0);
  if (s + f < kTiny) return 0.0;
  return s / (s + f);
}

// The share of every grid colour for one ink pair.
std::vector<std::uint8_t> ShareTable(const std::array<std::int32_t, 2>& inks) {
  const Absorb first = AbsorbOfInk(inks[0]);
  const Absorb second = AbsorbOfInk(inks[1]);
  std::vector<std::uint8_t> table(kGrid * kGrid * kGrid);
  for (int r = 0; r < kGrid; ++r) {
    for (int g = 0; g < kGrid; ++g) {
      for (int b = 0; b < kGrid; ++b) {
        constexpr double kStep = 255.0 / (kGrid - 1);
        double share = SecondShare(AbsorbOf(r * kStep, g * kStep, b * kStep), first, second);
        // A colour mostly of one ink's hue prints in that ink alone: a deeper
        // red takes more red, not a scatter of black dots, and a trace of
        // the other hue is noise rather than a reason to mix inks.
        if (share < 0.2) share = 0;
        if (share > 0.8) share = 1;
        table[(r << 10) | (g << 5) | b] =
            static_cast<std::uint8_t>(std::lround(share * InkSplit::kShareSteps));
      }
    }
  }
  return table;
}

}  // namespace

InkSplit::InkSplit(const std::array<std::int32_t, 2>& inks, const ToneWeights& weights) {
  // The table depends on the inks alone, and every slider move converts again
  // with the same pair: the last one is kept.
  thread_local std::array<std::int32_t, 2> cached_inks{};
  thread_local std::shared_ptr<const std::vector<std::uint8_t>> cached;
  if (!cached || cached_inks != inks) {
    cached = std::make_shared<const std::vector<std::uint8_t>>(ShareTable(inks));
    cached_inks = inks;
  }
  share_ = cached;
  // An ink lighter than this would call for impossible coverage; its share
  // of the darkness is capped instead.
  const double floor_darkness = kFullCover / 15.0;
  const double d1 = std::max<double>(InkDarkness(weights, inks[0]), floor_darkness);
  const double d2 = std::max<double>(InkDarkness(weights, inks[1]), floor_darkness);
  for (unsigned s = 0; s <= kShareSteps; ++s) {
    const double mixed = (s * d2 + (kShareSteps - s) * d1) / kShareSteps;
    gain_[s] = static_cast<std::uint32_t>(std::lround(4096.0 * kFullCover / mixed));
    // Smallest darkness whose total, as CoverOf rounds it, reaches half.
    const std::uint32_t needed = (kFullCover / 2) * 4096u - 2048u;
    half_darkness_[s] = static_cast<int>((needed + gain_[s] - 1) / gain_[s]);
  }
}

std::vector<std::uint32_t> InkSplit::HalfCoverTable() const {
  std::vector<std::uint32_t> table(kCells);
  for (unsigned cell = 0; cell < kCells; ++cell) {
    const unsigned share = (*share_)[cell];
    table[cell] = static_cast<std::uint32_t>(half_darkness_[share]) |
                  (share > kShareSteps / 2 ? 1u << 16 : 0u);
  }
  return table;
}

std::vector<std::uint32_t> InkSplit::CoverTable() const {
  std::vector<std::uint32_t> table(kCells);
  for (unsigned cell = 0; cell < kCells; ++cell) {
    const unsigned share = (*share_)[cell];
    table[cell] = gain_[share] << 8 | share;
  }
  return table;
}

}  // namespace inkmark::converter
