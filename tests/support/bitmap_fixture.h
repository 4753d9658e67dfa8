// Builds bitmap files byte by byte for the picture tests, and reads pixels back;
// makes real JPEG files with libjpeg's compressor.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace inkmark::testing {

using Bgr = std::array<std::uint8_t, 3>;

struct BitmapFixture {
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bits_per_pixel = 24;
  std::uint32_t compression = 0;
  std::uint32_t header_size = 40;
  std::vector<Bgr> palette;                   // written after the information header
  std::vector<std::uint32_t> masks;           // written at offset 54 (inside a longer header)
  std::vector<std::uint8_t> pixels;           // stored rows or run-length data, as is
  std::optional<std::uint32_t> pixel_offset;  // default: right after palette or masks
  std::uint32_t image_size = 0;
};

inline BitmapFixture Fixture(std::int32_t width, std::int32_t height, std::uint16_t bits,
                             std::uint32_t compression = 0) {
  BitmapFixture f;
  f.width = width, f.height = height, f.bits_per_pixel = bits, f.compression = compression;
  return f;
}

std::vector<std::uint8_t> BuildBitmap(const BitmapFixture& fixture);

// Packs pixel values (palette indexes, or 16/24/32-bit values, low byte first)
// into rows padded to 4 bytes. rows[0] is the first stored row.
std::vector<std::uint8_t> PackRows(const std::vector<std::vector<std::uint32_t>>& rows,
                                   unsigned bits);

using Rows = std::vector<std::vector<std::uint32_t>>;

// A 24-bit picture with the fixed header a decoder writes (and a composed page);
// values are 0xRRGGBB, first stored row first.
std::vector<std::uint8_t> Page(const Rows& rows);

// Pixel x of stored row r of a 24-bit picture, located through its pixel offset.
Bgr PixelAt(std::span<const std::uint8_t> picture, std::int32_t x, std::int32_t r);

std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint16_t U16At(std::span<const std::uint8_t> bytes, std::size_t offset);

// A 16 x 16 JPEG file of one flat colour: RGB with 3 components, CMYK with 4.
std::vector<std::uint8_t> EncodeJpeg(int components);

// How EncodePhotoJpeg codes its picture: size, grey (1 component) or colour
// (3), the first component's sampling factors (2, 1: 4:2:2; 2, 2: 4:2:0;
// 1, 2: 4:4:0), a restart marker every `restart_rows` MCU rows (0: none) and
// progressive coding.
struct JpegCoding {
  int width = 16;
  int height = 16;
  int components = 3;
  int h_samp = 1;
  int v_samp = 1;
  int restart_rows = 0;
  bool progressive = false;
};

// A JPEG file of a busy picture (gradients, stripes and noise in every channel).
std::vector<std::uint8_t> EncodePhotoJpeg(const JpegCoding& coding);

}  // namespace inkmark::testing
