// Composing a receipt-width document, and the full-size print raster of a
// large photograph.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "document/compose.h"
#include "document/document_reader.h"
#include "document/document_writer.h"
#include "picture/picture.h"
#include "picture/picture_io.h"
#include "support/bench_pictures.h"

namespace inkmark {
namespace {

// Fonts need a running Qt application.
void EnsureQt() {
  static int argc = 1;
  static char name[] = "bench_compose";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app =
      QGuiApplication::instance() ? nullptr : std::make_unique<QGuiApplication>(argc, argv);
}

// A session on a black-and-red printer, its temporary files in a fresh folder.
struct BenchSession {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("inkmark-bench-compose-" + std::to_string(::getpid()));
  LogoSession session;

  explicit BenchSession(std::int32_t paper) {
    std::filesystem::create_directories(dir);
    session.first_color = kColorBlack;
    session.second_color = kColorRed;
    session.params.color_count = 2;
    session.params.palette_size = 256;
    session.print_width_dots = paper;
    session.temp_dest_path = (dir / "~$$$ldst.bmp").string();
  }
  ~BenchSession() { std::filesystem::remove_all(dir); }
};

void BM_ComposeDocument576(benchmark::State& state) {
  EnsureQt();
  BenchSession bs(576);
  const std::vector<DocumentObject> objects = {
      ImageObject(0, 0, 576, 160, MakeRgb24(400, 110)),
      TextObject(20, 60, "QUORVEL STORE", "Arial", -40, kColorRed),
      TextObject(20, 120, "Thank you!", "Times New Roman", -32, kColorBlack, 150),
      ImageObject(420, 10, 560, 150, MakeRgb24(140, 140), true),
      TextObject(300, 150, "Tel 0123-456", "Courier New", -20, kColorRed),
  };
  bs.session.source_path = (bs.dir / "doc.qlf").string();
  SaveLogoDocument(bs.session.source_path, 576, 160, objects);
  bs.session.source_kind = kSourceDocument;
  if (LoadLogoDocument(nullptr, bs.session) != 1 || !ComposeConverted(bs.session, 1.0, 1.0)) {
    state.SkipWithError("the document does not compose");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(ComposeConverted(bs.session, 1.0, 1.0));
}
BENCHMARK(BM_ComposeDocument576)->Unit(benchmark::kMillisecond);

void BM_BuildLogoRasterDocument576(benchmark::State& state) {
  EnsureQt();
  BenchSession bs(576);
  bs.session.source_path = (bs.dir / "doc.qlf").string();
  SaveLogoDocument(bs.session.source_path, 288, 80,
                   {ImageObject(0, 0, 288, 80, MakeRgb24(200, 55)),
                    TextObject(10, 50, "Receipt", "Arial", -30, kColorRed)});
  bs.session.source_kind = kSourceDocument;
  bs.session.fit_to_width = 1;
  if (LoadLogoDocument(nullptr, bs.session) != 1 || !BuildLogoRaster(bs.session)) {
    state.SkipWithError("the document does not compose");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(BuildLogoRaster(bs.session));
}
BENCHMARK(BM_BuildLogoRasterDocument576)->Unit(benchmark::kMillisecond);

void BM_BuildLogoRasterJpeg4000x3000(benchmark::State& state) {
  BenchSession bs(576);
  bs.session.source_path = (bs.dir / "photo.jpg").string();
  WriteWholeFile(bs.session.source_path, MakeJpeg(4000, 3000));
  bs.session.source_kind = kSourceJpeg;
  bs.session.fit_to_width = 1;
  if (!BuildLogoRaster(bs.session)) {
    state.SkipWithError("the photograph does not convert");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(BuildLogoRaster(bs.session));
}
BENCHMARK(BM_BuildLogoRasterJpeg4000x3000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace inkmark
