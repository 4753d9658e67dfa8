#include "test_bytes.h"

namespace inkmark::vprinter::testing {
namespace {

// `value` as `size` little-endian bytes.
Bytes Le(std::uint32_t value, int size) {
  Bytes out;
  for (int i = 0; i < size; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
  return out;
}

}  // namespace

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Define(std::uint8_t fn, char k1, char k2, int width, int height, Blocks blocks) {
  std::uint32_t count = 10;
  for (const auto& [code, data] : blocks) count += 1 + std::uint32_t(data.size());
  Bytes out =
      Cat({{0x1D, 0x38, 0x4C},
           Le(count, 4),
           {0x30, fn, 0x30, std::uint8_t(k1), std::uint8_t(k2), std::uint8_t(blocks.size())},
           Le(width, 2),
           Le(height, 2)});
  for (const auto& [code, data] : blocks) out = Cat({out, {code}, data});
  return out;
}

Bytes Store(bool column, std::uint8_t colour, int width, int height, const Bytes& data) {
  return Cat({{0x1D, 0x28, 0x4C},
              Le(std::uint32_t(data.size() + 10), 2),
              {0x30, std::uint8_t(column ? 0x71 : 0x70), 0x30, 0x01, 0x01, colour},
              Le(width, 2),
              Le(height, 2),
              data});
}

}  // namespace inkmark::vprinter::testing
