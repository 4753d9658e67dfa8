// The two ways a logo reaches the printer, each choosing the column form for
// the special models and the raster form for every other printer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "document/logo_raster.h"
#include "platform/message_box.h"
#include "ports/port_driver.h"
#include "protocol/nv_key.h"
#include "session/session.h"

namespace inkmark {

// Builds the logo afresh and prints it once, on a port of its own. 1 on
// success; 0 after telling the user why not.
std::int32_t TestPrint(WindowHandle owner, LogoSession& session);
// The same with a logo already built (nullopt: it could not be).
std::int32_t TestPrint(WindowHandle owner, const LogoSession& session,
                       std::optional<LogoRaster> raster);

// Builds the logo afresh and registers it under `key` on the open port, which
// the caller closes. 1 on success; 0 after telling the user why not.
std::int32_t RegisterNvGraphics(PortDriver& port, WindowHandle owner, LogoSession& session,
                                const NvKey& key);
// The same with a logo already built (nullopt: it could not be).
std::int32_t RegisterNvGraphics(PortDriver& port, WindowHandle owner, const LogoSession& session,
                                const NvKey& key, std::optional<LogoRaster> raster);

// Closes the port a registration went out on and returns its outcome: a
// registration whose last bytes the port had to drop on closing did not
// happen, and is 0 after telling the user so; otherwise `result`.
std::int32_t CloseAfterRegistration(std::unique_ptr<PortDriver> port, WindowHandle owner,
                                    std::int32_t result);

}  // namespace inkmark
