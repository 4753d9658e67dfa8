// Small logo documents that claim large pictures, pages or fonts: `inkmark
// preview` on each, run as its own process so that its time and peak memory
// are its own. Every logo document of at most 64 KB is to preview within 2 s
// and 64 MB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "document/document_writer.h"
#include "picture/picture_bytes.h"
#include "picture/picture_io.h"
#include "session/session.h"

extern char** environ;

namespace inkmark {
namespace {

namespace fs = std::filesystem;

// An 8-bit run-length bitmap of two colours that claims `side` x `side`
// pixels in a few hundred bytes: a band of runs at the bottom, a few more
// further up reached by deltas, and the end-of-picture marker.
std::vector<std::uint8_t> ClaimingRle(std::int32_t side) {
  std::vector<std::uint8_t> data;
  for (int i = 0; i < side / 255; ++i) data.insert(data.end(), {255, std::uint8_t(i & 1)});
  data.insert(data.end(), {0, 0});
  // Each step: 255 rows up, a run, the end of that row.
  for (std::int32_t y = 1; y + 256 < side && y < 16 * 256; y += 256)
    data.insert(data.end(), {0, 2, 0, 255, 200, 1, 0, 0});
  data.insert(data.end(), {0, 1});
  const std::uint32_t palette = 2 * 4, offset = 54 + palette;
  std::vector<std::uint8_t> file(offset + data.size(), 0);
  file[0] = 'B';
  file[1] = 'M';
  PutU32(file, 2, offset + std::uint32_t(data.size()));
  PutU32(file, 10, offset);
  PutU32(file, 14, 40);
  PutU32(file, 18, std::uint32_t(side));
  PutU32(file, 22, std::uint32_t(side));
  file[26] = 1;
  file[28] = 8;
  PutU32(file, 30, 1);  // RLE8
  PutU32(file, 34, std::uint32_t(data.size()));
  PutU32(file, 46, 2);
  // Black, then white.
  file[54 + 4] = file[54 + 5] = file[54 + 6] = 255;
  std::copy(data.begin(), data.end(), file.begin() + offset);
  return file;
}

// A private folder: the documents, and the settings the tool reads and writes.
struct BenchFolder {
  fs::path dir = fs::temp_directory_path() / ("inkmark-bench-docs-" + std::to_string(::getpid()));
  BenchFolder() { fs::create_directories(dir / "config"); }
  ~BenchFolder() { fs::remove_all(dir); }
};

// Runs `inkmark preview document` once; its wall time in seconds and peak
// resident memory in MB, or false when it failed. INKMARK_CLI in the
// environment names another build of inkmark to measure.
bool PreviewOnce(const BenchFolder& folder, const std::string& document, double& seconds,
                 double& peak_mb) {
  const char* other = ::getenv("INKMARK_CLI");
  const std::string program = other != nullptr && *other != '\0' ? other : INKMARK_CLI;
  std::vector<std::string> args = {program, "preview", document};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string config = (folder.dir / "config").string();
  std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + config,
                                  "XDG_CONFIG_DIRS=" + config, "HOME=" + folder.dir.string(),
                                  "TMPDIR=" + folder.dir.string()};
  if (const char* path = ::getenv("PATH")) env.push_back(std::string("PATH=") + path);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned =
      ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  struct rusage usage {};
  if (::wait4(pid, &status, 0, &usage) != pid) return false;
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  peak_mb = usage.ru_maxrss / 1024.0;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Preview(benchmark::State& state, std::uint16_t width, std::uint16_t height,
             const std::vector<DocumentObject>& objects) {
  BenchFolder folder;
  const std::string document = (folder.dir / "doc.qlf").string();
  if (!SaveLogoDocument(document, width, height, objects)) {
    state.SkipWithError("the document cannot be written");
    return;
  }
  state.counters["file_KB"] = double(fs::file_size(document)) / 1024.0;
  double peak = 0;
  for (auto _ : state) {
    double seconds = 0, peak_mb = 0;
    if (!PreviewOnce(folder, document, seconds, peak_mb)) {
      state.SkipWithError("inkmark preview failed");
      return;
    }
    state.SetIterationTime(seconds);
    peak = std::max(peak, peak_mb);
  }
  state.counters["peak_MB"] = peak;
}

// The 1 KB run-length picture claiming 8192 x 8192, drawn 10 x 10.
void BM_PreviewClaimingRleItem(benchmark::State& state) {
  Preview(state, 200, 100, {ImageObject(10, 10, 20, 20, ClaimingRle(8192))});
}
BENCHMARK(BM_PreviewClaimingRleItem)->UseManualTime()->Unit(benchmark::kMillisecond);

// One text item 4096 dots high on a 200 x 100 page.
void BM_PreviewTallTextItem(benchmark::State& state) {
  Preview(state, 200, 100, {TextObject(0, 90, "Wg", "Arial", -4096, kColorBlack)});
}
BENCHMARK(BM_PreviewTallTextItem)->UseManualTime()->Unit(benchmark::kMillisecond);

// A 32768 x 2048 page with a line of text and a picture of 8192 x 2048 dots
// (the most one conversion makes) past the paper.
void BM_PreviewWidePage(benchmark::State& state) {
  Preview(state, 32768, 2048,
          {TextObject(100, 1000, "QUORVEL STORE", "Arial", -200, kColorBlack),
           ImageObject(20000, 0, 28192, 2048, ClaimingRle(1024))});
}
BENCHMARK(BM_PreviewWidePage)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace inkmark
