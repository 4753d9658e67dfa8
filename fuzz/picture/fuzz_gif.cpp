// GIF files of any form: the paper scale straight from the bytes, row by row,
// against the whole decode, refusals included, and what the whole decode
// accepts the scaler must take.
#include <cstdint>
#include <span>

#include "fuzz_planned.h"
#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  CompareWithWhole(file, inkmark::PlannedKind::kGif, {{48, 32}, {0, 7}, {200, 20}, {5, 5}});
  return 0;
}
