// The standard printers' graphics in raster form: rows from the top, eight
// dots to a byte, the leftmost dot in bit 7.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "document/logo_raster.h"
#include "platform/message_box.h"
#include "ports/port_driver.h"
#include "protocol/nv_key.h"
#include "session/session.h"

namespace inkmark {

// The largest logo NV memory takes in raster form.
inline constexpr std::int32_t kMaxRasterDefineWidth = 8192;
inline constexpr std::int32_t kMaxRasterDefineHeight = 2304;
// Rows of one test-print band, unless a band that tall would not fit one store command.
inline constexpr std::int32_t kRasterBandRows = 831;

// Bytes of one raster-form row of a logo `width` dots wide.
inline std::size_t RasterRowBytes(std::int32_t width) { return (std::size_t(width) + 7) / 8; }

// Writes rows first_row .. first_row + row_count - 1 of the top-down raster
// into `out` in raster form: a bit is set where the dot has `value`. False,
// writing nothing, when `out` is smaller than row_count rows.
bool ExtractRasterPlane(const LogoRaster& raster, std::int32_t first_row, std::int32_t row_count,
                        std::int32_t value, std::span<std::uint8_t> out);

// Registers `raster` under `key` in raster form on the open port, which stays
// open: size check, capacity check (not when writing a command file), then
// one define command. 1 on success; 0 after telling the user why not.
std::int32_t DefineNvGraphicsRaster(PortDriver& port, WindowHandle owner,
                                    const LogoSession& session, const NvKey& key,
                                    std::optional<LogoRaster> raster);

// Prints `raster` once in raster-form bands on a port of its own. 1 on
// success; 0 after telling the user why not.
std::int32_t TestPrintRaster(WindowHandle owner, const LogoSession& session,
                             std::optional<LogoRaster> raster);

}  // namespace inkmark
