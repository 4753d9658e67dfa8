#include "test_bytes.h"

namespace inkmark::vprinter::testing {
namespace {

// Appends `value` as `size` little-endian bytes.
void PutLe(Bytes& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

Bytes Define(std::uint8_t fn, char k1, char k2, int width, int height,
             std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks) {
  std::uint32_t count = 10;
  for (const auto& [code, data] : blocks) count += 1 + std::uint32_t(data.size());
  Bytes out = {0x1D, 0x38, 0x4C};
  PutLe(out, count, 4);
  out.insert(out.end(),
             {0x30, fn, 0x30, std::uint8_t(k1), std::uint8_t(k2), std::uint8_t(blocks.size())});
  PutLe(out, std::uint32_t(width), 2);
  PutLe(out, std::uint32_t(height), 2);
  for (const auto& [code, data] : blocks) out = Cat({out, {code}, data});
  return out;
}

}  // namespace

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

Bytes RasterDefine(char k1, char k2, int width, int height,
                   std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks) {
  return Define(0x43, k1, k2, width, height, blocks);
}

Bytes ColumnDefine(char k1, char k2, int width, int height,
                   std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks) {
  return Define(0x44, k1, k2, width, height, blocks);
}

Bytes Store(bool column, std::uint8_t colour, int width, int height, const Bytes& data) {
  Bytes out = {0x1D, 0x28, 0x4C};
  PutLe(out, std::uint32_t(data.size() + 10), 2);
  out.insert(out.end(), {0x30, std::uint8_t(column ? 0x71 : 0x70), 0x30, 0x01, 0x01, colour});
  PutLe(out, std::uint32_t(width), 2);
  PutLe(out, std::uint32_t(height), 2);
  return Cat({out, data});
}

Bytes Reply(std::uint8_t id, const std::string& text) {
  return Cat({{0x37, id}, Bytes(text.begin(), text.end()), {0x00}});
}

}  // namespace inkmark::vprinter::testing
