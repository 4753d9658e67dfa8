// Loading pictures and scaling them to the paper's width.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "picture/picture.h"
#include "picture/picture_io.h"
#include "support/bench_pictures.h"

namespace inkmark {
namespace {

std::string BenchFile(const std::string& name) {
  auto dir =
      std::filesystem::temp_directory_path() / ("inkmark-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

void BM_LoadBmp24(benchmark::State& state) {
  const std::string path = BenchFile("photo.bmp");
  WriteWholeFile(path, MakeRgb24(2000, 1500));
  for (auto _ : state) benchmark::DoNotOptimize(LoadPicture(path));
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_LoadBmp24)->Unit(benchmark::kMillisecond);

void BM_LoadJpeg(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const std::string path = BenchFile("photo.jpg");
  WriteWholeFile(path, MakeJpeg(w, h));
  for (auto _ : state) benchmark::DoNotOptimize(LoadPicture(path));
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_LoadJpeg)->Args({2000, 1500})->Args({4000, 3000})->Unit(benchmark::kMillisecond);

// The decode alone, without the temporary file and the expansion to 24 bits.
void BM_DecodeJpeg(benchmark::State& state) {
  const auto jpeg = MakeJpeg(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(DecodeJpegToBitmap(jpeg));
}
BENCHMARK(BM_DecodeJpeg)->Args({4000, 3000})->Unit(benchmark::kMillisecond);

void BM_Resample(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const auto picture = MakeRgb24(w, h);
  const int dst_h = h * 576 / w;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ResampleRgb24(w, h, 576, dst_h, picture.data() + 54, (3 * w + 3) & ~3, 54));
  }
}
BENCHMARK(BM_Resample)->Args({2000, 1500})->Args({4000, 3000})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace inkmark
