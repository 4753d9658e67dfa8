// Graphics as the printer receives them (raster or column layout, one block
// per ink) and the picture they print as.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace inkmark::vprinter {

// Two key bytes, each 0x20..0x7E.
using NvKey = std::array<std::uint8_t, 2>;

bool IsValidKeyByte(std::uint8_t b);
std::string KeyText(const NvKey& key);

// Raster: rows top to bottom, bit 7 of a row's first byte the leftmost dot.
// Column: columns left to right, bit 7 of a column's first byte the top dot.
enum class GraphicsForm : std::uint8_t { kRaster, kColumn };

inline constexpr std::uint8_t kFirstInkCode = 0x31;
inline constexpr std::uint8_t kSecondInkCode = 0x32;

struct InkBlock {
  std::uint8_t color_code = kFirstInkCode;
  std::vector<std::uint8_t> data;
};

struct Graphics {
  GraphicsForm form = GraphicsForm::kRaster;
  std::uint16_t width = 0;   // dots
  std::uint16_t height = 0;  // dots
  std::vector<InkBlock> blocks;

  // Bytes of one block's data for this form and size.
  std::size_t BlockBytes() const;
  // The size that the define command's count field gives these graphics,
  // less the 10 bytes of its own fields: b × (1 + block bytes).
  std::size_t DataTotal() const;
};

// The printed result: one value per dot, 0 white, 1 first ink, 2 second ink.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> inks;

  std::uint8_t At(int x, int y) const { return inks[std::size_t(y) * std::size_t(width) + x]; }
};

// Largest picture the printer will lay out, so a scaled print stays bounded:
// the largest logo (8192 × 2304 dots) printed at double size still fits.
inline constexpr std::size_t kMaxPictureDots = std::size_t(1) << 27;

// Lays the blocks over one another (where both inks are set, the first ink
// shows) and scales each dot by sx × sy. Fails on an inconsistent block size or
// a picture over kMaxPictureDots.
std::optional<Picture> RenderGraphics(const Graphics& g, int sx = 1, int sy = 1);

// Overlays `top` onto `base`, growing it as needed; the first ink wins.
void OverlayPicture(Picture& base, const Picture& top);

// The define command that stores `g` under `key` (long shape).
std::vector<std::uint8_t> EncodeDefine(const NvKey& key, const Graphics& g);

}  // namespace inkmark::vprinter
