// Loading pictures and scaling them to the paper's width.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
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

// The decode alone, in the JPEG's own form.
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

// A photograph scaled to the paper's 576 dots straight from the file: only the
// rows and columns the scaler reads are decoded.
void BM_PaperJpeg(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const std::string path = BenchFile("paper.jpg");
  WriteWholeFile(path, MakeJpeg(w, h));
  std::array<std::int32_t, 2> size{};
  for (auto _ : state) benchmark::DoNotOptimize(LoadScaledCropped(path, {}, 576, 576, "", size));
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_PaperJpeg)->Args({4000, 3000})->Args({8192, 8192})->Unit(benchmark::kMillisecond);

// A 1 KB run-length file claiming 8192 x 8192 pixels and holding only its end
// marker, cut at the paper's edge at its own size (the worst case for memory).
void BM_PaperClaimedRle(benchmark::State& state) {
  BitmapFile file(54 + 1024 + 2, 0);
  WriteRgb24Header(file, 8192, 8192);
  file[10] = static_cast<std::uint8_t>((54 + 1024) & 0xFF);
  file[11] = static_cast<std::uint8_t>((54 + 1024) >> 8);
  file[28] = 8;  // bits per pixel
  file[30] = 1;  // run-length coded, 8 bits
  for (int i = 0; i < 256; ++i) file[54 + 4 * i] = file[55 + 4 * i] = file[56 + 4 * i] = i;
  file[54 + 1024 + 1] = 1;  // end of picture
  const std::string path = BenchFile("claimed.rle");
  WriteWholeFile(path, file);
  std::array<std::int32_t, 2> size{};
  for (auto _ : state) benchmark::DoNotOptimize(LoadScaledCropped(path, {}, 0, 576, "", size));
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_PaperClaimedRle)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace inkmark
