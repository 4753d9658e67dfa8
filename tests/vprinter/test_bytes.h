// Command bytes for the virtual printer tests, laid out field by field as the
// host sends them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace inkmark::vprinter::testing {

using Bytes = std::vector<std::uint8_t>;
using Blocks = std::initializer_list<std::pair<std::uint8_t, Bytes>>;

Bytes Cat(std::initializer_list<Bytes> parts);

inline const Bytes kInitialise = {0x1B, 0x40};
inline const Bytes kKeyListRequest = {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x40, 0x4B, 0x43};
inline const Bytes kAck = {0x06};
inline const Bytes kCapacityRequest = {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x33};
inline const Bytes kPrintBuffer = {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x32};

inline Bytes PrintNv(char k1, char k2) {
  return {0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, std::uint8_t(k1), std::uint8_t(k2), 1, 1};
}
inline Bytes DeleteNv(char k1, char k2) {
  return {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x42, std::uint8_t(k1), std::uint8_t(k2)};
}
inline Bytes Density(std::uint8_t xy) { return {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, xy, xy}; }

// Define: 1D 38 4C p1..p4 30 fn 30 kc1 kc2 b xL xH yL yH, then each block's
// colour code and data; fn 0x43 in raster form, 0x44 in column form.
Bytes Define(std::uint8_t fn, char k1, char k2, int width, int height, Blocks blocks);
inline Bytes RasterDefine(char k1, char k2, int width, int height, Blocks blocks) {
  return Define(0x43, k1, k2, width, height, blocks);
}
inline Bytes ColumnDefine(char k1, char k2, int width, int height, Blocks blocks) {
  return Define(0x44, k1, k2, width, height, blocks);
}
// Store in the print buffer: 1D 28 4C pL pH 30 70|71 30 01 01 c xL xH yL yH data.
Bytes Store(bool column, std::uint8_t colour, int width, int height, const Bytes& data);

// A reply: 37 id text 00.
inline Bytes Reply(std::uint8_t id, const std::string& text) {
  return Cat({{0x37, id}, Bytes(text.begin(), text.end()), {0x00}});
}

}  // namespace inkmark::vprinter::testing
