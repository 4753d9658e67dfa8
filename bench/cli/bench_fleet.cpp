// inkmark status of 64 virtual printers on loopback TCP, 16 at a time, and
// the cost that recording adds to a registration: opening the ledger, the
// raster's and the source's hashes and one recorded entry.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ledger/ledger.h"
#include "servers.h"
#include "virtual_printer.h"

namespace {

namespace fs = std::filesystem;

// A folder of the benchmark's own, removed afterwards.
struct WorkFolder {
  WorkFolder() {
    std::string pattern = (fs::temp_directory_path() / "inkmark-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path = pattern;
  }
  ~WorkFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  fs::path path;
};

void BM_StatusOf64PrintersWith16Jobs(benchmark::State& state) {
  constexpr int kPrinters = 64;
  WorkFolder work;
  std::vector<std::unique_ptr<inkmark::vprinter::VirtualPrinter>> printers;
  std::vector<std::unique_ptr<inkmark::vprinter::TcpServer>> servers;
  std::ofstream list(work.path / "fleet.txt");
  for (int i = 0; i < kPrinters; ++i) {
    printers.push_back(
        std::make_unique<inkmark::vprinter::VirtualPrinter>(inkmark::vprinter::PrinterOptions{}));
    // Each holds a few keys, so the key list and the ledger are asked about them.
    for (const char* key : {"AB", "CD", "EF"})
      printers.back()->Define({std::uint8_t(key[0]), std::uint8_t(key[1])},
                              {inkmark::vprinter::GraphicsForm::kRaster, 8, 1, {{0x31, {0x5A}}}});
    std::string error;
    servers.push_back(
        inkmark::vprinter::TcpServer::Start(*printers.back(), "127.0.0.1", 0, &error));
    if (!servers.back()) {
      state.SkipWithError(error.c_str());
      return;
    }
    list << "tcp://127.0.0.1:" << servers.back()->port() << " --name shop-" << i << '\n';
  }
  list.close();
  const std::string w = work.path.string();
  const std::string line = "cd '" + w + "' && TMPDIR='" + w + "' INKMARK_SETTINGS_DIR='" + w +
                           "/settings' XDG_DATA_HOME='" + w +
                           "/data' '" INKMARK_BIN_DIR
                           "/inkmark' --printer DT-500/510 --second None --printers-list "
                           "fleet.txt --jobs 16 status >out.txt 2>err.txt";
  for (auto _ : state) {
    const int status = std::system(line.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("inkmark status failed");
      return;
    }
  }
  state.counters["printers"] = kPrinters;
}
BENCHMARK(BM_StatusOf64PrintersWith16Jobs)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

void BM_RecordOneRegistration(benchmark::State& state) {
  WorkFolder work;
  // A full-width 80 mm logo at 203 dpi, 576 x 200 dots in two inks (8 bits a dot).
  std::vector<std::uint8_t> raster(std::size_t(576) * 200 + 1078, 0x02);
  const fs::path source = work.path / "logo.bmp";
  std::ofstream(source, std::ios::binary)
      .write(reinterpret_cast<const char*>(raster.data()), std::streamsize(raster.size()));
  const fs::path path = work.path / "ledger.sqlite";
  std::int64_t n = 0;
  for (auto _ : state) {
    // Each registration is a run of its own: the ledger is opened each time.
    // A rollout stores one raster on many printers; now and then a new one.
    if (n % 8 == 0) raster[1078 + std::size_t(n % 1000)] ^= 1;
    auto ledger = inkmark::Ledger::Open(path, inkmark::LedgerMode::kWrite);
    inkmark::LedgerEntry e;
    e.printer = "shop-" + std::to_string(n++);
    e.model = "DT-500/510";
    e.key = "AB";
    e.raster_sha256 = inkmark::Sha256Hex(raster);
    e.source_name = "logo.bmp";
    e.source_sha256 = *inkmark::FileSha256Hex(source);
    if (!ledger || !ledger->Record(e, raster)) {
      state.SkipWithError("the ledger refused the entry");
      return;
    }
  }
}
BENCHMARK(BM_RecordOneRegistration)->Unit(benchmark::kMillisecond);

}  // namespace
