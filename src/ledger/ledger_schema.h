// The ledger's schema: its version and the steps that bring an older ledger
// up to it.
#pragma once

#include <sqlite3.h>

#include "platform/failure.h"

namespace inkmark {

// The version a ledger has after every migration has run.
int LedgerSchemaVersion();

// The failure for an SQLite result code of `db`: its own words, with a
// locked database said as such.
Failure SqliteFailure(sqlite3* db, int rc);

// Runs every migration the ledger lacks, in one transaction that waits out
// other writers. A database of another program (tables but no version) or of
// a newer schema is refused untouched. `readable` is set to false when the
// ledger is still empty and `create` is false: it then knows nothing.
Status BringSchemaUpToDate(sqlite3* db, bool create, bool& readable);

}  // namespace inkmark
