#include "graphics.h"

#include <algorithm>

namespace inkmark::vprinter {

bool IsValidKeyByte(std::uint8_t b) { return b >= 0x20 && b <= 0x7E; }

std::string KeyText(const NvKey& key) { return {char(key[0]), char(key[1])}; }

std::size_t Graphics::BlockBytes() const {
  if (form == GraphicsForm::kRaster) return std::size_t((width + 7) / 8) * height;
  return std::size_t(width) * ((height + 7) / 8);
}

std::size_t Graphics::DataTotal() const { return blocks.size() * (1 + BlockBytes()); }

namespace {

std::uint8_t InkOf(std::uint8_t color_code) { return color_code == kSecondInkCode ? 2 : 1; }

bool DotSet(const Graphics& g, const std::vector<std::uint8_t>& data, int x, int y) {
  if (g.form == GraphicsForm::kRaster) {
    std::size_t row_bytes = std::size_t((g.width + 7) / 8);
    return data[std::size_t(y) * row_bytes + std::size_t(x / 8)] & (0x80 >> (x % 8));
  }
  std::size_t column_bytes = std::size_t((g.height + 7) / 8);
  return data[std::size_t(x) * column_bytes + std::size_t(y / 8)] & (0x80 >> (y % 8));
}

}  // namespace

std::optional<Picture> RenderGraphics(const Graphics& g, int sx, int sy) {
  if (sx < 1 || sy < 1) return std::nullopt;
  std::size_t dots = std::size_t(g.width) * sx * std::size_t(g.height) * sy;
  if (dots > kMaxPictureDots) return std::nullopt;
  for (const auto& block : g.blocks) {
    if (block.data.size() != g.BlockBytes()) return std::nullopt;
  }
  Picture p;
  p.width = g.width * sx;
  p.height = g.height * sy;
  p.inks.assign(dots, 0);
  for (int y = 0; y < g.height; ++y) {
    for (int x = 0; x < g.width; ++x) {
      std::uint8_t ink = 0;
      for (const auto& block : g.blocks) {
        if (!DotSet(g, block.data, x, y)) continue;
        std::uint8_t this_ink = InkOf(block.color_code);
        if (ink == 0 || this_ink == 1) ink = this_ink;
      }
      if (ink == 0) continue;
      for (int dy = 0; dy < sy; ++dy) {
        auto* row = &p.inks[std::size_t(y * sy + dy) * std::size_t(p.width)];
        std::fill_n(row + std::size_t(x) * sx, sx, ink);
      }
    }
  }
  return p;
}

void OverlayPicture(Picture& base, const Picture& top) {
  int w = std::max(base.width, top.width);
  int h = std::max(base.height, top.height);
  if (w != base.width || h != base.height) {
    Picture grown{w, h, std::vector<std::uint8_t>(std::size_t(w) * std::size_t(h), 0)};
    for (int y = 0; y < base.height; ++y) {
      for (int x = 0; x < base.width; ++x) {
        grown.inks[std::size_t(y) * w + x] = base.At(x, y);
      }
    }
    base = std::move(grown);
  }
  for (int y = 0; y < top.height; ++y) {
    for (int x = 0; x < top.width; ++x) {
      std::uint8_t ink = top.At(x, y);
      auto& dot = base.inks[std::size_t(y) * w + x];
      if (ink != 0 && dot != 1) dot = ink;
    }
  }
}

std::vector<std::uint8_t> EncodeDefine(const NvKey& key, const Graphics& g) {
  std::uint32_t count = std::uint32_t(g.DataTotal() + 10);
  std::vector<std::uint8_t> out = {0x1D, 0x38, 0x4C};
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(count >> (8 * i)));
  out.insert(out.end(),
             {0x30, std::uint8_t(g.form == GraphicsForm::kRaster ? 0x43 : 0x44), 0x30, key[0],
              key[1], std::uint8_t(g.blocks.size()), std::uint8_t(g.width),
              std::uint8_t(g.width >> 8), std::uint8_t(g.height), std::uint8_t(g.height >> 8)});
  for (const auto& block : g.blocks) {
    out.push_back(block.color_code);
    out.insert(out.end(), block.data.begin(), block.data.end());
  }
  return out;
}

}  // namespace inkmark::vprinter
