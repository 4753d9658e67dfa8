// The bitmap file header and information header, read through the checked
// reader, and the size limits every picture is held to before memory is taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/failure.h"

namespace inkmark {

// Offsets of the fields of the 14-byte file header and the information header.
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;  // 54
inline constexpr std::size_t kOffFileSize = 2;
inline constexpr std::size_t kOffPixelOffset = 10;
inline constexpr std::size_t kOffHeaderSize = 14;
inline constexpr std::size_t kOffWidth = 18;
inline constexpr std::size_t kOffHeight = 22;
inline constexpr std::size_t kOffPlanes = 26;
inline constexpr std::size_t kOffBitsPerPixel = 28;
inline constexpr std::size_t kOffCompression = 30;
inline constexpr std::size_t kOffImageSize = 34;
inline constexpr std::size_t kOffXResolution = 38;
inline constexpr std::size_t kOffYResolution = 42;
inline constexpr std::size_t kOffColorsUsed = 46;
inline constexpr std::size_t kOffColorsImportant = 50;

inline constexpr std::uint32_t kCompressionNone = 0;
inline constexpr std::uint32_t kCompressionRle8 = 1;
inline constexpr std::uint32_t kCompressionRle4 = 2;
inline constexpr std::uint32_t kCompressionBitFields = 3;

// No side may exceed kMaxPictureSide and no picture kMaxPicturePixels (64 Mi
// pixels, 192 MiB at 24 bits): a few bytes of run-length data or a JPEG header
// could otherwise claim gigabytes. A 8000 x 8000 photograph still fits.
inline constexpr std::int32_t kMaxPictureSide = 32768;
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 26;

struct BitmapHeader {
  std::uint32_t file_size = 0;
  std::uint32_t pixel_offset = 0;
  std::uint32_t header_size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows bottom-up
  std::uint16_t planes = 0;
  std::uint16_t bits_per_pixel = 0;
  std::uint32_t compression = 0;
  std::uint32_t image_size = 0;
  std::uint32_t colors_used = 0;
};

// The fields of the first 54 bytes; nullopt when the bytes are shorter than that.
std::optional<BitmapHeader> ReadBitmapHeader(std::span<const std::uint8_t> file);

// True when width and height are positive and within the limits above.
bool PictureSizeAllowed(std::int64_t width, std::int64_t height);

// The same with its reason: kCorrupt for a side of 0 or less, kTooLarge with
// "W × H is more than the 64-megapixel limit" beyond the limits. `format`
// begins the detail ("JPEG", "bitmap").
Status CheckPictureSize(std::int64_t width, std::int64_t height, std::string_view format);

// Row strides: 24-bit rows, and rows of `bits` bits per pixel padded to 4 bytes.
// Width must already be within the limits (the results cannot overflow then).
inline std::size_t Rgb24Stride(std::int64_t width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}
inline std::size_t PaddedStride(std::int64_t width, unsigned bits) {
  return ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
}

}  // namespace inkmark
