// The command-line tool fitting large PNG and GIF files to the paper, run as a
// user runs it, against a minimal libpng program that only reads every row of
// the same file into one row buffer (built into this program: run with
// --read-png-rows FILE). Each run is a child process, timed by the wall clock;
// its peak resident memory comes from wait4.
//
// The pictures are made when the program starts: a 24-megapixel photograph
// (6000 x 4000, smooth shading with sensor noise), and 8000 x 8000 as PNG and
// as GIF. Compare the medians: ours should take at most 1.25 times the minimal
// reader and at most 40 MB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <gif_lib.h>
#include <png.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Reads every row of the PNG file into one row buffer; 0 when it was read.
int ReadPngRows(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return 1;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return 1;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  std::vector<png_byte> row(png_get_rowbytes(png, info));
  for (png_uint_32 y = 0; y < png_get_image_height(png, info); ++y)
    png_read_row(png, row.data(), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return 0;
}

// A photograph-like sample at (x, y): broad shading and a few soft shapes, with
// noise of a few levels, as a camera's sensor gives.
struct Photo {
  std::mt19937 noise{7};
  std::uint8_t At(int x, int y, int c, int w, int h) {
    const double u = double(x) / w, v = double(y) / h;
    double s = 90 + 80 * u * (c + 1) / 3 + 60 * v * (3 - c) / 3 +
               50 * std::sin(7 * u + 3 * c) * std::cos(5 * v) +
               30 * std::exp(-30 * ((u - .3) * (u - .3) + (v - .6) * (v - .6)));
    s += std::uniform_int_distribution<int>(-6, 6)(noise);
    return std::uint8_t(std::clamp(s, 0.0, 255.0));
  }
};

bool WritePng(const fs::path& path, int w, int h, int level) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, level);
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  Photo photo;
  std::vector<png_byte> row(static_cast<std::size_t>(w) * 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) row[std::size_t(x) * 3 + c] = photo.At(x, y, c, w, h);
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

// The photograph in 256 colours: 6 x 7 x 6 levels of red, green and blue.
bool WriteGif(const fs::path& path, int w, int h) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (gif == nullptr) return false;
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 252; ++i)
    colours[i] = {GifByteType(i / 42 * 51), GifByteType(i / 6 % 7 * 42), GifByteType(i % 6 * 51)};
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
  Photo photo;
  std::vector<GifPixelType> row(static_cast<std::size_t>(w));
  for (int y = 0; ok && y < h; ++y) {
    for (int x = 0; x < w; ++x)
      row[std::size_t(x)] =
          GifPixelType(photo.At(x, y, 0, w, h) / 51 * 42 + photo.At(x, y, 1, w, h) / 42 * 6 +
                       photo.At(x, y, 2, w, h) / 51);
    ok = EGifPutLine(gif, row.data(), w) == GIF_OK;
  }
  GifFreeMapObject(map);
  return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

struct Run {
  double seconds = 0;
  long peak_kb = 0;
  int status = -1;
};

// Runs the program to its end with its output thrown away.
Run Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  std::vector<char*> argv, envp;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (char** e = environ; *e != nullptr; ++e) envp.push_back(*e);
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  Run run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) == pid) {
      run.peak_kb = usage.ru_maxrss;
      run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

struct Setup {
  fs::path dir;
  std::string self, inkmark;
  std::vector<std::string> env;
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

// One child per iteration; the peak is the largest of them.
void RunEach(benchmark::State& state, const std::vector<std::string>& args) {
  long peak = 0;
  for (auto _ : state) {
    const Run run = Spawn(args, TheSetup().env);
    if (run.status != 0) {
      state.SkipWithError("the program failed");
      return;
    }
    state.SetIterationTime(run.seconds);
    peak = std::max(peak, run.peak_kb);
  }
  state.counters["peak_MB"] = double(peak) / 1024.0;
}

// The minimal reader and ours one after the other in each iteration, so that
// the ratio holds however busy the machine is.
void RunRatio(benchmark::State& state, const std::vector<std::string>& ours,
              const std::vector<std::string>& minimal) {
  double ours_s = 0, minimal_s = 0;
  for (auto _ : state) {
    const Run m = Spawn(minimal, TheSetup().env);
    const Run o = Spawn(ours, TheSetup().env);
    if (m.status != 0 || o.status != 0) {
      state.SkipWithError("a program failed");
      return;
    }
    state.SetIterationTime(o.seconds);
    ours_s += o.seconds;
    minimal_s += m.seconds;
  }
  state.counters["ours_over_minimal"] = ours_s / minimal_s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--read-png-rows") == 0) return ReadPngRows(argv[2]);
  benchmark::Initialize(&argc, argv);
  Setup& s = TheSetup();
  s.self = fs::read_symlink("/proc/self/exe").string();
  s.inkmark = (fs::path(s.self).parent_path().parent_path() / "bin" / "inkmark").string();
  s.dir = fs::temp_directory_path() / ("inkmark-bench-" + std::to_string(::getpid()));
  fs::create_directories(s.dir);
  s.env = {"INKMARK_SETTINGS_DIR=" + (s.dir / "settings").string(), "TMPDIR=" + s.dir.string(),
           "QT_QPA_PLATFORM=offscreen"};
  const fs::path photo = s.dir / "photo24.png", png = s.dir / "big.png", gif = s.dir / "big.gif";
  if (!WritePng(photo, 6000, 4000, 6) || !WritePng(png, 8000, 8000, 6) ||
      !WriteGif(gif, 8000, 8000)) {
    std::fprintf(stderr, "cannot write the pictures in %s\n", s.dir.c_str());
    return 1;
  }
  auto raster = [&](const fs::path& source, bool fine) {
    std::vector<std::string> args{s.inkmark, "--printer", "DT-500/510", "raster", "--fit"};
    if (fine) args.insert(args.end(), {"--grade", "fine"});
    args.insert(args.end(), {source.string(), "-o", (s.dir / "out.bmp").string()});
    return args;
  };
  const std::vector<std::string> minimal{s.self, "--read-png-rows", photo.string()};
  auto configure = [](benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(
        benchmark::kMillisecond);
  };
  configure(benchmark::RegisterBenchmark("Photo24Png/MinimalLibpngRows",
                                         [=](benchmark::State& st) { RunEach(st, minimal); }));
  configure(benchmark::RegisterBenchmark(
      "Photo24Png/RasterFitFine", [=](benchmark::State& st) { RunEach(st, raster(photo, true)); }));
  configure(benchmark::RegisterBenchmark(
      "Photo24Png/RasterFitFineOverMinimal",
      [=](benchmark::State& st) { RunRatio(st, raster(photo, true), minimal); }));
  configure(benchmark::RegisterBenchmark(
      "Png8000/RasterFit", [=](benchmark::State& st) { RunEach(st, raster(png, false)); }));
  configure(benchmark::RegisterBenchmark(
      "Gif8000/RasterFit", [=](benchmark::State& st) { RunEach(st, raster(gif, false)); }));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(s.dir);
  return 0;
}
