#include "converter/convert_settings.h"

namespace inkmark::converter {
namespace {

bool IsRevise(std::uint32_t v) { return v >= 1 && v <= 5; }

bool IsAttach(std::uint16_t v) {
  return v == kAttachFirst || v == kAttachSecond || v == kAttachWhite;
}

// The palette shows an ink by its colour value; "no ink" (-1) and anything
// else outside 24 bits prints as black, as the document raster does.
std::int32_t InkColor(std::int32_t value) {
  return (value >= 0 && value <= 0xFFFFFF) ? value : kColorBlack;
}

}  // namespace

std::optional<ConvertSettings> CheckParams(const ConversionParams& p, const std::int32_t inks[2]) {
  if (inks == nullptr) return std::nullopt;
  if (p.target_width == 0 || p.target_height == 0) return std::nullopt;
  if (p.target_width > kMaxTargetSide || p.target_height > kMaxTargetSide) return std::nullopt;
  if (std::uint64_t{p.target_width} * p.target_height > kMaxTargetPixels) return std::nullopt;
  if (p.color_count != 1 && p.color_count != 2) return std::nullopt;
  if (p.color_table != 0 && p.color_table != 1) return std::nullopt;
  if (p.palette_size != 2 && p.palette_size != 256) return std::nullopt;
  if (p.processing > 2 || p.attach_manual > 1) return std::nullopt;
  if (!IsRevise(p.adjust_r) || !IsRevise(p.adjust_g) || !IsRevise(p.adjust_b)) {
    return std::nullopt;
  }
  for (std::uint16_t v : p.level_attach) {
    if (!IsAttach(v)) return std::nullopt;
  }
  ConvertSettings s;
  s.two_inks = p.color_count == 2;
  // Two inks need both palette entries and the pair in its own order.
  if (s.two_inks && (p.palette_size != 256 || p.color_table != 0)) return std::nullopt;

  s.width = p.target_width;
  s.height = p.target_height;
  s.inks = {InkColor(inks[0]), InkColor(inks[1])};
  s.single_ink_code = static_cast<std::uint8_t>(p.color_table);
  s.palette_size = p.palette_size;
  s.grade = static_cast<Grade>(p.processing);
  s.revise = {p.adjust_r, p.adjust_g, p.adjust_b};
  // The attach controls are offered at the Coarse grade only; finer grades
  // keep the stored choice but do not use it.
  s.manual = p.attach_manual == 1 && s.grade == Grade::kCoarse;
  for (int level = 0; level < 8; ++level) {
    std::uint16_t v = p.level_attach[level];
    if (s.two_inks) {
      s.level_codes[level] = static_cast<std::uint8_t>(v & 0xFF);
    } else {
      s.level_codes[level] = (v >> 8) == 0 ? s.single_ink_code : kCodeWhite;
    }
  }
  return s;
}

}  // namespace inkmark::converter
