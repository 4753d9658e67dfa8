// Conversion speed: the pixels-in-memory core, the whole file round trip
// through the entry point, and a large photograph scaled to the paper width.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "converter/convert.h"
#include "converter/convert_pixels.h"
#include "converter/ink_split.h"
#include "converter/row_passes.h"
#include "converter/source_bitmap.h"
#include "picture/picture_io.h"

namespace inkmark {
namespace {

// A picture with smooth colour gradients and flat coloured shapes, so that
// every path of the reduction is exercised.
std::vector<std::uint8_t> TestPicture(std::uint32_t w, std::uint32_t h) {
  const std::size_t stride = (std::size_t{w} * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> f(54 + stride * h, 0);
  auto put32 = [&f](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, static_cast<std::uint32_t>(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  f[26] = 1;
  f[28] = 24;
  for (std::uint32_t y = 0; y < h; ++y) {
    std::uint8_t* row = &f[54 + stride * y];
    for (std::uint32_t x = 0; x < w; ++x) {
      const bool box = (x / (w / 8 + 1) + y / (h / 6 + 1)) % 3 == 0;
      row[3 * x] = static_cast<std::uint8_t>(box ? 30 : (x * 255) / w);
      row[3 * x + 1] = static_cast<std::uint8_t>(box ? 30 : (y * 255) / h);
      row[3 * x + 2] = static_cast<std::uint8_t>(box ? 220 : ((x + y) * 255) / (w + h));
    }
  }
  return f;
}

constexpr std::int32_t kInks[2] = {kColorBlack, kColorRed};

ConversionParams Params(std::uint32_t w, std::uint32_t h, std::uint32_t grade) {
  ConversionParams p = StartupConversionParams();
  p.target_width = w;
  p.target_height = h;
  p.color_count = 2;
  p.palette_size = 256;
  p.processing = grade;
  return p;
}

// args: source width, source height, target width, grade
void BM_ConvertPixels(benchmark::State& state) {
  const auto sw = static_cast<std::uint32_t>(state.range(0));
  const auto sh = static_cast<std::uint32_t>(state.range(1));
  const auto tw = static_cast<std::uint32_t>(state.range(2));
  const auto th = static_cast<std::uint32_t>(std::uint64_t{sh} * tw / sw);
  auto picture = TestPicture(sw, sh);
  auto view = converter::ViewRgb24File(picture);
  const std::int32_t* inks = kInks;
  auto settings =
      converter::CheckParams(Params(tw, th, static_cast<std::uint32_t>(state.range(3))), inks);
  for (auto _ : state) benchmark::DoNotOptimize(converter::ConvertPixels(*view, *settings));
}

// The entry point with its file reading and writing, as the window uses it.
void BM_QrvConvertLogo(benchmark::State& state) {
  const auto w = static_cast<std::uint32_t>(state.range(0));
  const auto h = static_cast<std::uint32_t>(state.range(1));
  const std::string dir = "/tmp/bench-converter-" + std::to_string(::getpid());
  const std::string src = dir + ".src.bmp", dst = dir + ".dst.bmp";
  WriteWholeFile(src, TestPicture(w, h));
  ConversionParams p = Params(w, h, static_cast<std::uint32_t>(state.range(2)));
  for (auto _ : state) {
    if (QrvConvertLogo(src.c_str(), &p, kInks, dst.c_str()) != 1) state.SkipWithError("failed");
  }
  std::remove(src.c_str());
  std::remove(dst.c_str());
}

// Each pass of the reduction alone over the 576 x 2304 picture, two inks:
// 0 measuring, 1 the Coarse lookup, 2 the coverage lookup, 3 diffusion.
void BM_RowPass(benchmark::State& state) {
  constexpr std::uint32_t kW = 576, kH = 2304;
  const auto picture = TestPicture(kW, kH);
  const auto view = converter::ViewRgb24File(picture);
  const converter::ToneWeights weights = converter::WeightsFromRevise({3, 3, 3});
  const converter::InkSplit split({kInks[0], kInks[1]}, weights);
  const auto half = split.HalfCoverTable(), cover_table = split.CoverTable();
  std::vector<int> dark(kW * kH), cover(2 * kW);
  converter::ErrorDiffusion diffusion(kW);
  std::vector<std::uint16_t> cell(kW * kH);
  std::vector<std::uint8_t> codes(kW);
  for (std::uint32_t y = 0; y < kH; ++y) {
    converter::MeasureRow(view->Row(y), kW, weights, &dark[y * kW], &cell[y * kW]);
  }
  const converter::SlotCodes slots{{0, 1, 2}};
  for (auto _ : state) {
    for (std::uint32_t y = 0; y < kH; ++y) {
      const std::size_t at = std::size_t{y} * kW;
      switch (state.range(0)) {
        case 0:
          converter::MeasureRow(view->Row(y), kW, weights, &dark[at], &cell[at]);
          break;
        case 1:
          converter::ThresholdRow(&dark[at], &cell[at], half.data(), kW, codes.data());
          break;
        case 2:
          converter::CoverRow(&dark[at], &cell[at], cover_table.data(), kW, cover.data());
          break;
        default:
          converter::CoverRow(&dark[at], &cell[at], cover_table.data(), kW, cover.data());
          diffusion.Row(cover.data(), y, slots, codes.data());
      }
    }
    benchmark::DoNotOptimize(codes.data());
  }
}
BENCHMARK(BM_RowPass)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ConvertPixels)
    ->ArgNames({"sw", "sh", "tw", "grade"})
    ->Args({576, 400, 576, 0})
    ->Args({576, 400, 576, 1})
    ->Args({576, 400, 576, 2})
    ->Args({576, 2304, 576, 0})
    ->Args({576, 2304, 576, 1})
    ->Args({576, 2304, 576, 2})
    ->Args({2000, 1500, 576, 0})
    ->Args({2000, 1500, 576, 1})
    ->Args({2000, 1500, 576, 2})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_QrvConvertLogo)
    ->ArgNames({"w", "h", "grade"})
    ->Args({576, 400, 0})
    ->Args({576, 400, 2})
    ->Args({576, 2304, 0})
    ->Args({576, 2304, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace inkmark
