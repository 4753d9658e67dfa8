#include "picture/picture_header.h"

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

}  // namespace inkmark
