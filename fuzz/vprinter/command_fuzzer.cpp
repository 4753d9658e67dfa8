// Arbitrary bytes to a whole virtual-printer session, split into pieces of a
// size the input chooses: commands in, replies out, and the NV memory it ends
// with written as its file and read back whole. The bytes also go to the NV
// memory file loader directly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "nv_memory.h"
#include "printer_session.h"

using namespace inkmark::vprinter;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::size_t piece = std::size_t(data[0] % 17) + 1;
  std::span<const std::uint8_t> bytes(data + 1, size - 1);

  PrinterOptions options;
  options.capacity = 4096;
  options.keys_per_block = 2;
  VirtualPrinter printer(options);
  std::size_t replied = 0;
  PrinterSession session(printer, [&](std::span<const std::uint8_t> reply) {
    replied += reply.size();
    return true;
  });
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    session.Feed(bytes.subspan(at, std::min(piece, bytes.size() - at)));
  }
  if (printer.Used() > options.capacity) __builtin_trap();

  // What the session stored survives its file: the same keys, the same charge.
  NvMemory kept(options.capacity);
  for (const NvKey& key : printer.Keys()) {
    auto g = printer.Find(key);
    if (!g || kept.Define(key, *g) != DefineResult::kStored) __builtin_trap();
  }
  if (kept.used() != printer.Used()) __builtin_trap();
  NvMemory reread(options.capacity);
  if (reread.Load(kept.Serialize()) || reread.Keys() != kept.Keys() ||
      reread.used() != kept.used()) {
    __builtin_trap();
  }

  NvMemory nv(4096);
  nv.Load(bytes);
  if (nv.used() > nv.capacity()) __builtin_trap();
  return 0;
}
