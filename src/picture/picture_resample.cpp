// The pipeline's scaler and the scale-and-crop step that writes the pictures the
// converter reads.
#include <algorithm>
#include <cstring>

#include "picture/picture.h"
#include "picture/picture_bytes.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"

namespace inkmark {
namespace {

// A 24-bit picture whose rows are known to lie inside it.
struct Rgb24View {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t pixel_offset = 0;
};

std::optional<Rgb24View> ViewRgb24(const BitmapFile& picture) {
  auto h = ReadBitmapHeader(picture);
  if (!h || h->bits_per_pixel != 24 || !PictureSizeAllowed(h->width, h->height)) {
    return std::nullopt;
  }
  if (h->pixel_offset < kHeadersSize ||
      !ByteReader(picture).Has(h->pixel_offset, Rgb24Stride(h->width) * h->height)) {
    return std::nullopt;
  }
  return Rgb24View{h->width, h->height, h->pixel_offset};
}

// A picture of `width` x `height` whose rows were placed after header room of
// the old picture's pixel offset: the old header is copied in and updated.
void FinishHeader(BitmapFile& picture, const BitmapFile& old, std::uint32_t pixel_offset,
                  std::int32_t width, std::int32_t height) {
  std::memcpy(picture.data(), old.data(), pixel_offset);
  const auto image_size = static_cast<std::uint32_t>(Rgb24Stride(width) * height);
  PutU32(picture, kOffWidth, static_cast<std::uint32_t>(width));
  PutU32(picture, kOffHeight, static_cast<std::uint32_t>(height));
  PutU32(picture, kOffImageSize, image_size);
  PutU32(picture, kOffFileSize, image_size + pixel_offset);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ResampleRgb24(std::int32_t src_w, std::int32_t src_h,
                                                       std::int32_t dst_w, std::int32_t dst_h,
                                                       const std::uint8_t* src,
                                                       std::size_t src_stride,
                                                       std::size_t header_room) {
  if (src == nullptr || !PictureSizeAllowed(src_w, src_h) || !PictureSizeAllowed(dst_w, dst_h) ||
      src_stride < static_cast<std::size_t>(src_w) * 3 || header_room > kMaxPictureFileBytes) {
    return std::nullopt;
  }
  const std::size_t stride = Rgb24Stride(dst_w);
  std::vector<std::uint8_t> out(header_room + stride * static_cast<std::size_t>(dst_h), 0);

  // Source sizes are at most 32768, so the 16.16 positions stay below 2^31.
  const auto step_x = static_cast<std::uint32_t>(static_cast<double>(src_w) / dst_w * 65536.0);
  const auto step_y = static_cast<std::uint32_t>(static_cast<double>(src_h) / dst_h * 65536.0);
  const auto half_w = static_cast<std::uint32_t>(src_w / 2);
  const auto half_h = static_cast<std::uint32_t>(src_h / 2);
  const auto last_x = static_cast<std::uint32_t>(src_w - 1);
  const auto last_y = static_cast<std::uint32_t>(src_h - 1);
  const std::size_t row_bytes = static_cast<std::size_t>(dst_w) * 3;

  std::uint8_t* row = out.data() + header_room;
  std::size_t filled = 0;
  std::uint32_t pos_y = 0;
  for (std::int32_t j = 0; j < dst_h; ++j, pos_y += step_y) {
    const std::uint32_t sy = pos_y >> 16;
    // Below the last row, take the row on the centre's side.
    const std::uint32_t near_y = (sy <= half_h) ? sy + 1 : sy;
    std::uint32_t pos_x = 0;
    for (std::int32_t i = 0; i < dst_w; ++i, pos_x += step_x) {
      const std::uint32_t sx = pos_x >> 16;
      std::uint32_t px, py;
      if (sy < last_y && sx < last_x) {
        px = (sx <= half_w) ? sx + 1 : sx;
        py = near_y;
      } else if (sy == last_y || sx == last_x) {
        px = sx;
        py = sy;
      } else {
        continue;  // past the source: nothing is written
      }
      std::memcpy(row + filled, src + py * src_stride + static_cast<std::size_t>(px) * 3, 3);
      filled += 3;
      if (filled == row_bytes) {
        row += stride;
        filled = 0;
      }
    }
  }
  return out;
}

std::optional<BitmapFile> ScaleCropToFile(std::int32_t width, std::int32_t crop_width,
                                          const std::string& path_or_empty,
                                          const BitmapFile* picture_or_null,
                                          const std::string& dest_path,
                                          std::array<std::int32_t, 2>& size_out) {
  if (width <= 0 || crop_width <= 0) return std::nullopt;
  // The caller's picture is read where it is; it is copied only when it comes
  // back unchanged.
  std::optional<BitmapFile> loaded;
  if (picture_or_null == nullptr) {
    loaded = LoadPicture(path_or_empty).ToOptional();
    if (!loaded) return std::nullopt;
    picture_or_null = &*loaded;
  }
  const BitmapFile* picture = picture_or_null;
  std::optional<BitmapFile> result;
  auto view = ViewRgb24(*picture);
  if (!view) return std::nullopt;

  std::int32_t w = view->width;
  // At least one row: a wide, low picture must not vanish when it is scaled down.
  const auto scaled_h = static_cast<std::int64_t>(view->height) * width / view->width;
  std::int32_t h = static_cast<std::int32_t>(std::max<std::int64_t>(scaled_h, 1));
  const std::uint32_t offset = view->pixel_offset;
  if (w != width) {
    auto scaled =
        ResampleRgb24(w, view->height, width, h, picture->data() + offset, Rgb24Stride(w), offset);
    if (!scaled) return std::nullopt;
    FinishHeader(*scaled, *picture, offset, width, h);
    result = std::move(scaled);
    picture = &*result;
    w = width;
  } else {
    h = view->height;
  }

  if (w > crop_width) {
    const std::size_t old_stride = Rgb24Stride(w);
    const std::size_t new_stride = Rgb24Stride(crop_width);
    BitmapFile cropped(offset + new_stride * static_cast<std::size_t>(h), 0);
    for (std::int32_t r = 0; r < h; ++r) {
      std::memcpy(cropped.data() + offset + r * new_stride,
                  picture->data() + offset + r * old_stride, new_stride);
    }
    FinishHeader(cropped, *picture, offset, crop_width, h);
    result = std::move(cropped);
    picture = &*result;
    w = crop_width;
  }

  size_out = {w, h};
  // A destination left stale would be converted in place of this picture.
  if (!dest_path.empty() && !WriteTempFile(dest_path, *picture)) return std::nullopt;
  if (!result) {
    if (loaded) return loaded;
    result = *picture;
  }
  return result;
}

void WriteRgb24Header(std::span<std::uint8_t> block, std::int32_t width, std::int32_t height) {
  if (block.size() < kHeadersSize) return;
  const std::uint64_t image_size =
      ((static_cast<std::uint64_t>(static_cast<std::uint32_t>(width)) * 3 + 3) &
       ~std::uint64_t{3}) *
      static_cast<std::uint32_t>(height);
  block[0] = 'B';
  block[1] = 'M';
  PutU32(block, kOffFileSize, static_cast<std::uint32_t>(kHeadersSize + image_size));
  PutU32(block, 6, 0);
  PutU32(block, kOffPixelOffset, kHeadersSize);
  PutU32(block, kOffHeaderSize, kInfoHeaderSize);
  PutU32(block, kOffWidth, static_cast<std::uint32_t>(width));
  PutU32(block, kOffHeight, static_cast<std::uint32_t>(height));
  PutU16(block, kOffPlanes, 1);
  PutU16(block, kOffBitsPerPixel, 24);
  PutU32(block, kOffCompression, 0);
  PutU32(block, kOffImageSize, static_cast<std::uint32_t>(image_size));
}

}  // namespace inkmark
