// The main window offscreen, for a printer 576 dots wide: a slider move
// re-converts the right-hand preview and repaints it; a photograph typed into
// the source box makes and paints both previews.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "picture/picture.h"
#include "picture/picture_io.h"
#include "support/bench_pictures.h"
#include "windows/main_ids.h"
#include "windows/main_window_qt.h"

namespace inkmark {
namespace {

PrinterProfile Printer576() {
  PrinterProfile p;
  p.model_name = "Bench 576";
  p.paper_widths.values = {"80mm", "0"};
  p.paper_dots = {576};
  p.first_colors.values = {"Black", "0"};
  p.second_colors.values = {"Red", "0"};
  p.resolutions.values = {180, 0};
  p.ports.values = {"COM1", "0"};
  return p;
}

void WritePicture(const std::string& path, int width, int height) {
  const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
  BitmapFile file(54 + stride * std::size_t(height), 0);
  WriteRgb24Header(file, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &file[54 + std::size_t(y) * stride + std::size_t(x) * 3];
      p[0] = std::uint8_t(x * 255 / width);
      p[1] = std::uint8_t(y * 255 / height);
      p[2] = std::uint8_t((x + y) & 0xFF);
    }
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

void StartQt() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "bench_main_window";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
}

void BM_SliderMoveReconverts(benchmark::State& state) {
  StartQt();

  const std::string picture =
      (std::filesystem::temp_directory_path() / "inkmark_bench_576.bmp").string();
  WritePicture(picture, 576, 288);
  LogoSession session;
  session.profiles = {Printer576()};
  QtMainWindow window(session, std::filesystem::temp_directory_path());
  window.Open();
  window.view().SetText(kIdSourceEdit, picture);
  QWidget* preview = window.view().widget(kIdRightPreview);
  int position = 1;
  for (auto _ : state) {
    position = position % 5 + 1;
    window.view().SetPosition(kIdAdjustR, position);
    window.logic().OnControl(kIdAdjustR, Notification::kScrolled);
    preview->repaint();
  }
  benchmark::DoNotOptimize(session.converted.data());
  std::filesystem::remove(picture);
}
BENCHMARK(BM_SliderMoveReconverts)->Unit(benchmark::kMillisecond);

// A camera photograph (args: width, height; 12 and 24 megapixels) chosen as
// the source, as Browse and a drop hand it over: the path goes into the
// source box, both previews are made and painted.
void BM_LoadJpegIntoMainWindow(benchmark::State& state) {
  StartQt();
  const std::string picture =
      (std::filesystem::temp_directory_path() / "inkmark_bench_photo.jpg").string();
  WriteWholeFile(picture,
                 MakePhotoJpeg(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
  LogoSession session;
  session.profiles = {Printer576()};
  QtMainWindow window(session, std::filesystem::temp_directory_path());
  window.Open();
  QWidget* left = window.view().widget(kIdLeftPreview);
  QWidget* right = window.view().widget(kIdRightPreview);
  window.view().SetText(kIdSourceEdit, picture);
  if (session.fit_image.empty() || session.converted.empty()) {
    state.SkipWithError("the photograph does not load");
    return;
  }
  for (auto _ : state) {
    window.view().SetText(kIdSourceEdit, picture);
    left->repaint();
    right->repaint();
  }
  benchmark::DoNotOptimize(session.converted.data());
  std::filesystem::remove(picture);
}
BENCHMARK(BM_LoadJpegIntoMainWindow)
    ->Args({4000, 3000})
    ->Args({6000, 4000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace inkmark
