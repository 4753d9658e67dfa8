// LogoRaster's checked accessors, and the classifier, on arbitrary bytes.
#include <cstdint>
#include <span>

#include "document/logo_raster.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  unsigned sum = 0;
  if (auto raster =
          inkmark::LogoRaster::FromFile(inkmark::BitmapFile(bytes.begin(), bytes.end()))) {
    for (std::int32_t r = -1; r <= raster->height(); ++r) {
      for (std::uint8_t b : raster->row(r)) sum += b;
      for (std::int32_t x = -1; x <= raster->width(); x += 7)
        sum += raster->pixel(x, r).value_or(0);
    }
    for (std::uint32_t i = 0; i <= raster->palette_count(); ++i) {
      sum += raster->palette_entry(i).value_or(inkmark::PaletteEntry{}).red;
    }
    sum += raster->FindInk(inkmark::kColorRed).value_or(0);
  }
  // The classifier reads a composed page; the inks come from the first bytes.
  const std::int32_t second = size > 0 && (data[0] & 1) ? inkmark::kNoInk : inkmark::kColorRed;
  if (auto raster = inkmark::RasterFromComposite(bytes, inkmark::kColorBlack, second)) {
    if (!inkmark::LogoRaster::FromFile(std::move(*raster).Release())) __builtin_trap();
  }
  return static_cast<int>(sum & 0);
}
