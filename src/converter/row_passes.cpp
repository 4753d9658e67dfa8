#include "converter/row_passes.h"

#include "converter/convert_settings.h"
#include "converter/ink_split.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define INKMARK_ROW_PASSES_X86 1
#endif

namespace inkmark::converter {

static_assert(kCodeFirst == 0 && kCodeSecond == 1 && kCodeWhite == 2,
              "the lookups give the ink codes as numbers");

namespace {

void PlainMeasureRow(const std::uint8_t* px, std::size_t n, const ToneWeights& weights, int* dark,
                     std::uint16_t* cell) {
  for (std::size_t x = 0; x < n; ++x) {
    dark[x] = weights.Darkness(px[3 * x], px[3 * x + 1], px[3 * x + 2]);
  }
  if (cell == nullptr) return;
  for (std::size_t x = 0; x < n; ++x) {
    cell[x] = static_cast<std::uint16_t>(InkSplit::CellOf(px[3 * x], px[3 * x + 1], px[3 * x + 2]));
  }
}

void PlainThresholdRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                       std::size_t n, std::uint8_t* codes) {
  for (std::size_t x = 0; x < n; ++x) {
    const std::uint32_t entry = table[cell[x]];
    const bool inked = dark[x] >= static_cast<int>(entry & 0xFFFFu);
    codes[x] = static_cast<std::uint8_t>(inked ? entry >> 16 : kCodeWhite);
  }
}

void PlainCoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                   std::size_t n, int* cover) {
  for (std::size_t x = 0; x < n; ++x) {
    const InkCover c = InkSplit::CoverOf(table[cell[x]], dark[x]);
    cover[2 * x] = c.first;
    cover[2 * x + 1] = c.second;
  }
}

}  // namespace

#ifdef INKMARK_ROW_PASSES_X86
namespace {

#define INKMARK_AVX2 __attribute__((target("avx2")))

// Byte shuffles that gather one channel of 16 pixels (48 bytes, loaded as
// three 16-byte parts) into one vector: mask k takes from part k the bytes of
// the channel that lie in it, in pixel order, and zero elsewhere.
struct ChannelMasks {
  alignas(16) std::uint8_t mask[3][3][16];  // [channel][part][lane]
};

constexpr ChannelMasks MakeChannelMasks() {
  ChannelMasks m{};
  for (int c = 0; c < 3; ++c) {
    for (int part = 0; part < 3; ++part) {
      for (int lane = 0; lane < 16; ++lane) {
        const int at = 3 * lane + c - 16 * part;
        m.mask[c][part][lane] = at >= 0 && at < 16 ? static_cast<std::uint8_t>(at) : 0x80;
      }
    }
  }
  return m;
}

constexpr ChannelMasks kChannelMasks = MakeChannelMasks();

INKMARK_AVX2 inline __m128i Mask(int c, int part) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(kChannelMasks.mask[c][part]));
}

INKMARK_AVX2 inline __m128i Channel(int c, __m128i p0, __m128i p1, __m128i p2) {
  return _mm_or_si128(
      _mm_or_si128(_mm_shuffle_epi8(p0, Mask(c, 0)), _mm_shuffle_epi8(p1, Mask(c, 1))),
      _mm_shuffle_epi8(p2, Mask(c, 2)));
}

// Darkness of 8 pixels whose inverted channels are the low 8 bytes of each
// argument: the weighted sum in 32-bit lanes, rounded to coverage units.
INKMARK_AVX2 inline __m256i Darkness8(__m128i inv_b, __m128i inv_g, __m128i inv_r,
                                      const ToneWeights& w) {
  __m256i sum =
      _mm256_mullo_epi32(_mm256_cvtepu8_epi32(inv_r), _mm256_set1_epi32(static_cast<int>(w.r)));
  sum = _mm256_add_epi32(sum, _mm256_mullo_epi32(_mm256_cvtepu8_epi32(inv_g),
                                                 _mm256_set1_epi32(static_cast<int>(w.g))));
  sum = _mm256_add_epi32(sum, _mm256_mullo_epi32(_mm256_cvtepu8_epi32(inv_b),
                                                 _mm256_set1_epi32(static_cast<int>(w.b))));
  return _mm256_srli_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(1 << 11)), 12);
}

INKMARK_AVX2 void MeasureRowAvx2(const std::uint8_t* px, std::size_t n, const ToneWeights& weights,
                                 int* dark, std::uint16_t* cell) {
  const __m128i all = _mm_set1_epi8(-1);
  const __m128i top5 = _mm_set1_epi8(static_cast<char>(0xF8));
  std::size_t x = 0;
  for (; x + 16 <= n; x += 16) {
    const auto* p = reinterpret_cast<const __m128i*>(px + 3 * x);
    const __m128i p0 = _mm_loadu_si128(p), p1 = _mm_loadu_si128(p + 1), p2 = _mm_loadu_si128(p + 2);
    const __m128i b = Channel(0, p0, p1, p2), g = Channel(1, p0, p1, p2),
                  r = Channel(2, p0, p1, p2);
    // 255 - v is v with every bit flipped.
    const __m128i ib = _mm_xor_si128(b, all), ig = _mm_xor_si128(g, all),
                  ir = _mm_xor_si128(r, all);
    auto* out = reinterpret_cast<__m256i*>(dark + x);
    _mm256_storeu_si256(out, Darkness8(ib, ig, ir, weights));
    _mm256_storeu_si256(out + 1, Darkness8(_mm_srli_si128(ib, 8), _mm_srli_si128(ig, 8),
                                           _mm_srli_si128(ir, 8), weights));
    if (cell != nullptr) {
      const __m256i rr = _mm256_slli_epi16(_mm256_cvtepu8_epi16(_mm_and_si128(r, top5)), 7);
      const __m256i gg = _mm256_slli_epi16(_mm256_cvtepu8_epi16(_mm_and_si128(g, top5)), 2);
      const __m256i bb = _mm256_srli_epi16(_mm256_cvtepu8_epi16(b), 3);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(cell + x),
                          _mm256_or_si256(_mm256_or_si256(rr, gg), bb));
    }
  }
  PlainMeasureRow(px + 3 * x, n - x, weights, dark + x, cell == nullptr ? nullptr : cell + x);
}

// The table entries of 8 pixels' cells.
INKMARK_AVX2 inline __m256i Entries8(const std::uint16_t* cell, const std::uint32_t* table) {
  const __m256i index =
      _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cell)));
  return _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), index, 4);
}

INKMARK_AVX2 inline __m256i Load8(const int* v) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v));
}

INKMARK_AVX2 inline __m256i Threshold8(const int* dark, const std::uint16_t* cell,
                                       const std::uint32_t* table) {
  const __m256i entry = Entries8(cell, table);
  const __m256i half = _mm256_and_si256(entry, _mm256_set1_epi32(0xFFFF));
  const __m256i paper = _mm256_cmpgt_epi32(half, Load8(dark));
  return _mm256_blendv_epi8(_mm256_srli_epi32(entry, 16), _mm256_set1_epi32(kCodeWhite), paper);
}

INKMARK_AVX2 void ThresholdRowAvx2(const int* dark, const std::uint16_t* cell,
                                   const std::uint32_t* table, std::size_t n, std::uint8_t* codes) {
  std::size_t x = 0;
  for (; x + 16 <= n; x += 16) {
    // Two runs of 8 codes to 16-bit lanes (the packing works within each
    // half of the vector, so the quarters are put back in order), then bytes.
    const __m256i words =
        _mm256_permute4x64_epi64(_mm256_packs_epi32(Threshold8(dark + x, cell + x, table),
                                                    Threshold8(dark + x + 8, cell + x + 8, table)),
                                 0xD8);
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(codes + x),
        _mm_packs_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1)));
  }
  PlainThresholdRow(dark + x, cell + x, table, n - x, codes + x);
}

// Coverage pairs of 8 pixels from their darkness and table entries.
INKMARK_AVX2 inline void Cover8(__m256i entry, const int* dark, int* cover) {
  constexpr int kSnap = kFullCover / 100;
  const __m256i full = _mm256_set1_epi32(kFullCover);
  const __m256i gain = _mm256_srli_epi32(entry, 8);
  const __m256i share = _mm256_and_si256(entry, _mm256_set1_epi32(0xFF));
  __m256i total = _mm256_srli_epi32(
      _mm256_add_epi32(_mm256_mullo_epi32(Load8(dark), gain), _mm256_set1_epi32(2048)), 12);
  total = _mm256_min_epi32(total, full);
  // Within 1% of paper or of solid ink is exactly that (SnapCover).
  total = _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(kSnap), total), total);
  total = _mm256_blendv_epi8(total, full,
                             _mm256_cmpgt_epi32(total, _mm256_set1_epi32(kFullCover - kSnap)));
  static_assert(InkSplit::kShareSteps == 1 << 6);
  const __m256i two =
      _mm256_srli_epi32(_mm256_add_epi32(_mm256_mullo_epi32(total, share),
                                         _mm256_set1_epi32(InkSplit::kShareSteps / 2)),
                        6);
  const __m256i one = _mm256_sub_epi32(total, two);
  // Pairs: the lanes interleave within each half, then the halves are put
  // in order.
  const __m256i low = _mm256_unpacklo_epi32(one, two), high = _mm256_unpackhi_epi32(one, two);
  auto* out = reinterpret_cast<__m256i*>(cover);
  _mm256_storeu_si256(out, _mm256_permute2x128_si256(low, high, 0x20));
  _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(low, high, 0x31));
}

INKMARK_AVX2 void CoverRowAvx2(const int* dark, const std::uint16_t* cell,
                               const std::uint32_t* table, std::size_t n, int* cover) {
  std::size_t x = 0;
  for (; x + 16 <= n; x += 16) {
    // Both lookups first: each is slow to arrive, and they overlap.
    const __m256i first = Entries8(cell + x, table), second = Entries8(cell + x + 8, table);
    Cover8(first, dark + x, cover + 2 * x);
    Cover8(second, dark + x + 8, cover + 2 * x + 16);
  }
  PlainCoverRow(dark + x, cell + x, table, n - x, cover + 2 * x);
}

bool HasAvx2() {
  static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
  return has;
}

}  // namespace
#endif

void MeasureRow(const std::uint8_t* px, std::size_t n, const ToneWeights& weights, int* dark,
                std::uint16_t* cell, [[maybe_unused]] RowPath path) {
#ifdef INKMARK_ROW_PASSES_X86
  if (path == RowPath::kWidest && HasAvx2()) return MeasureRowAvx2(px, n, weights, dark, cell);
#endif
  PlainMeasureRow(px, n, weights, dark, cell);
}

void ThresholdRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                  std::size_t n, std::uint8_t* codes, [[maybe_unused]] RowPath path) {
#ifdef INKMARK_ROW_PASSES_X86
  if (path == RowPath::kWidest && HasAvx2()) return ThresholdRowAvx2(dark, cell, table, n, codes);
#endif
  PlainThresholdRow(dark, cell, table, n, codes);
}

void CoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table, std::size_t n,
              int* cover, [[maybe_unused]] RowPath path) {
#ifdef INKMARK_ROW_PASSES_X86
  if (path == RowPath::kWidest && HasAvx2()) return CoverRowAvx2(dark, cell, table, n, cover);
#endif
  PlainCoverRow(dark, cell, table, n, cover);
}

namespace {

// One slot's error on its way: for the pixel ahead, and the two cells below
// that are still open.
struct Carry {
  int ahead = 0;   // 7/16 of the last error, for the next pixel
  int under = 0;   // gathered so far for the cell below the last pixel
  int beyond = 0;  // gathered so far for the cell below the next pixel

  // The error of a pixel of coverage `v`, solid ink when `taken` is 1. The
  // cell below behind is complete after this pixel and is written out.
  void Spread(int v, int taken, int* below_behind) {
    const int err = v - (kFullCover & -taken);
    const int seven = (err * 7) >> 4, three = (err * 3) >> 4, five = (err * 5) >> 4;
    *below_behind = under + three;
    under = beyond + five;
    beyond = err - seven - three - five;
    ahead = seven;
  }
};

#ifdef INKMARK_ROW_PASSES_X86
// The shares of an error: 3/16, 5/16, and what is left after 7/16 of it.
int Three(int err) { return (err * 3) >> 4; }
int Five(int err) { return (err * 5) >> 4; }
int Rest(int err) { return err - ((err * 7) >> 4) - Three(err) - Five(err); }

// The cells below a row from its pixels' errors: `spent` is the pairs of the
// row's errors with two zero margin pairs each side, `below` receives
// count = 2 * (width + 2) values. Each cell takes 3/16 of the pixel after
// it, 5/16 of its own and the rest of the one before it, counted in the
// row's direction; the loop has no lookups or branches, so it runs on whole
// vectors.
template <int kStep>
__attribute__((always_inline)) inline void GatherBelow(const int* __restrict spent,
                                                       int* __restrict below, std::size_t count) {
  const int* own = spent + 2;
  const auto end = static_cast<std::ptrdiff_t>(count);
  for (std::ptrdiff_t i = 0; i < end; ++i) {
    below[i] = Three(own[i + 2 * kStep]) + Five(own[i]) + Rest(own[i - 2 * kStep]);
  }
}

// The same built for the wider vectors.
INKMARK_AVX2 void GatherBelowAvx2(const int* spent, int* below, std::size_t count, bool forward) {
  if (forward) return GatherBelow<1>(spent, below, count);
  GatherBelow<-1>(spent, below, count);
}

// The row with both slots of a pixel in the two low lanes of one vector. The
// loop only waits on the error for the pixel ahead: 7/16 of it is taken from
// the coverage, and solid ink, a whole number of sixteenths, comes off
// exactly afterwards, so that it need not wait for the choice of ink. The
// shares for the row below are gathered afterwards.
template <int kStep>
__attribute__((always_inline)) inline void DiffuseVectors(const int* cover, const int* error,
                                                          int* spent, std::size_t n,
                                                          SlotCodes slots, std::uint8_t* codes) {
  static_assert(kFullCover % 16 == 0);
  // The code by which slots print: none, the first, the second.
  const std::uint8_t code_of[4] = {slots.code[2], slots.code[0], slots.code[1], slots.code[2]};
  const auto load = [](const int* pair) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pair));
  };
  const __m128i half = _mm_set1_epi32(kFullCover / 2);
  const __m128i full = _mm_set1_epi32(kFullCover);
  const __m128i full_seven = _mm_set1_epi32(kFullCover * 7 / 16);
  const __m128i tie_to_first = _mm_setr_epi32(1, 0, 0, 0);
  __m128i ahead = _mm_setzero_si128();
  std::ptrdiff_t x = kStep > 0 ? 0 : static_cast<std::ptrdiff_t>(n) - 1;
  for (std::size_t i = 0; i < n; ++i, x += kStep) {
    const __m128i v =
        _mm_add_epi32(_mm_add_epi32(load(cover + 2 * x), load(error + 2 * (x + 1))), ahead);
    // The first slot prints when it wants at least as much as the second,
    // the second when it wants more; either only past half.
    const __m128i other = _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 2, 0, 1));
    const __m128i taken = _mm_and_si128(_mm_cmpgt_epi32(_mm_add_epi32(v, tie_to_first), other),
                                        _mm_cmpgt_epi32(v, half));
    codes[x] = code_of[_mm_movemask_ps(_mm_castsi128_ps(taken)) & 3];
    _mm_storel_epi64(reinterpret_cast<__m128i*>(spent + 2 * (x + 2)),
                     _mm_sub_epi32(v, _mm_and_si128(taken, full)));
    ahead = _mm_sub_epi32(_mm_srai_epi32(_mm_sub_epi32(_mm_slli_epi32(v, 3), v), 4),
                          _mm_and_si128(taken, full_seven));
  }
}

// The same in the newer encoding, which needs no register copies.
INKMARK_AVX2 void DiffuseVectorsAvx2(const int* cover, const int* error, int* spent, std::size_t n,
                                     bool forward, SlotCodes slots, std::uint8_t* codes) {
  if (forward) return DiffuseVectors<1>(cover, error, spent, n, slots, codes);
  DiffuseVectors<-1>(cover, error, spent, n, slots, codes);
}
#endif

}  // namespace

ErrorDiffusion::ErrorDiffusion(std::size_t width, RowPath path)
    : width_(width),
      path_(path),
      error_(2 * (width + 2)),
      below_(2 * (width + 2)),
      spent_(2 * (width + 4)) {}

void ErrorDiffusion::Row(const int* cover, std::uint32_t line, SlotCodes slots,
                         std::uint8_t* codes) {
  const bool forward = (line & 1) == 0;
  if (path_ == RowPath::kPlain) {
    PlainRow(cover, forward, slots, codes);
  } else {
    VectorRow(cover, forward, slots, codes);
  }
  error_.swap(below_);
}

void ErrorDiffusion::VectorRow(const int* cover, bool forward, SlotCodes slots,
                               std::uint8_t* codes) {
#ifdef INKMARK_ROW_PASSES_X86
  if (HasAvx2()) {
    DiffuseVectorsAvx2(cover, error_.data(), spent_.data(), width_, forward, slots, codes);
    GatherBelowAvx2(spent_.data(), below_.data(), below_.size(), forward);
  } else if (forward) {
    DiffuseVectors<1>(cover, error_.data(), spent_.data(), width_, slots, codes);
    GatherBelow<1>(spent_.data(), below_.data(), below_.size());
  } else {
    DiffuseVectors<-1>(cover, error_.data(), spent_.data(), width_, slots, codes);
    GatherBelow<-1>(spent_.data(), below_.data(), below_.size());
  }
#else
  PlainRow(cover, forward, slots, codes);
#endif
}

void ErrorDiffusion::PlainRow(const int* cover, bool forward, SlotCodes slots,
                              std::uint8_t* codes) {
  const int* error = error_.data();
  int* below = below_.data();
  const std::ptrdiff_t step = forward ? 1 : -1;
  std::ptrdiff_t x = forward ? 0 : static_cast<std::ptrdiff_t>(width_) - 1;
  Carry a, b;
  for (std::size_t i = 0; i < width_; ++i, x += step) {
    const std::ptrdiff_t e = 2 * (x + 1);  // a margin pair each side
    const int va = cover[2 * x] + error[e] + a.ahead;
    const int vb = cover[2 * x + 1] + error[e + 1] + b.ahead;
    const int take_a = (va >= vb) & (2 * va > kFullCover);
    const int take_b = (va < vb) & (2 * vb > kFullCover);
    codes[x] = slots.code[2 - 2 * take_a - take_b];
    a.Spread(va, take_a, below + e - 2 * step);
    b.Spread(vb, take_b, below + e - 2 * step + 1);
  }
  // The cells below the last pixel and the margin beyond it.
  const std::ptrdiff_t last = 2 * (x - step + 1);
  below[last] = a.under;
  below[last + 1] = b.under;
  below[last + 2 * step] = a.beyond;
  below[last + 2 * step + 1] = b.beyond;
}

}  // namespace inkmark::converter
