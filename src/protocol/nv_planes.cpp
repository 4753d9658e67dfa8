#include "protocol/nv_planes.h"

#include <algorithm>
#include <new>

#include "platform/string_table.h"
#include "protocol/nv_commands.h"
#include "protocol/transaction.h"

namespace inkmark {

namespace {

std::optional<std::int32_t> InkValue(const LogoRaster& raster, std::int32_t color) {
  auto index = raster.FindInk(color);
  if (!index) return std::nullopt;
  return static_cast<std::int32_t>(*index);
}

std::optional<PlaneSelection> ChooseInks(const LogoSession& session, const PrinterProfile& profile,
                                         const LogoRaster& raster) {
  PlaneSelection s;
  if (session.monochrome == 1 && session.source_kind != kSourceDocument) {
    // The conversion names its one ink by its place in the session's ink pair.
    const std::uint32_t which = session.params.color_table;
    if (which > 1) return std::nullopt;
    const std::int32_t ink = which == 0 ? session.first_color : session.second_color;
    auto value = InkValue(raster, ink);
    if (!value) return std::nullopt;
    s.first_value = *value;
    s.first_code = session.first_color == ink ? kFirstColorCode : kSecondColorCode;
    return s;
  }
  auto first =
      InkValue(raster, ColorFromName(SelectedName(profile.first_colors, profile.first_color_count,
                                                  profile.first_color_sel)));
  if (!first) return std::nullopt;
  s.first_value = *first;
  s.first_code = kFirstColorCode;
  const std::int32_t second = ColorFromName(
      SelectedName(profile.second_colors, profile.second_color_count, profile.second_color_sel));
  if (second != kNoInk) {
    auto value = InkValue(raster, second);
    if (!value) return std::nullopt;
    s.second_value = *value;
  }
  return s;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SelectColorPlanes(const LogoSession& session,
                                                           const PrinterProfile& profile,
                                                           const LogoRaster& raster,
                                                           std::size_t plane_bytes, bool for_define,
                                                           PlaneSelection& selection) {
  auto inks = ChooseInks(session, profile, raster);
  if (!inks) return std::nullopt;
  std::size_t size = plane_bytes;
  if (for_define && inks->two_blocks()) {
    if (size > SIZE_MAX / 2) return std::nullopt;
    size *= 2;
  }
  try {
    std::vector<std::uint8_t> buffer(size, 0);
    selection = *inks;
    return buffer;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void FlipRowsTopDown(LogoRaster& raster) {
  for (std::int32_t top = 0, bottom = raster.height() - 1; top < bottom; ++top, --bottom) {
    auto a = raster.mutable_row(top);
    auto b = raster.mutable_row(bottom);
    std::swap_ranges(a.begin(), a.end(), b.begin());
  }
}

bool HasNvRoomFor(PortDriver& port, WindowHandle owner, std::uint64_t total) {
  const std::int32_t capacity = ReadNvCapacity(port);
  if (capacity < 0) {
    ShowMessage(owner, kStrCapacityFailed);
    return false;
  }
  if (total + kNvDefineAllowance > static_cast<std::uint64_t>(capacity)) {
    ShowMessage(owner, kStrNoNvMemory);
    return false;
  }
  return true;
}

}  // namespace inkmark
