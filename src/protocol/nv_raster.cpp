#include "protocol/nv_raster.h"

#include <algorithm>
#include <vector>

#include "platform/string_table.h"
#include "protocol/nv_commands.h"
#include "protocol/nv_planes.h"

namespace inkmark {

namespace {

// Whether the dot at x of a storage row has `value`.
bool DotHas(std::span<const std::uint8_t> row, std::uint16_t bits, std::int32_t x,
            std::int32_t value) {
  if (bits == 8) return row[std::size_t(x)] == value;
  return ((row[std::size_t(x) / 8] >> (7 - x % 8)) & 1) == value;
}

}  // namespace

bool ExtractRasterPlane(const LogoRaster& raster, std::int32_t first_row, std::int32_t row_count,
                        std::int32_t value, std::span<std::uint8_t> out) {
  const std::size_t row_bytes = RasterRowBytes(raster.width());
  if (row_count < 0 || out.size() / row_bytes < std::size_t(row_count)) return false;
  std::fill_n(out.begin(), row_bytes * std::size_t(row_count), 0);
  const std::uint16_t bits = raster.bits_per_pixel();
  const bool selects = (bits == 1 && (value == 0 || value == 1)) || (bits == 8 && value >= 0);
  if (!selects) return true;
  const std::int32_t width = raster.width();
  for (std::int32_t r = 0; r < row_count; ++r) {
    auto src = raster.row(first_row + r);
    if (src.empty()) continue;
    std::uint8_t* dst = out.data() + std::size_t(r) * row_bytes;
    if (bits == 1) {
      // A 1-bit row is already in raster form: copy it, inverted for value 0.
      for (std::size_t j = 0; j < row_bytes; ++j) dst[j] = value == 1 ? src[j] : ~src[j];
      if (width % 8 != 0) dst[row_bytes - 1] &= static_cast<std::uint8_t>(0xFF << (8 - width % 8));
      continue;
    }
    for (std::int32_t x = 0; x < width; ++x) {
      if (DotHas(src, bits, x, value)) dst[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  return true;
}

std::int32_t DefineNvGraphicsRaster(PortDriver& port, WindowHandle owner,
                                    const LogoSession& session, const NvKey& key,
                                    std::optional<LogoRaster> raster) {
  const PrinterProfile* profile = session.CurrentProfile();
  if (!raster || !profile) {
    ShowMessage(owner, kStrNoMemory);
    return 0;
  }
  const std::size_t row_bytes = RasterRowBytes(raster->width());
  const std::int32_t height = raster->height();
  if (row_bytes * 8 > std::size_t(kMaxRasterDefineWidth) || height > kMaxRasterDefineHeight) {
    ShowMessage(owner, kStrNvSizeLimit, "2304");
    return 0;
  }
  FlipRowsTopDown(*raster);
  const DefineShape shape{GraphicsForm::kRaster, row_bytes * std::size_t(height),
                          static_cast<std::uint16_t>(row_bytes * 8),
                          static_cast<std::uint16_t>(height)};
  return SendNvDefine(port, owner, session, *profile, *raster, key, shape, {},
                      [&](std::int32_t value, std::span<std::uint8_t> out) {
                        ExtractRasterPlane(*raster, 0, height, value, out);
                      });
}

std::int32_t TestPrintRaster(WindowHandle owner, const LogoSession& session,
                             std::optional<LogoRaster> raster) {
  const PrinterProfile* profile = session.CurrentProfile();
  if (!raster || !profile) {
    ShowMessage(owner, kStrNoMemory);
    return 0;
  }
  FlipRowsTopDown(*raster);
  const std::size_t row_bytes = RasterRowBytes(raster->width());
  const std::int32_t height = raster->height();
  // A wide logo takes lower bands, so that a store command's count never wraps.
  const std::int32_t band = std::min<std::int32_t>(
      {kRasterBandRows, height, static_cast<std::int32_t>(kMaxStoreData / row_bytes)});
  PlaneSelection sel;
  auto planes =
      SelectColorPlanes(session, *profile, *raster, row_bytes * std::size_t(band), false, sel);
  if (!planes) {
    ShowMessage(owner, kStrNoMemory);
    return 0;
  }
  const auto width_dots = static_cast<std::uint16_t>(row_bytes * 8);
  return SendTestPrintBands(owner, session, {}, height, band, sel, *planes,
                            [&](std::int32_t done, std::int32_t n, std::int32_t value,
                                std::uint8_t code, std::span<std::uint8_t>& data) {
                              const std::size_t k = row_bytes * std::size_t(n);
                              data = data.first(k);
                              ExtractRasterPlane(*raster, done, n, value, data);
                              return StoreHeader(GraphicsForm::kRaster,
                                                 static_cast<std::uint16_t>(k), code, width_dots,
                                                 static_cast<std::uint16_t>(n));
                            });
}

}  // namespace inkmark
