// Loading pictures and scaling them to the paper's width.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "image/picture.h"
#include "image/picture_io.h"
#include "image/picture_jpeglib.h"

namespace inkmark {
namespace {

// A photograph-like gradient, so that the JPEG has real detail to decode.
std::uint8_t Sample(int x, int y, int c) {
  return static_cast<std::uint8_t>((x * (c + 1) + y * (3 - c)) ^ (x >> 3));
}

BitmapFile MakeRgb24(int w, int h) {
  const std::size_t stride = (3 * w + 3) & ~3;
  BitmapFile file(54 + stride * h, 0);
  WriteRgb24Header(file, w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) file[54 + y * stride + 3 * x + c] = Sample(x, y, c);
    }
  }
  return file;
}

std::vector<std::uint8_t> MakeJpeg(int w, int h) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = w;
  cinfo.image_height = h;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(3 * w);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) row[3 * x + c] = Sample(x, cinfo.next_scanline, c);
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

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
