// One command on many printers at once: each printer gets a run of the program
// of its own, so that the ports' time-outs and questions stay apart, with a
// bounded number running at a time.
#pragma once

#include "cli/cli_commands.h"
#include "cli/cli_options.h"

namespace inkmark::cli {

// Runs the command of `options` on every printer it names and prints one
// result line per printer and a summary (or one JSON document with --json).
// kExitOk only when every printer succeeded; kExitUsage, before any printer
// is reached, when the list or a printer's line is refused.
int RunOnManyPrinters(const CliOptions& options, Console& console);

}  // namespace inkmark::cli
