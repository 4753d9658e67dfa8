// The command line's side of the ledger: which ledger and which printer a run
// records under, recording that never stops a printer command, and the
// commands that read the ledger: ledger and status.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "ledger/ledger.h"
#include "session/session.h"

namespace inkmark::cli {

// --ledger FILE, else the default ledger.
std::filesystem::path LedgerPathFor(const CliOptions& options);

// The printer as the ledger knows it: --name, else the session's port.
std::string PrinterIdFor(const CliOptions& options, const LogoSession& session);

// Opens the ledger; on a refusal says on `err` which ledger and why, and nullopt.
std::optional<Ledger> OpenLedgerOrSay(const CliOptions& options, LedgerMode mode, std::FILE* err);

// Records `entry`; when the ledger cannot take it, says so on `err` and
// that the printer command was done but is not recorded. False then.
bool RecordOrSay(const CliOptions& options, const LedgerEntry& entry,
                 std::span<const std::uint8_t> raster, std::FILE* err);

// An entry about the session's printer and `key`, to be completed by the caller.
LedgerEntry EntryFor(const CliOptions& options, const LogoSession& session, LedgerAction action,
                     const NvKey& key);

// inkmark ledger: the entries that pass the filters, as text or JSON.
int RunLedgerCommand(const CliOptions& options, Console& console);

// inkmark status on one printer: reachable or not, its free capacity, and
// each stored key with what the ledger knows of it.
int RunStatus(const CliOptions& options, LogoSession& session, Console& console);

}  // namespace inkmark::cli
