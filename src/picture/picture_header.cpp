#include "picture/picture_header.h"

#include <string>

#include "picture/picture_bytes.h"

namespace inkmark {

std::optional<BitmapHeader> ReadBitmapHeader(std::span<const std::uint8_t> file) {
  ByteReader in(file);
  if (!in.Has(0, kHeadersSize)) return std::nullopt;
  BitmapHeader h;
  h.file_size = *in.U32(kOffFileSize);
  h.pixel_offset = *in.U32(kOffPixelOffset);
  h.header_size = *in.U32(kOffHeaderSize);
  h.width = *in.I32(kOffWidth);
  h.height = *in.I32(kOffHeight);
  h.planes = *in.U16(kOffPlanes);
  h.bits_per_pixel = *in.U16(kOffBitsPerPixel);
  h.compression = *in.U32(kOffCompression);
  h.image_size = *in.U32(kOffImageSize);
  h.colors_used = *in.U32(kOffColorsUsed);
  return h;
}

bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) return false;
  if (width > kMaxPictureSide || height > kMaxPictureSide) return false;
  return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <=
         kMaxPicturePixels;
}

Status CheckPictureSize(std::int64_t width, std::int64_t height, std::string_view format) {
  if (PictureSizeAllowed(width, height)) return Status();
  const std::string prefix = std::string(format) + ": ";
  if (width <= 0 || height <= 0)
    return {FailureCode::kCorrupt, prefix + "a width or height of 0 or less"};
  const std::string size = std::to_string(width) + " \u00d7 " + std::to_string(height);
  if (width > kMaxPictureSide || height > kMaxPictureSide)
    return {FailureCode::kTooLarge, prefix + size + " has a side longer than " +
                                        std::to_string(kMaxPictureSide) + " pixels"};
  return {FailureCode::kTooLarge, prefix + size + " is more than the " +
                                      std::to_string(kMaxPicturePixels >> 20) + "-megapixel limit"};
}

}  // namespace inkmark
