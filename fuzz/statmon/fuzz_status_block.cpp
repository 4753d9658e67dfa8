// StatusBlockFramer on an arbitrary stream: the first byte gives the room. A
// block never runs past the room, and a finished one starts with the header
// and ends with its NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "statmon/status_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint32_t room = data[0];
  // Exactly the room, so that a store past it is caught.
  auto out = std::make_unique<std::uint8_t[]>(room);
  inkmark::StatusBlockFramer framer(out.get(), room);
  using Step = inkmark::StatusBlockFramer::Step;
  for (std::size_t i = 1; i < size; ++i) {
    Step step = framer.Feed(data[i]);
    if (framer.size() > room) std::abort();
    if (step == Step::kMore) continue;
    if (step == Step::kDone &&
        (framer.size() < 2 || out[0] != inkmark::kStatusBlockHeader || out[framer.size() - 1] != 0))
      std::abort();
    break;
  }
  return 0;
}
