#include "document/compose_page.h"

#include <algorithm>
#include <optional>

#include "converter/convert_settings.h"
#include "document/compose.h"
#include "document/compose_convert.h"
#include "document/compose_surface.h"
#include "document/compose_units.h"
#include "document/document_format.h"
#include "document/text_item.h"
#include "picture/picture_bytes.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"

namespace inkmark {
namespace {

std::span<const std::uint8_t> EmbeddedBitmap(const LogoSession& session, const LayoutItem& item) {
  const std::span<const std::uint8_t> data(session.document);
  if (!ByteReader(data).Has(item.bitmap, item.bitmap_size)) return {};
  return data.subspan(item.bitmap, item.bitmap_size);
}

// Whether the converter takes the bitmap with the settings: they are in range
// and the bitmap decodes (no row of it kept).
bool WouldConvert(const LogoSession& session, const ConversionParams& params,
                  std::span<const std::uint8_t> bitmap) {
  const std::int32_t inks[2] = {session.first_color, session.second_color};
  if (!converter::CheckParams(params, inks)) return false;
  auto none = [](std::int32_t, std::int32_t height) -> std::optional<RowPlan> {
    RowPlan plan;
    plan.keep.assign(static_cast<std::size_t>(std::max(height, 0)), false);
    plan.columns = 1;
    return plan;
  };
  return DecodeBitmapRows(bitmap, none).has_value();
}

// The image item converted with its own settings at the composition scale.
// nullopt when the conversion fails; an empty file when the item is too small
// to have a single dot at this scale, or not `shown` on the page.
// `converted_pixels` counts what the page's items have cost so far: together
// they may convert no more than one picture of the largest size.
std::optional<BitmapFile> ConvertImageItem(LogoSession& session, LayoutItem& item,
                                           const ObjectHeader& object, double sx, double sy,
                                           std::uint64_t& converted_pixels, bool shown) {
  const std::int64_t w = ScaleTrunc(std::int64_t{object.right} - object.left, sx);
  const std::int64_t h = ScaleTrunc(std::int64_t{object.bottom} - object.top, sy);
  if (w <= 0 || h <= 0) return BitmapFile{};
  if (!PictureSizeAllowed(w, h)) return std::nullopt;
  converted_pixels += static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
  if (converted_pixels > kMaxPicturePixels) return std::nullopt;
  auto bitmap = EmbeddedBitmap(session, item);
  // The embedded file is written as long as its own header says, never past its object.
  auto file_size = ByteReader(bitmap).U32(kOffFileSize);
  if (!file_size) return std::nullopt;
  bitmap = bitmap.first(std::min<std::size_t>(*file_size, bitmap.size()));
  item.params.target_width = static_cast<std::uint32_t>(w);
  item.params.target_height = static_cast<std::uint32_t>(h);
  // An item with no dot on the page is not converted, only checked, so that it
  // refuses the page as its conversion would: a page cut at the paper's edge
  // may hold items far larger than what is printed.
  if (!shown) {
    if (!WouldConvert(session, item.params, bitmap)) return std::nullopt;
    return BitmapFile{};
  }
  if (!WriteTempFile(session.temp_dest_path, bitmap)) return std::nullopt;
  return ConvertFileInPlace(session.temp_dest_path, item.params, session);
}

bool DrawStoredItem(QImage& page, const LogoSession& session, const LayoutItem& item,
                    std::int64_t page_top = 0) {
  const std::span<const std::uint8_t> data(session.document);
  auto object = ReadObjectHeader(data, item.object);
  if (!object) return false;
  if (object->kind == kTextObject) {
    auto text = ReadTextRecord(data, item.payload);
    return text && DrawTextItem(page, *object, *text, object->text_color, 1.0, 1.0, page_top) == 1;
  }
  if (object->kind == kImageObject) {
    return DrawImageItem(page, *object, EmbeddedBitmap(session, item), 1.0, 1.0, page_top) == 1;
  }
  return true;  // other kinds are not drawn
}

bool DrawConvertedItem(QImage& page, LogoSession& session, LayoutItem& item, double sx, double sy,
                       std::uint64_t& converted_pixels) {
  const std::span<const std::uint8_t> data(session.document);
  auto object = ReadObjectHeader(data, item.object);
  if (!object) return false;
  if (object->kind == kTextObject) {
    auto text = ReadTextRecord(data, item.payload);
    const std::int32_t ink = item.color_index == 1 ? session.second_color : session.first_color;
    return text && DrawTextItem(page, *object, *text, ink, sx, sy) == 1;
  }
  if (object->kind == kImageObject) {
    const std::int64_t x = ScaleTrunc(object->left, sx), y = ScaleTrunc(object->top, sy);
    const bool shown =
        !PickedWindow(page.width(), page.height(), x, y, ScaleTrunc(object->right, sx) - x,
                      ScaleTrunc(object->bottom, sy) - y, 1, 1)
             .Empty();
    auto converted = ConvertImageItem(session, item, *object, sx, sy, converted_pixels, shown);
    if (!converted) return false;
    return converted->empty() || DrawImageItem(page, *object, *converted, sx, sy) == 1;
  }
  return true;
}

// A white page of the document's size at the scale, with every item drawn by
// `draw` in array order; the first item that fails ends the composition. Only
// the first `max_width` columns are made.
template <typename Session, typename Draw>
std::optional<BitmapFile> Compose(Session& session, double sx, double sy, std::int64_t max_width,
                                  Draw draw) {
  auto header = ReadDocumentHeader(session.document_header);
  if (!header) return std::nullopt;
  const std::int64_t w = ScaleTrunc(header->page_width, sx);
  const std::int64_t h = ScaleTrunc(header->page_height, sy);
  if (!PictureSizeAllowed(w, h)) return std::nullopt;
  QImage page =
      WhiteSurface(static_cast<std::int32_t>(std::min(w, std::max<std::int64_t>(max_width, 1))),
                   static_cast<std::int32_t>(h));
  if (page.isNull()) return std::nullopt;
  for (auto& item : session.items) {
    if (!draw(page, item)) return std::nullopt;
  }
  return SurfaceToPage(page);
}

}  // namespace

int DrawImageItem(QImage& page, const ObjectHeader& object, std::span<const std::uint8_t> bitmap,
                  double scale_x, double scale_y, std::int64_t page_top) {
  const std::int64_t x = ScaleTrunc(object.left, scale_x);
  const std::int64_t y = ScaleTrunc(object.top, scale_y) - page_top;
  const std::int64_t x2 = ScaleTrunc(object.right, scale_x);
  const std::int64_t y2 = ScaleTrunc(object.bottom, scale_y) - page_top;
  // Only the pixels the page shows are decoded: a small file may claim a picture
  // far larger than the rectangle it is drawn into.
  return StretchBitmap(page, x, y, x2 - x, y2 - y, bitmap,
                       object.transparent != 0 ? RasterOp::kAnd : RasterOp::kCopy)
             ? 1
             : 0;
}

std::optional<BitmapFile> ComposeAsStored(const LogoSession& session) {
  return Compose(session, 1.0, 1.0, INT64_MAX, [&](QImage& page, const LayoutItem& item) {
    return DrawStoredItem(page, session, item);
  });
}

std::optional<BitmapFile> ComposeConverted(LogoSession& session, double scale_x, double scale_y,
                                           std::int64_t max_width) {
  std::uint64_t converted_pixels = 0;
  return Compose(session, scale_x, scale_y, max_width, [&](QImage& page, LayoutItem& item) {
    return DrawConvertedItem(page, session, item, scale_x, scale_y, converted_pixels);
  });
}

Result<PictureRows> ComposeAsStoredRows(const LogoSession& session, const MakeRowPlan& make_plan) {
  const Failure refused{FailureCode::kNoMemory, "the logo document cannot be composed"};
  auto header = ReadDocumentHeader(session.document_header);
  if (!header) return refused;
  const std::int64_t w = header->page_width;
  const std::int64_t h = header->page_height;
  if (!PictureSizeAllowed(w, h)) return refused;
  auto plan = make_plan(static_cast<std::int32_t>(w), static_cast<std::int32_t>(h));
  if (!plan || plan->keep.size() != static_cast<std::size_t>(h) || plan->columns == 0 ||
      plan->columns > static_cast<std::uint64_t>(w))
    return refused;
  const std::int32_t columns = static_cast<std::int32_t>(plan->columns);
  PictureRows rows;
  rows.header.resize(kHeadersSize);
  WriteRgb24Header(rows.header, static_cast<std::int32_t>(w), static_cast<std::int32_t>(h));
  rows.slot.assign(static_cast<std::size_t>(h), -1);
  std::int32_t kept = 0;
  for (std::size_t r = 0; r < plan->keep.size(); ++r) {
    if (plan->keep[r]) rows.slot[r] = kept++;
  }
  rows.stride = Rgb24Stride(columns);
  rows.owned.reset(new std::uint8_t[rows.stride * static_cast<std::size_t>(kept)]());
  rows.pixels = rows.owned.get();
  // Bands of about 8 MB; one with no row kept is not composed.
  constexpr std::int64_t kBandBytes = std::int64_t{8} << 20;
  const std::int64_t band_rows = std::clamp<std::int64_t>(kBandBytes / (4 * columns), 1, h);
  bool composed = false;
  for (std::int64_t top = 0; top < h; top += band_rows) {
    const std::int64_t bottom = std::min(h, top + band_rows);
    bool wanted = false;
    for (std::int64_t y = top; y < bottom && !wanted; ++y) wanted = rows.slot[h - 1 - y] >= 0;
    // Every item is drawn at least once, so that one that fails refuses the page.
    if (!wanted && (composed || bottom < h)) continue;
    composed = true;
    QImage band = WhiteSurface(columns, static_cast<std::int32_t>(bottom - top));
    if (band.isNull()) return refused;
    for (const LayoutItem& item : session.items) {
      if (!DrawStoredItem(band, session, item, top)) return refused;
    }
    for (std::int64_t y = top; y < bottom; ++y) {
      const std::int32_t slot = rows.slot[static_cast<std::size_t>(h - 1 - y)];
      if (slot < 0) continue;
      const auto* in =
          reinterpret_cast<const std::uint32_t*>(band.constScanLine(static_cast<int>(y - top)));
      std::uint8_t* out = rows.owned.get() + rows.stride * static_cast<std::size_t>(slot);
      for (std::int32_t x = 0; x < columns; ++x) {
        out[3 * x] = static_cast<std::uint8_t>(in[x]);
        out[3 * x + 1] = static_cast<std::uint8_t>(in[x] >> 8);
        out[3 * x + 2] = static_cast<std::uint8_t>(in[x] >> 16);
      }
    }
  }
  return rows;
}

}  // namespace inkmark
