#include "document/logo_raster.h"

#include <cstring>
#include <utility>

#include "picture/picture_bytes.h"
#include "picture/picture_header.h"

namespace inkmark {

PaletteEntry PaletteEntryFromColor(std::int32_t color) {
  switch (color) {
    case kColorRed:
      return {0, 0, 255};
    case kColorGreen:
      return {0, 255, 0};
    case kColorBlue:
      return {255, 0, 0};
    default:
      return {0, 0, 0};
  }
}

std::optional<LogoRaster> LogoRaster::FromFile(BitmapFile file) {
  auto h = ReadBitmapHeader(file);
  if (!h || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  if (h->header_size != kInfoHeaderSize || h->planes != 1 || h->compression != kCompressionNone) {
    return std::nullopt;
  }
  if ((h->bits_per_pixel != 1 && h->bits_per_pixel != 8) ||
      !PictureSizeAllowed(h->width, h->height)) {
    return std::nullopt;
  }
  if (h->colors_used == 0 || h->colors_used > (1u << h->bits_per_pixel)) return std::nullopt;
  if (h->pixel_offset < kHeadersSize + 4 * h->colors_used) return std::nullopt;
  const std::size_t stride = PaddedStride(h->width, h->bits_per_pixel);
  if (!ByteReader(file).Has(h->pixel_offset, stride * static_cast<std::size_t>(h->height))) {
    return std::nullopt;
  }
  if (h->file_size != file.size()) return std::nullopt;

  LogoRaster raster;
  raster.width_ = h->width;
  raster.height_ = h->height;
  raster.bits_ = h->bits_per_pixel;
  raster.palette_count_ = h->colors_used;
  raster.pixel_offset_ = h->pixel_offset;
  raster.stride_ = stride;
  raster.file_ = std::move(file);
  return raster;
}

std::optional<PaletteEntry> LogoRaster::palette_entry(std::uint32_t index) const {
  if (index >= palette_count_) return std::nullopt;
  const std::uint8_t* p = file_.data() + kHeadersSize + 4 * static_cast<std::size_t>(index);
  return PaletteEntry{p[0], p[1], p[2]};
}

std::span<const std::uint8_t> LogoRaster::row(std::int32_t r) const {
  if (r < 0 || r >= height_) return {};
  return std::span(file_).subspan(pixel_offset_ + static_cast<std::size_t>(r) * stride_, stride_);
}

std::span<std::uint8_t> LogoRaster::mutable_row(std::int32_t r) {
  if (r < 0 || r >= height_) return {};
  return std::span(file_).subspan(pixel_offset_ + static_cast<std::size_t>(r) * stride_, stride_);
}

std::optional<std::uint8_t> LogoRaster::pixel(std::int32_t x, std::int32_t r) const {
  if (x < 0 || x >= width_ || r < 0 || r >= height_) return std::nullopt;
  const auto bytes = row(r);
  if (bits_ == 8) return bytes[x];
  return static_cast<std::uint8_t>((bytes[x >> 3] >> (7 - (x & 7))) & 1);
}

std::optional<std::uint32_t> LogoRaster::FindInk(std::int32_t color) const {
  if (color == kNoInk) return std::nullopt;
  const PaletteEntry wanted{static_cast<std::uint8_t>(color >> 16),
                            static_cast<std::uint8_t>(color >> 8),
                            static_cast<std::uint8_t>(color)};
  for (std::uint32_t i = 0; i < palette_count_; ++i) {
    if (*palette_entry(i) == wanted) return i;
  }
  return std::nullopt;
}

namespace {

constexpr PaletteEntry kWhite{255, 255, 255};

void PutEntry(BitmapFile& file, std::size_t index, const PaletteEntry& e) {
  const std::size_t at = kHeadersSize + 4 * index;
  file[at] = e.blue;
  file[at + 1] = e.green;
  file[at + 2] = e.red;
  file[at + 3] = 0;
}

}  // namespace

std::optional<LogoRaster> RasterFromComposite(std::span<const std::uint8_t> composite,
                                              std::int32_t first_color, std::int32_t second_color) {
  auto page = ReadBitmapHeader(composite);
  if (!page || page->bits_per_pixel != 24 || !PictureSizeAllowed(page->width, page->height)) {
    return std::nullopt;
  }
  const std::int32_t width = page->width;
  const std::int32_t height = page->height;
  const std::size_t src_stride = Rgb24Stride(width);
  if (!ByteReader(composite).Has(kHeadersSize, src_stride * static_cast<std::size_t>(height))) {
    return std::nullopt;
  }

  const bool one_ink = second_color == kNoInk;
  const std::uint32_t entries = one_ink ? 2 : 3;
  const std::size_t pixel_offset = kHeadersSize + 4 * entries;
  const std::size_t stride = one_ink ? PaddedStride(width, 1) : PaddedStride(width, 8);
  const std::size_t image_size = stride * static_cast<std::size_t>(height);
  BitmapFile out(pixel_offset + image_size, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, kOffFileSize, static_cast<std::uint32_t>(out.size()));
  PutU32(out, kOffPixelOffset, static_cast<std::uint32_t>(pixel_offset));
  PutU32(out, kOffHeaderSize, kInfoHeaderSize);
  PutU32(out, kOffWidth, static_cast<std::uint32_t>(width));
  PutU32(out, kOffHeight, static_cast<std::uint32_t>(height));
  PutU16(out, kOffPlanes, 1);
  PutU16(out, kOffBitsPerPixel, one_ink ? 1 : 8);
  PutU32(out, kOffImageSize, static_cast<std::uint32_t>(image_size));
  PutU32(out, kOffColorsUsed, entries);
  PutU32(out, kOffColorsImportant, entries);

  const PaletteEntry first = PaletteEntryFromColor(first_color);
  const PaletteEntry second = PaletteEntryFromColor(second_color);
  PutEntry(out, 0, first);
  if (one_ink) {
    PutEntry(out, 1, kWhite);
  } else {
    PutEntry(out, 1, second);
    PutEntry(out, 2, kWhite);
  }

  for (std::int32_t r = 0; r < height; ++r) {
    const std::uint8_t* src = composite.data() + kHeadersSize + r * src_stride;
    std::uint8_t* dst = out.data() + pixel_offset + r * stride;
    for (std::int32_t x = 0; x < width; ++x, src += 3) {
      const PaletteEntry p{src[0], src[1], src[2]};
      if (one_ink) {
        if (p == kWhite) dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
      } else {
        dst[x] = p == first ? 0 : (p == second ? 1 : 2);
      }
    }
  }
  return LogoRaster::FromFile(std::move(out));
}

std::optional<LogoRaster> RasterFromComposite(std::span<const std::uint8_t> composite,
                                              const LogoSession& session) {
  return RasterFromComposite(composite, session.first_color, session.second_color);
}

}  // namespace inkmark
