#include "document/compose_surface.h"

#include <algorithm>
#include <vector>

#include "picture/picture.h"
#include "picture/picture_header.h"

namespace inkmark {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

inline std::uint32_t Combine(std::uint32_t d, std::uint32_t s, RasterOp op) {
  switch (op) {
    case RasterOp::kAnd:
      return (d & s) | kOpaque;
    case RasterOp::kOr:
      return d | s | kOpaque;
    case RasterOp::kCopy:
      break;
  }
  return s | kOpaque;
}

// The part of [start, start + length) that lies inside [0, limit).
struct Span1D {
  std::int64_t from = 0;
  std::int64_t to = 0;
};
Span1D Clip(std::int64_t start, std::int64_t length, std::int64_t limit) {
  return {std::clamp<std::int64_t>(start, 0, limit),
          std::clamp<std::int64_t>(start + length, 0, limit)};
}

}  // namespace

QImage WhiteSurface(std::int32_t width, std::int32_t height) {
  if (!PictureSizeAllowed(width, height)) return {};
  QImage surface(width, height, QImage::Format_RGB32);
  if (surface.isNull()) return {};
  surface.fill(0xFFFFFFFFu);
  return surface;
}

BitmapFile SurfaceToPage(const QImage& surface) {
  const std::int32_t w = surface.width();
  const std::int32_t h = surface.height();
  const std::size_t stride = Rgb24Stride(w);
  BitmapFile page(kHeadersSize + stride * static_cast<std::size_t>(h), 0);
  WriteRgb24Header(page, w, h);
  for (std::int32_t r = 0; r < h; ++r) {
    // Stored rows run bottom-up.
    const auto* src = reinterpret_cast<const std::uint32_t*>(surface.constScanLine(h - 1 - r));
    std::uint8_t* out = page.data() + kHeadersSize + stride * static_cast<std::size_t>(r);
    for (std::int32_t x = 0; x < w; ++x) {
      const std::uint32_t p = src[x];
      out[3 * x] = static_cast<std::uint8_t>(p);
      out[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
      out[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
    }
  }
  return page;
}

std::optional<QImage> BitmapToSurface(std::span<const std::uint8_t> bitmap) {
  auto picture = DecodeBitmapToRgb24(bitmap);
  if (!picture) return std::nullopt;
  auto header = ReadBitmapHeader(*picture);
  if (!header) return std::nullopt;
  const std::int32_t w = header->width;
  const std::int32_t h = header->height;
  QImage surface = WhiteSurface(w, h);
  if (surface.isNull()) return std::nullopt;
  const std::size_t stride = Rgb24Stride(w);
  // The decoder has checked that every row lies inside the picture.
  for (std::int32_t r = 0; r < h; ++r) {
    const std::uint8_t* in =
        picture->data() + header->pixel_offset + stride * static_cast<std::size_t>(r);
    auto* out = reinterpret_cast<std::uint32_t*>(surface.scanLine(h - 1 - r));
    for (std::int32_t x = 0; x < w; ++x) {
      out[x] = kOpaque | (std::uint32_t{in[3 * x + 2]} << 16) |
               (std::uint32_t{in[3 * x + 1]} << 8) | in[3 * x];
    }
  }
  return surface;
}

std::uint32_t SurfacePixel(std::int32_t color) {
  const auto c = static_cast<std::uint32_t>(color);
  return kOpaque | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

void StretchBlit(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                 const QImage& src, RasterOp op) {
  StretchBlitPart(dst, x, y, w, h, {src, 0, 0, src.width(), src.height()}, op);
}

SourceWindow PickedWindow(std::int64_t dst_width, std::int64_t dst_height, std::int64_t x,
                          std::int64_t y, std::int64_t w, std::int64_t h, std::int64_t src_width,
                          std::int64_t src_height) {
  if (w <= 0 || h <= 0 || src_width <= 0 || src_height <= 0) return {};
  const Span1D cols = Clip(x, w, dst_width);
  const Span1D rows = Clip(y, h, dst_height);
  if (cols.from >= cols.to || rows.from >= rows.to) return {};
  // The picks rise with the destination, so the ends give the window.
  return {(cols.from - x) * src_width / w, (rows.from - y) * src_height / h,
          (cols.to - 1 - x) * src_width / w + 1, (rows.to - 1 - y) * src_height / h + 1};
}

void StretchBlitPart(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                     const SurfacePart& src, RasterOp op) {
  if (w <= 0 || h <= 0 || src.image.isNull() || dst.isNull()) return;
  const std::int64_t sw = src.width;
  const std::int64_t sh = src.height;
  const Span1D cols = Clip(x, w, dst.width());
  const Span1D rows = Clip(y, h, dst.height());
  if (cols.from >= cols.to || rows.from >= rows.to) return;
  std::vector<std::int32_t> src_col(static_cast<std::size_t>(cols.to - cols.from));
  for (std::int64_t dx = cols.from; dx < cols.to; ++dx) {
    src_col[dx - cols.from] = static_cast<std::int32_t>((dx - x) * sw / w - src.left);
  }
  for (std::int64_t dy = rows.from; dy < rows.to; ++dy) {
    const auto sy = static_cast<int>((dy - y) * sh / h - src.top);
    const auto* in = reinterpret_cast<const std::uint32_t*>(src.image.constScanLine(sy));
    auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(static_cast<int>(dy)));
    for (std::int64_t dx = cols.from; dx < cols.to; ++dx) {
      out[dx] = Combine(out[dx], in[src_col[dx - cols.from]], op);
    }
  }
}

bool StretchBitmap(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                   std::span<const std::uint8_t> bitmap, RasterOp op) {
  auto header = ReadBitmapHeader(bitmap);
  if (!header || !PictureSizeAllowed(header->width, header->height)) {
    // Refused (or drawn) as the whole decode does.
    auto surface = BitmapToSurface(bitmap);
    if (!surface) return false;
    StretchBlit(dst, x, y, w, h, *surface, op);
    return true;
  }
  const std::int64_t sw = header->width;
  const std::int64_t sh = header->height;
  const SourceWindow window = PickedWindow(dst.width(), dst.height(), x, y, w, h, sw, sh);
  const Span1D cols = Clip(x, w, dst.width());
  const Span1D out_rows = Clip(y, h, dst.height());
  // Drawing nothing still decodes every row, so that a damaged bitmap is refused alike.
  auto plan = [&](std::int32_t pw, std::int32_t ph) -> std::optional<RowPlan> {
    if (pw != sw || ph != sh) return std::nullopt;
    RowPlan p;
    p.keep.assign(static_cast<std::size_t>(ph), false);
    p.columns = window.Empty() ? 1 : static_cast<std::uint32_t>(window.right);
    if (window.Empty()) return p;
    // Rows are stored bottom-up.
    for (std::int64_t dy = out_rows.from; dy < out_rows.to; ++dy)
      p.keep[static_cast<std::size_t>(sh - 1 - (dy - y) * sh / h)] = true;
    return p;
  };
  auto rows = DecodeBitmapRows(bitmap, plan);
  if (!rows) return false;
  if (window.Empty()) return true;
  std::vector<std::uint32_t> src_col(static_cast<std::size_t>(cols.to - cols.from));
  for (std::int64_t dx = cols.from; dx < cols.to; ++dx) {
    src_col[dx - cols.from] = static_cast<std::uint32_t>((dx - x) * sw / w);
  }
  for (std::int64_t dy = out_rows.from; dy < out_rows.to; ++dy) {
    const std::uint8_t* in = rows->Row(static_cast<std::uint32_t>(sh - 1 - (dy - y) * sh / h));
    auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(static_cast<int>(dy)));
    for (std::int64_t dx = cols.from; dx < cols.to; ++dx) {
      const std::uint8_t* p = in + 3 * std::size_t{src_col[dx - cols.from]};
      const std::uint32_t pixel =
          kOpaque | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
      out[dx] = Combine(out[dx], pixel, op);
    }
  }
  return true;
}

void FillRect(QImage& dst, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
              std::uint32_t pixel, RasterOp op) {
  if (w <= 0 || h <= 0 || dst.isNull()) return;
  const Span1D cols = Clip(x, w, dst.width());
  const Span1D rows = Clip(y, h, dst.height());
  for (std::int64_t dy = rows.from; dy < rows.to; ++dy) {
    auto* out = reinterpret_cast<std::uint32_t*>(dst.scanLine(static_cast<int>(dy)));
    for (std::int64_t dx = cols.from; dx < cols.to; ++dx) out[dx] = Combine(out[dx], pixel, op);
  }
}

}  // namespace inkmark
