// What the windows register and delete is written to the ledger too, so that
// the ledger, the NV manager and `inkmark status` agree on what a printer
// holds whichever tool changed it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "ledger/ledger.h"
#include "protocol/nv_key.h"
#include "session/session.h"

namespace inkmark {

// Records `action` on `key` of the session's printer (its selected port) in
// the ledger at `path`; nothing when `path` is empty. A registration gives the
// raster it stored; the source is the session's. A ledger that cannot be
// written leaves the printer's work as it stands: the failure is returned for
// the caller to show or pass over.
Status RecordInLedger(const std::filesystem::path& path, const LogoSession& session,
                      LedgerAction action, const NvKey& key,
                      std::span<const std::uint8_t> raster = {});

}  // namespace inkmark
