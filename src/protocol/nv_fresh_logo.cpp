// The entry points the windows call: each builds the logo afresh from the
// session's current source and settings, then hands it to the dispatch.
#include <utility>

#include "document/compose.h"
#include "protocol/nv_dispatch.h"

namespace inkmark {

std::int32_t TestPrint(WindowHandle owner, LogoSession& session) {
  std::optional<LogoRaster> raster = BuildLogoRaster(session).ToOptional();
  return TestPrint(owner, std::as_const(session), std::move(raster));
}

std::int32_t RegisterNvGraphics(PortDriver& port, WindowHandle owner, LogoSession& session,
                                const NvKey& key) {
  std::optional<LogoRaster> raster = BuildLogoRaster(session).ToOptional();
  return RegisterNvGraphics(port, owner, std::as_const(session), key, std::move(raster));
}

}  // namespace inkmark
