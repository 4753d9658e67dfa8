#include "converter/row_passes.h"

#include "converter/convert_settings.h"
#include "converter/ink_split.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define INKMARK_ROW_PASSES_AVX2 1
#endif

namespace inkmark::converter {

static_assert(kCodeFirst == 0 && kCodeSecond == 1 && kCodeWhite == 2,
              "the lookups give the ink codes as numbers");

namespace plain {

void MeasureRow(const std::uint8_t* px, std::size_t n, const ToneWeights& weights, int* dark,
                std::uint16_t* cell) {
  for (std::size_t x = 0; x < n; ++x) {
    dark[x] = weights.Darkness(px[3 * x], px[3 * x + 1], px[3 * x + 2]);
  }
  if (cell == nullptr) return;
  for (std::size_t x = 0; x < n; ++x) {
    cell[x] = static_cast<std::uint16_t>(InkSplit::CellOf(px[3 * x], px[3 * x + 1], px[3 * x + 2]));
  }
}

void ThresholdRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                  std::size_t n, std::uint8_t* codes) {
  for (std::size_t x = 0; x < n; ++x) {
    const std::uint32_t entry = table[cell[x]];
    const bool inked = dark[x] >= static_cast<int>(entry & 0xFFFFu);
    codes[x] = static_cast<std::uint8_t>(inked ? entry >> 16 : kCodeWhite);
  }
}

void CoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table, std::size_t n,
              int* first, int* second) {
  for (std::size_t x = 0; x < n; ++x) {
    const InkCover c = InkSplit::CoverOf(table[cell[x]], dark[x]);
    first[x] = c.first;
    second[x] = c.second;
  }
}

}  // namespace plain

#ifdef INKMARK_ROW_PASSES_AVX2
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
  plain::MeasureRow(px + 3 * x, n - x, weights, dark + x, cell == nullptr ? nullptr : cell + x);
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
  plain::ThresholdRow(dark + x, cell + x, table, n - x, codes + x);
}

INKMARK_AVX2 void CoverRowAvx2(const int* dark, const std::uint16_t* cell,
                               const std::uint32_t* table, std::size_t n, int* first, int* second) {
  constexpr int kSnap = kFullCover / 100;
  const __m256i full = _mm256_set1_epi32(kFullCover);
  std::size_t x = 0;
  for (; x + 8 <= n; x += 8) {
    const __m256i entry = Entries8(cell + x, table);
    const __m256i gain = _mm256_srli_epi32(entry, 8);
    const __m256i share = _mm256_and_si256(entry, _mm256_set1_epi32(0xFF));
    __m256i total = _mm256_srli_epi32(
        _mm256_add_epi32(_mm256_mullo_epi32(Load8(dark + x), gain), _mm256_set1_epi32(2048)), 12);
    total = _mm256_min_epi32(total, full);
    // Within 1% of paper or of solid ink is exactly that (SnapCover).
    total = _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(kSnap), total), total);
    total = _mm256_blendv_epi8(total, full,
                               _mm256_cmpgt_epi32(total, _mm256_set1_epi32(kFullCover - kSnap)));
    const __m256i two =
        _mm256_srli_epi32(_mm256_add_epi32(_mm256_mullo_epi32(total, share),
                                           _mm256_set1_epi32(InkSplit::kShareSteps / 2)),
                          6);
    static_assert(InkSplit::kShareSteps == 1 << 6);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(second + x), two);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(first + x), _mm256_sub_epi32(total, two));
  }
  plain::CoverRow(dark + x, cell + x, table, n - x, first + x, second + x);
}

bool HasAvx2() {
  static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
  return has;
}

}  // namespace
#endif

void MeasureRow(const std::uint8_t* px, std::size_t n, const ToneWeights& weights, int* dark,
                std::uint16_t* cell) {
#ifdef INKMARK_ROW_PASSES_AVX2
  if (HasAvx2()) return MeasureRowAvx2(px, n, weights, dark, cell);
#endif
  plain::MeasureRow(px, n, weights, dark, cell);
}

void ThresholdRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table,
                  std::size_t n, std::uint8_t* codes) {
#ifdef INKMARK_ROW_PASSES_AVX2
  if (HasAvx2()) return ThresholdRowAvx2(dark, cell, table, n, codes);
#endif
  plain::ThresholdRow(dark, cell, table, n, codes);
}

void CoverRow(const int* dark, const std::uint16_t* cell, const std::uint32_t* table, std::size_t n,
              int* first, int* second) {
#ifdef INKMARK_ROW_PASSES_AVX2
  if (HasAvx2()) return CoverRowAvx2(dark, cell, table, n, first, second);
#endif
  plain::CoverRow(dark, cell, table, n, first, second);
}

}  // namespace inkmark::converter
