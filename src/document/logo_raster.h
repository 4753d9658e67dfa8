// LogoRaster, the print raster: one owned bitmap file image with 1 or 8 bits per
// pixel, rows bottom-up, and a palette right after the 40-byte information
// header. It is only ever made from bytes whose header has been checked, so its
// accessors never reach outside the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "session/session.h"

namespace inkmark {

struct PaletteEntry {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  bool operator==(const PaletteEntry&) const = default;
};

// The palette entry that prints an ink: red, green and blue give their pure
// entries; black, and every other value (no ink too), give black.
PaletteEntry PaletteEntryFromColor(std::int32_t color);

class LogoRaster {
 public:
  // Takes over a bitmap file image. nullopt unless it is "BM" with a 40-byte
  // information header, a positive width and height within the picture limits,
  // 1 plane, 1 or 8 bits per pixel, no compression, 1 to 2^bits palette entries
  // (the colours-used field) lying at offset 54 before the pixel offset, every
  // row inside the image, and a file-size field equal to the image's length.
  static std::optional<LogoRaster> FromFile(BitmapFile file);

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  std::uint16_t bits_per_pixel() const { return bits_; }
  std::uint32_t palette_count() const { return palette_count_; }
  std::uint32_t pixel_offset() const { return pixel_offset_; }
  std::size_t row_stride() const { return stride_; }

  // Palette entry `index`, or nullopt past the palette.
  std::optional<PaletteEntry> palette_entry(std::uint32_t index) const;
  // Row `r` in storage order (0 is the bottom line), padding included; empty
  // when r is outside the raster.
  std::span<const std::uint8_t> row(std::int32_t r) const;
  std::span<std::uint8_t> mutable_row(std::int32_t r);
  // The value of pixel x of row r (a bit for 1-bit rasters), or nullopt outside.
  std::optional<std::uint8_t> pixel(std::int32_t x, std::int32_t r) const;
  // The first palette entry equal to the ink's colour; nullopt when none is, or
  // for kNoInk, which names no ink.
  std::optional<std::uint32_t> FindInk(std::int32_t color) const;

  const BitmapFile& bytes() const { return file_; }
  // Hands over the image, leaving the raster empty.
  BitmapFile Release() && { return std::move(file_); }

 private:
  LogoRaster() = default;

  BitmapFile file_;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::uint16_t bits_ = 0;
  std::uint32_t palette_count_ = 0;
  std::uint32_t pixel_offset_ = 0;
  std::size_t stride_ = 0;
};

// Classifies a composed 24-bit page (54-byte header, pixels at offset 54) by
// exact colour: with no 2nd ink a 1-bit raster (bit 1 white, 0 the ink), else an
// 8-bit raster (0 the 1st ink, 1 the 2nd, 2 white). nullopt when the page's
// header does not describe the rows it holds.
std::optional<LogoRaster> RasterFromComposite(std::span<const std::uint8_t> composite,
                                              const LogoSession& session);
std::optional<LogoRaster> RasterFromComposite(std::span<const std::uint8_t> composite,
                                              std::int32_t first_color, std::int32_t second_color);

}  // namespace inkmark
