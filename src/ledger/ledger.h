// The ledger: what was registered in which printer under which key, and what
// was deleted, with each registered raster kept so it can be put back. An
// SQLite database in WAL mode, so that the runs of a many-printer command
// write to it at once; each write is one short transaction.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/failure.h"

struct sqlite3;

namespace inkmark {

enum class LedgerAction : std::uint8_t {
  kRegister,  // a logo stored under a key
  kDelete,    // the key deleted
  kRestore,   // a previous logo put back after a replacement failed
};

// The action's name as the ledger stores and shows it ("register").
const char* LedgerActionName(LedgerAction action);

struct LedgerEntry {
  std::int64_t id = 0;  // set by the ledger, in the order of recording
  LedgerAction action = LedgerAction::kRegister;
  std::string printer;  // the name given in the printers list, else the port
  std::string model;
  std::string key;  // the two characters
  // What a registration stored; empty for a deletion.
  std::string raster_sha256;  // of the print raster, lower-case hex
  std::string source_name;
  std::string source_sha256;
  std::int32_t first_color = 0;  // the inks the raster's palette holds
  std::int32_t second_color = 0;
  std::int64_t time = 0;  // seconds since 1970, UTC
  std::string user;

  // A registration or a restore: the key then holds this entry's raster.
  bool stores() const { return action != LedgerAction::kDelete; }
};

struct LedgerFilter {
  std::optional<std::string> printer;  // name or port, letter case aside
  std::optional<std::string> key;
  std::optional<std::int64_t> since;  // entries at this time or later
};

enum class LedgerMode {
  kRead,   // a missing ledger knows nothing and is not created
  kWrite,  // a missing ledger (and its folder) is created
};

// How long a run waits for another run's write before it calls the ledger locked.
inline constexpr int kLedgerBusyTimeoutMs = 5000;

class Ledger {
 public:
  // Opens the ledger at `path` and brings its schema up to date. Refused,
  // with why, when the file is not a database, is another program's database,
  // was written by a newer schema, or stays locked past the time-out; the
  // file is then left exactly as it was.
  static Result<Ledger> Open(const std::filesystem::path& path, LedgerMode mode);

  Ledger(Ledger&&) noexcept;
  Ledger& operator=(Ledger&&) noexcept;
  ~Ledger();

  const std::filesystem::path& path() const { return path_; }

  // Records one entry, with the raster a registration stored (kept once
  // however many printers hold it). `time` and `user` are filled in when 0 or
  // empty. The entry's new id on success.
  Result<std::int64_t> Record(LedgerEntry entry, std::span<const std::uint8_t> raster = {});

  // The last entry for `key` on `printer`, or nullopt when there is none.
  Result<std::optional<LedgerEntry>> Last(const std::string& printer, const std::string& key);

  // The raster with this hash, as recorded.
  Result<std::vector<std::uint8_t>> Raster(const std::string& sha256);

  // The entries that pass the filter, oldest first.
  Result<std::vector<LedgerEntry>> History(const LedgerFilter& filter);

 private:
  struct Closer {
    void operator()(sqlite3* db) const;
  };
  Ledger() = default;
  // Folds the write-ahead log into the database once it is longer than
  // kFoldLogBytes: each opening reads the log back, each folding flushes the disk.
  void FoldLogWhenLong();
  static constexpr std::uintmax_t kFoldLogBytes = 1 << 20;

  std::filesystem::path path_;
  std::unique_ptr<sqlite3, Closer> db_;  // null: a missing ledger read as empty
};

// The SHA-256 of `bytes` in lower-case hex.
std::string Sha256Hex(std::span<const std::uint8_t> bytes);

// The SHA-256 of a regular file's contents in lower-case hex; the file is
// opened once, without blocking and without becoming a controlling terminal.
Result<std::string> FileSha256Hex(const std::filesystem::path& path);

// $XDG_DATA_HOME/inkmark/ledger.sqlite, else ~/.local/share/inkmark/ledger.sqlite.
std::filesystem::path DefaultLedgerPath();

// The user who records: the login name of the process's user, else its number.
std::string LedgerUserName();

// `time` (seconds since 1970) as "2026-12-07T19:35:38Z".
std::string LedgerTimeText(std::int64_t time);

// "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS", with an optional
// trailing Z (always UTC), as seconds since 1970; nullopt when malformed.
std::optional<std::int64_t> ParseLedgerTime(const std::string& text);

}  // namespace inkmark
