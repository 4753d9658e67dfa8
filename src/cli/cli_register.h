// register on one printer: as the key-entry window does it, and with
// --if-changed and --replace, which ask the ledger what the printer holds.
#pragma once

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "document/logo_raster.h"
#include "session/session.h"

namespace inkmark::cli {

// Registers `raster` under the options' key and records it in the ledger.
// A stored key is refused; with --if-changed it is "unchanged" when the
// ledger's last registration there has the same raster, and with --replace it
// is deleted and defined anew, the previous logo put back from the ledger when
// the define fails. kExitOk or kExitFailed.
int RegisterOnPrinter(const CliOptions& options, LogoSession& session, Console& console,
                      LogoRaster raster);

}  // namespace inkmark::cli
