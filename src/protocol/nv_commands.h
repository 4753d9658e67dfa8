// The printer's command bytes for the NV graphics transactions and the
// graphics encodings, and the one way commands reach a port.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "ports/port_driver.h"
#include "protocol/nv_key.h"

namespace inkmark {

// Requests that expect a reply, and the host's acknowledgement of a key block.
inline constexpr std::uint8_t kKeyListRequest[] = {0x1D, 0x28, 0x4C, 0x04, 0x00,
                                                   0x30, 0x40, 0x4B, 0x43};
inline constexpr std::uint8_t kCapacityRequest[] = {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x33};
inline constexpr std::uint8_t kAcknowledge[] = {0x06};
// Prints what the store commands put into the print buffer.
inline constexpr std::uint8_t kPrintBufferCommand[] = {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x32};

// Reply bytes.
inline constexpr std::uint8_t kReplyHeader = 0x37;
inline constexpr std::uint8_t kKeyListId = 0x72;
inline constexpr std::uint8_t kCapacityId = 0x31;
inline constexpr std::uint8_t kLastKeyBlock = 0x40;

// Colour codes of a graphics block: the printer's first and second ink.
inline constexpr std::uint8_t kFirstColorCode = 0x31;
inline constexpr std::uint8_t kSecondColorCode = 0x32;

// Function bytes that tell the raster form from the column form.
enum class GraphicsForm : std::uint8_t { kRaster, kColumn };

// A store command's 16-bit count covers its data and 10 bytes of fields.
inline constexpr std::uint32_t kMaxStoreData = 0xFFFF - 10;

inline constexpr std::size_t kDefineHeaderSize = 17;
inline constexpr std::size_t kStoreHeaderSize = 15;

std::array<std::uint8_t, 11> PrintNvCommand(const NvKey& key);
std::array<std::uint8_t, 9> DeleteNvCommand(const NvKey& key);
// Sets the graphics dot density: 0x33 at 360 dpi, else 0x32.
std::array<std::uint8_t, 9> DensityCommand(bool dpi360);

// The define command's fixed fields; `total` counts the colour blocks that
// follow (each with its colour code). The count field is total + 10.
std::array<std::uint8_t, kDefineHeaderSize> DefineHeader(GraphicsForm form, std::uint32_t total,
                                                         const NvKey& key, std::uint8_t blocks,
                                                         std::uint16_t width, std::uint16_t height);
// The store command's fixed fields for `data_bytes` (at most kMaxStoreData) of one colour.
std::array<std::uint8_t, kStoreHeaderSize> StoreHeader(GraphicsForm form, std::uint16_t data_bytes,
                                                       std::uint8_t color_code, std::uint16_t width,
                                                       std::uint16_t height);

// Writes all bytes in one port write; the write's result. `written`, when
// given, receives how many of them the port took.
Status WriteBytes(PortDriver& port, std::span<const std::uint8_t> bytes,
                  std::uint32_t* written = nullptr);

}  // namespace inkmark
