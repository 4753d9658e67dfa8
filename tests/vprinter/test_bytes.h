// Command bytes for the virtual printer tests, laid out field by field as the
// host sends them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace inkmark::vprinter::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts);

inline const Bytes kInitialise = {0x1B, 0x40};
inline const Bytes kKeyListRequest = {0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x40, 0x4B, 0x43};
inline const Bytes kAck = {0x06};
inline const Bytes kCapacityRequest = {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x33};
inline const Bytes kPrintBuffer = {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x32};

Bytes PrintNv(char k1, char k2);
Bytes DeleteNv(char k1, char k2);
Bytes Density(std::uint8_t xy);

// Define in raster form: 1D 38 4C p1..p4 30 43 30 kc1 kc2 b xL xH yL yH, then
// each block's colour code and data. `width` is the dots field as sent.
Bytes RasterDefine(char k1, char k2, int width, int height,
                   std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks);
// Define in column form: the same with fn 0x44.
Bytes ColumnDefine(char k1, char k2, int width, int height,
                   std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks);
// Store in the print buffer: 1D 28 4C pL pH 30 70|71 30 01 01 c xL xH yL yH data.
Bytes Store(bool column, std::uint8_t colour, int width, int height, const Bytes& data);

// A reply built from a header and text: 37 id text 00 (for capacities).
Bytes Reply(std::uint8_t id, const std::string& text);

}  // namespace inkmark::vprinter::testing
