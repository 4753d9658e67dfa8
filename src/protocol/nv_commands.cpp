#include "protocol/nv_commands.h"

#include <limits>

#include "picture/picture_bytes.h"

namespace inkmark {

namespace {

constexpr std::uint8_t kM = 0x30;
constexpr std::uint8_t kDefineRaster = 0x43;
constexpr std::uint8_t kDefineColumn = 0x44;
constexpr std::uint8_t kStoreRaster = 0x70;
constexpr std::uint8_t kStoreColumn = 0x71;

std::uint8_t KeyByte(const NvKey& key, int i) { return static_cast<std::uint8_t>(key[i]); }

}  // namespace

std::array<std::uint8_t, 11> PrintNvCommand(const NvKey& key) {
  return {0x1D, 0x28, 0x4C, 0x06, 0x00, kM, 0x45, KeyByte(key, 0), KeyByte(key, 1), 0x01, 0x01};
}

std::array<std::uint8_t, 9> DeleteNvCommand(const NvKey& key) {
  return {0x1D, 0x28, 0x4C, 0x04, 0x00, kM, 0x42, KeyByte(key, 0), KeyByte(key, 1)};
}

std::array<std::uint8_t, 9> DensityCommand(bool dpi360) {
  const std::uint8_t d = dpi360 ? 0x33 : 0x32;
  return {0x1D, 0x28, 0x4C, 0x04, 0x00, kM, 0x31, d, d};
}

std::array<std::uint8_t, kDefineHeaderSize> DefineHeader(GraphicsForm form, std::uint32_t total,
                                                         const NvKey& key, std::uint8_t blocks,
                                                         std::uint16_t width,
                                                         std::uint16_t height) {
  std::array<std::uint8_t, kDefineHeaderSize> h{0x1D, 0x38, 0x4C};
  PutU32(h, 3, total + 10);
  h[7] = kM;
  h[8] = form == GraphicsForm::kRaster ? kDefineRaster : kDefineColumn;
  h[9] = kM;
  h[10] = KeyByte(key, 0);
  h[11] = KeyByte(key, 1);
  h[12] = blocks;
  PutU16(h, 13, width);
  PutU16(h, 15, height);
  return h;
}

std::array<std::uint8_t, kStoreHeaderSize> StoreHeader(GraphicsForm form, std::uint16_t data_bytes,
                                                       std::uint8_t color_code, std::uint16_t width,
                                                       std::uint16_t height) {
  std::array<std::uint8_t, kStoreHeaderSize> h{0x1D, 0x28, 0x4C};
  PutU16(h, 3, static_cast<std::uint16_t>(data_bytes + 10));
  h[5] = kM;
  h[6] = form == GraphicsForm::kRaster ? kStoreRaster : kStoreColumn;
  h[7] = kM;
  h[8] = 0x01;  // horizontal and vertical scale
  h[9] = 0x01;
  h[10] = color_code;
  PutU16(h, 11, width);
  PutU16(h, 13, height);
  return h;
}

Status WriteBytes(PortDriver& port, std::span<const std::uint8_t> bytes, std::uint32_t* written) {
  std::uint32_t taken = 0;
  std::uint32_t errors = 0;
  if (written != nullptr) *written = 0;
  if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
    return {FailureCode::kTooLarge, "a command of more than 4 GB"};
  Status result = port.write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), taken, errors);
  if (written != nullptr) *written = taken;
  return result;
}

}  // namespace inkmark
