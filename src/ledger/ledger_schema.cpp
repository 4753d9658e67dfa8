#include "ledger/ledger_schema.h"

#include <string>

#include "ledger/ledger.h"

namespace inkmark {
namespace {

// Each migration takes a ledger from the version before it to its own; a
// ledger of version N has run the first N. Never change one that shipped:
// add the next.
constexpr const char* kMigrations[] = {
    // 1: the entries, and the rasters they stored, each kept once.
    R"(CREATE TABLE rasters(
         sha256 TEXT PRIMARY KEY,
         bytes BLOB NOT NULL);
       CREATE TABLE entries(
         id INTEGER PRIMARY KEY,
         action TEXT NOT NULL CHECK(action IN ('register', 'delete', 'restore')),
         printer TEXT NOT NULL,
         model TEXT NOT NULL,
         key TEXT NOT NULL,
         raster_sha256 TEXT REFERENCES rasters(sha256),
         source_name TEXT NOT NULL DEFAULT '',
         source_sha256 TEXT NOT NULL DEFAULT '',
         first_color INTEGER NOT NULL DEFAULT 0,
         second_color INTEGER NOT NULL DEFAULT 0,
         time INTEGER NOT NULL,
         user TEXT NOT NULL);
       CREATE INDEX entries_by_printer_key ON entries(printer COLLATE NOCASE, key, id);
       CREATE INDEX entries_by_time ON entries(time);)",
};

// Marks the file as a ledger, so that another program's database is told apart.
constexpr int kApplicationId = 0x494B4C47;  // "IKLG"

Result<int> ReadInt(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  if (rc != SQLITE_OK) return SqliteFailure(db, rc);
  rc = sqlite3_step(stmt);
  const int value = rc == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
  sqlite3_finalize(stmt);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) return SqliteFailure(db, rc);
  return value;
}

Status Exec(sqlite3* db, const std::string& sql) {
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? Status() : Status(SqliteFailure(db, rc));
}

// What the file holds: its version, or a refusal when it is no ledger of ours.
Result<int> CheckedVersion(sqlite3* db) {
  auto version = ReadInt(db, "PRAGMA user_version");
  if (!version) return version;
  auto id = ReadInt(db, "PRAGMA application_id");
  if (!id) return id;
  auto tables = ReadInt(db, "SELECT count(*) FROM sqlite_master");
  if (!tables) return tables;
  if (*id != kApplicationId && (*id != 0 || *tables > 0))
    return Failure{FailureCode::kUnsupported, "an SQLite database of another program"};
  if (*version > LedgerSchemaVersion())
    return Failure{FailureCode::kUnsupported, "written by a newer inkmark (schema " +
                                                  std::to_string(*version) + ", known " +
                                                  std::to_string(LedgerSchemaVersion()) + ")"};
  return version;
}

}  // namespace

int LedgerSchemaVersion() { return int(std::size(kMigrations)); }

Failure SqliteFailure(sqlite3* db, int rc) {
  const int primary = rc & 0xFF;
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
    return {FailureCode::kBusy, "locked by another program for more than " +
                                    std::to_string(kLedgerBusyTimeoutMs / 1000) + " s"};
  const char* words = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  const FailureCode code =
      primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT ? FailureCode::kCorrupt
      : primary == SQLITE_FULL                              ? FailureCode::kNoSpace
      : primary == SQLITE_CANTOPEN || primary == SQLITE_PERM || primary == SQLITE_READONLY
          ? FailureCode::kCannotOpen
          : FailureCode::kWriteFailed;
  return {code, words ? words : sqlite3_errstr(rc)};
}

Status BringSchemaUpToDate(sqlite3* db, bool create, bool& readable) {
  readable = true;
  auto version = CheckedVersion(db);
  if (!version) return version.status();
  if (*version == LedgerSchemaVersion()) return {};
  if (*version == 0 && !create) {
    readable = false;
    return {};
  }
  // WAL lets readers go on while one run writes; it is kept in the file.
  if (Status wal = Exec(db, "PRAGMA journal_mode=WAL"); !wal) return wal;
  if (Status begin = Exec(db, "BEGIN IMMEDIATE"); !begin) return begin;
  // Another run may have migrated while this one waited for the lock.
  version = CheckedVersion(db);
  Status status = version.status();
  for (int v = version ? *version : LedgerSchemaVersion(); status && v < LedgerSchemaVersion(); ++v)
    status = Exec(db, kMigrations[v]);
  if (status && version && *version < LedgerSchemaVersion())
    status = Exec(db, "PRAGMA application_id=" + std::to_string(kApplicationId) +
                          "; PRAGMA user_version=" + std::to_string(LedgerSchemaVersion()));
  if (status) status = Exec(db, "COMMIT");
  if (!status) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  return status;
}

}  // namespace inkmark
