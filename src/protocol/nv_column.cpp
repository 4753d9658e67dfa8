#include "protocol/nv_column.h"

#include <algorithm>
#include <vector>

#include "platform/string_table.h"
#include "platform/text.h"
#include "protocol/nv_commands.h"
#include "protocol/nv_planes.h"

namespace inkmark {

namespace {

constexpr std::int32_t kHighDensityDpi = 360;

}  // namespace

const SpecialModel* FindSpecialModel(const PrinterProfile& profile) {
  for (const SpecialModel& model : kSpecialModels) {
    if (EqualsNoCase(profile.model_name, model.model_name)) return &model;
  }
  return nullptr;
}

std::array<std::uint8_t, 9> DensityCommandFor(const PrinterProfile& profile) {
  return DensityCommand(profile.resolutions.Selected() == kHighDensityDpi);
}

bool ExtractColumnPlane(const LogoRaster& raster, std::int32_t first_row, std::int32_t row_count,
                        std::int32_t value, std::span<std::uint8_t> out) {
  const std::size_t width = std::size_t(raster.width());
  const std::size_t e = ColumnBytes(row_count);
  if (row_count < 0 || out.size() / width < e) return false;
  std::fill_n(out.begin(), width * e, 0);
  const std::uint16_t bits = raster.bits_per_pixel();
  const bool selects = (bits == 1 && (value == 0 || value == 1)) || (bits == 8 && value >= 0);
  if (!selects) return true;
  for (std::int32_t i = 0; i < row_count; ++i) {
    auto src = raster.row(first_row + i);
    if (src.empty()) continue;
    const auto bit = static_cast<std::uint8_t>(0x80 >> (i % 8));
    std::uint8_t* column = out.data() + std::size_t(i) / 8;
    for (std::size_t x = 0; x < width; ++x, column += e) {
      const int dot = bits == 8 ? src[x] : (src[x / 8] >> (7 - x % 8)) & 1;
      if (dot == value) *column |= bit;
    }
  }
  return true;
}

std::int32_t DefineNvGraphicsColumn(PortDriver& port, WindowHandle owner,
                                    const LogoSession& session, const NvKey& key,
                                    std::optional<LogoRaster> raster) {
  const PrinterProfile* profile = session.CurrentProfile();
  if (!raster || !profile) {
    ShowMessage(owner, kStrNoMemory);
    return 0;
  }
  FlipRowsTopDown(*raster);
  const std::int32_t width = raster->width();
  const std::int32_t height = raster->height();
  const std::size_t column_bytes = ColumnBytes(height);
  const DefineShape shape{GraphicsForm::kColumn, std::size_t(width) * column_bytes,
                          static_cast<std::uint16_t>(width),
                          static_cast<std::uint16_t>(column_bytes * 8)};
  return SendNvDefine(port, owner, session, *profile, *raster, key, shape,
                      DensityCommandFor(*profile),
                      [&](std::int32_t value, std::span<std::uint8_t> out) {
                        ExtractColumnPlane(*raster, 0, height, value, out);
                      });
}

std::int32_t TestPrintColumn(WindowHandle owner, const LogoSession& session,
                             std::optional<LogoRaster> raster) {
  const PrinterProfile* profile = session.CurrentProfile();
  const SpecialModel* model = profile ? FindSpecialModel(*profile) : nullptr;
  if (!raster || !model) {
    ShowMessage(owner, kStrNoMemory);
    return 0;
  }
  FlipRowsTopDown(*raster);
  const std::int32_t width = raster->width();
  const std::int32_t height = raster->height();
  // A wide logo takes lower bands (whole bytes of rows), so that a store
  // command's count never wraps.
  const auto fitting_rows = static_cast<std::int32_t>(kMaxStoreData / std::size_t(width) * 8);
  const std::int32_t band = std::min(model->band_rows, fitting_rows);
  PlaneSelection sel;
  auto planes =
      SelectColorPlanes(session, *profile, *raster,
                        std::size_t(width) * ColumnBytes(std::min(height, band)), false, sel);
  if (!planes) {
    ShowMessage(owner, kStrNoMemory);
    return 0;
  }
  const auto density = DensityCommandFor(*profile);
  const std::span<const std::uint8_t> prefix = model->density_in_test_print
                                                   ? std::span<const std::uint8_t>(density)
                                                   : std::span<const std::uint8_t>();
  return SendTestPrintBands(
      owner, session, prefix, height, band, sel, *planes,
      [&](std::int32_t done, std::int32_t n, std::int32_t value, std::uint8_t code,
          std::span<std::uint8_t>& data) {
        const std::size_t e = ColumnBytes(n);
        const std::size_t k = std::size_t(width) * e;
        data = data.first(k);
        ExtractColumnPlane(*raster, done, n, value, data);
        return StoreHeader(GraphicsForm::kColumn, static_cast<std::uint16_t>(k), code,
                           static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(e * 8));
      });
}

}  // namespace inkmark
