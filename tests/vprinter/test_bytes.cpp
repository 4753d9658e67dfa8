#include "test_bytes.h"

namespace inkmark::vprinter::testing {

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes PrintNv(char k1, char k2) {
  return {0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, std::uint8_t(k1), std::uint8_t(k2), 0x01, 0x01};
}

Bytes DeleteNv(char k1, char k2) {
  return {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x42, std::uint8_t(k1), std::uint8_t(k2)};
}

Bytes Density(std::uint8_t xy) { return {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, xy, xy}; }

static Bytes Define(std::uint8_t fn, char k1, char k2, int width, int height,
                    std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks) {
  std::uint32_t total = 0;
  for (const auto& [code, data] : blocks) total += 1 + std::uint32_t(data.size());
  std::uint32_t count = total + 10;
  Bytes out = {0x1D,
               0x38,
               0x4C,
               std::uint8_t(count),
               std::uint8_t(count >> 8),
               std::uint8_t(count >> 16),
               std::uint8_t(count >> 24),
               0x30,
               fn,
               0x30,
               std::uint8_t(k1),
               std::uint8_t(k2),
               std::uint8_t(blocks.size()),
               std::uint8_t(width),
               std::uint8_t(width >> 8),
               std::uint8_t(height),
               std::uint8_t(height >> 8)};
  for (const auto& [code, data] : blocks) {
    out.push_back(code);
    out.insert(out.end(), data.begin(), data.end());
  }
  return out;
}

Bytes RasterDefine(char k1, char k2, int width, int height,
                   std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks) {
  return Define(0x43, k1, k2, width, height, blocks);
}

Bytes ColumnDefine(char k1, char k2, int width, int height,
                   std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks) {
  return Define(0x44, k1, k2, width, height, blocks);
}

Bytes Store(bool column, std::uint8_t colour, int width, int height, const Bytes& data) {
  std::size_t count = data.size() + 10;
  Bytes out = {0x1D,
               0x28,
               0x4C,
               std::uint8_t(count),
               std::uint8_t(count >> 8),
               0x30,
               std::uint8_t(column ? 0x71 : 0x70),
               0x30,
               0x01,
               0x01,
               colour,
               std::uint8_t(width),
               std::uint8_t(width >> 8),
               std::uint8_t(height),
               std::uint8_t(height >> 8)};
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

Bytes Reply(std::uint8_t id, const std::string& text) {
  Bytes out = {0x37, id};
  for (char c : text) out.push_back(std::uint8_t(c));
  out.push_back(0x00);
  return out;
}

}  // namespace inkmark::vprinter::testing
