#include "ledger/ledger.h"

#include <sqlite3.h>

#include <cerrno>
#include <ctime>
#include <system_error>

#include "ledger/ledger_schema.h"

namespace inkmark {
namespace {

// One prepared statement, finalised however the caller leaves.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return rc_ == SQLITE_OK || rc_ == SQLITE_ROW || rc_ == SQLITE_DONE; }
  Failure failure() const { return SqliteFailure(db_, rc_); }

  void Bind(int i, const std::string& text) {
    if (ok()) rc_ = sqlite3_bind_text(stmt_, i, text.data(), int(text.size()), SQLITE_TRANSIENT);
  }
  void Bind(int i, std::int64_t value) {
    if (ok()) rc_ = sqlite3_bind_int64(stmt_, i, value);
  }
  void BindBlob(int i, std::span<const std::uint8_t> bytes) {
    if (ok()) rc_ = sqlite3_bind_blob64(stmt_, i, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
  }
  void BindNull(int i) {
    if (ok()) rc_ = sqlite3_bind_null(stmt_, i);
  }
  // True while a row is there; ok() tells a finished statement from a failed one.
  bool Step() {
    if (!ok()) return false;
    rc_ = sqlite3_step(stmt_);
    return rc_ == SQLITE_ROW;
  }
  std::string Text(int i) const {
    const auto* text = sqlite3_column_text(stmt_, i);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              std::size_t(sqlite3_column_bytes(stmt_, i)))
                : std::string();
  }
  std::int64_t Int(int i) const { return sqlite3_column_int64(stmt_, i); }
  std::vector<std::uint8_t> Blob(int i) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, i));
    return data ? std::vector<std::uint8_t>(data, data + sqlite3_column_bytes(stmt_, i))
                : std::vector<std::uint8_t>();
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  int rc_ = SQLITE_OK;
};

constexpr char kEntryColumns[] =
    "id, action, printer, model, key, coalesce(raster_sha256, ''), source_name, source_sha256, "
    "first_color, second_color, time, user";

LedgerEntry ReadEntry(const Statement& s) {
  LedgerEntry e;
  e.id = s.Int(0);
  const std::string action = s.Text(1);
  e.action = action == "delete"    ? LedgerAction::kDelete
             : action == "restore" ? LedgerAction::kRestore
                                   : LedgerAction::kRegister;
  e.printer = s.Text(2);
  e.model = s.Text(3);
  e.key = s.Text(4);
  e.raster_sha256 = s.Text(5);
  e.source_name = s.Text(6);
  e.source_sha256 = s.Text(7);
  e.first_color = std::int32_t(s.Int(8));
  e.second_color = std::int32_t(s.Int(9));
  e.time = s.Int(10);
  e.user = s.Text(11);
  return e;
}

Status Exec(sqlite3* db, const char* sql) {
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? Status() : Status(SqliteFailure(db, rc));
}

}  // namespace

const char* LedgerActionName(LedgerAction action) {
  switch (action) {
    case LedgerAction::kDelete:
      return "delete";
    case LedgerAction::kRestore:
      return "restore";
    case LedgerAction::kRegister:
      break;
  }
  return "register";
}

void Ledger::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

Ledger::Ledger(Ledger&&) noexcept = default;
Ledger& Ledger::operator=(Ledger&&) noexcept = default;
Ledger::~Ledger() = default;

Result<Ledger> Ledger::Open(const std::filesystem::path& path, LedgerMode mode) {
  Ledger ledger;
  ledger.path_ = path;
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  if (!exists && mode == LedgerMode::kRead) return ledger;
  if (exists && !std::filesystem::is_regular_file(path, ec))
    return Failure{FailureCode::kNotRegularFile, "not a regular file"};
  if (!exists && path.has_parent_path()) {
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) return ErrnoFailure(FailureCode::kCannotOpen, path.parent_path().string(), ec.value());
  }
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                    (mode == LedgerMode::kWrite ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  std::unique_ptr<sqlite3, Closer> db(raw);
  if (rc != SQLITE_OK) return SqliteFailure(db.get(), rc);
  sqlite3_busy_timeout(db.get(), kLedgerBusyTimeoutMs);
  // Each run records a little and ends: folding the log into the database on
  // every close would cost each registration a flush to disk. Record folds
  // it in once it has grown (FoldLogWhenLong).
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  sqlite3_wal_autocheckpoint(db.get(), 0);
  sqlite3_extended_result_codes(db.get(), 1);
  // A commit reaches the disk with the next folding of the log: a power cut
  // may lose the last entries, never the file; a run that dies loses none.
  if (Status sync = Exec(db.get(), "PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON"); !sync)
    return sync.failure();
  bool readable = true;
  if (Status schema = BringSchemaUpToDate(db.get(), mode == LedgerMode::kWrite, readable); !schema)
    return schema.failure();
  if (readable) ledger.db_ = std::move(db);
  return ledger;
}

Result<std::int64_t> Ledger::Record(LedgerEntry e, std::span<const std::uint8_t> raster) {
  if (!db_) return Failure{FailureCode::kCannotOpen, "the ledger was not created"};
  if (e.time == 0) e.time = std::int64_t(std::time(nullptr));
  if (e.user.empty()) e.user = LedgerUserName();
  // IMMEDIATE takes the write lock at once, so a busy ledger is waited for
  // here rather than failing half-way.
  if (Status begin = Exec(db_.get(), "BEGIN IMMEDIATE"); !begin) return begin.failure();
  auto fail = [&](Failure f) -> Result<std::int64_t> {
    sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    return f;
  };
  if (e.stores()) {
    // A rollout stores one raster in many printers: it is written once.
    Statement known(db_.get(), "SELECT 1 FROM rasters WHERE sha256 = ?1");
    known.Bind(1, e.raster_sha256);
    const bool kept = known.Step();
    if (!known.ok()) return fail(known.failure());
    if (!kept) {
      Statement keep(db_.get(), "INSERT INTO rasters(sha256, bytes) VALUES(?1, ?2)");
      keep.Bind(1, e.raster_sha256);
      keep.BindBlob(2, raster);
      keep.Step();
      if (!keep.ok()) return fail(keep.failure());
    }
  }
  Statement add(db_.get(),
                "INSERT INTO entries(action, printer, model, key, raster_sha256, source_name, "
                "source_sha256, first_color, second_color, time, user) "
                "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
  add.Bind(1, std::string(LedgerActionName(e.action)));
  add.Bind(2, e.printer);
  add.Bind(3, e.model);
  add.Bind(4, e.key);
  if (e.stores())
    add.Bind(5, e.raster_sha256);
  else
    add.BindNull(5);
  add.Bind(6, e.source_name);
  add.Bind(7, e.source_sha256);
  add.Bind(8, std::int64_t(e.first_color));
  add.Bind(9, std::int64_t(e.second_color));
  add.Bind(10, e.time);
  add.Bind(11, e.user);
  add.Step();
  if (!add.ok()) return fail(add.failure());
  const std::int64_t id = sqlite3_last_insert_rowid(db_.get());
  if (Status commit = Exec(db_.get(), "COMMIT"); !commit) return fail(commit.failure());
  FoldLogWhenLong();
  return id;
}

void Ledger::FoldLogWhenLong() {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path_.string() + "-wal", ec);
  if (ec || size < kFoldLogBytes) return;
  // Never waited for: while another run reads, the next run folds it in. The
  // log is emptied, so that opening the ledger need not read it back.
  sqlite3_busy_timeout(db_.get(), 0);
  sqlite3_wal_checkpoint_v2(db_.get(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
  sqlite3_busy_timeout(db_.get(), kLedgerBusyTimeoutMs);
}

Result<std::optional<LedgerEntry>> Ledger::Last(const std::string& printer,
                                                const std::string& key) {
  if (!db_) return std::optional<LedgerEntry>();
  const std::string sql = std::string("SELECT ") + kEntryColumns +
                          " FROM entries WHERE printer = ?1 COLLATE NOCASE AND key = ?2 "
                          "ORDER BY id DESC LIMIT 1";
  Statement s(db_.get(), sql.c_str());
  s.Bind(1, printer);
  s.Bind(2, key);
  std::optional<LedgerEntry> last;
  if (s.Step()) last = ReadEntry(s);
  if (!s.ok()) return s.failure();
  return last;
}

Result<std::vector<std::uint8_t>> Ledger::Raster(const std::string& sha256) {
  if (!db_) return Failure{FailureCode::kCannotOpen, "the ledger holds no rasters"};
  Statement s(db_.get(), "SELECT bytes FROM rasters WHERE sha256 = ?1");
  s.Bind(1, sha256);
  if (s.Step()) {
    std::vector<std::uint8_t> bytes = s.Blob(0);
    // A raster that no longer matches its hash is not put into a printer.
    if (Sha256Hex(bytes) != sha256)
      return Failure{FailureCode::kCorrupt, "the raster " + sha256 + " does not match its hash"};
    return bytes;
  }
  if (!s.ok()) return s.failure();
  return Failure{FailureCode::kCorrupt, "the raster " + sha256 + " is missing"};
}

Result<std::vector<LedgerEntry>> Ledger::History(const LedgerFilter& filter) {
  std::vector<LedgerEntry> entries;
  if (!db_) return entries;
  const std::string sql = std::string("SELECT ") + kEntryColumns +
                          " FROM entries WHERE (?1 IS NULL OR printer = ?1 COLLATE NOCASE)"
                          " AND (?2 IS NULL OR key = ?2) AND (?3 IS NULL OR time >= ?3)"
                          " ORDER BY id";
  Statement s(db_.get(), sql.c_str());
  if (filter.printer) s.Bind(1, *filter.printer);
  if (filter.key) s.Bind(2, *filter.key);
  if (filter.since) s.Bind(3, *filter.since);
  while (s.Step()) entries.push_back(ReadEntry(s));
  if (!s.ok()) return s.failure();
  return entries;
}

}  // namespace inkmark
