#include "windows/ledger_record.h"

namespace inkmark {

Status RecordInLedger(const std::filesystem::path& path, const LogoSession& session,
                      LedgerAction action, const NvKey& key, std::span<const std::uint8_t> raster) {
  if (path.empty()) return Status();
  const PrinterProfile* profile = session.CurrentProfile();
  if (profile == nullptr || !profile->ports.HasSelection())
    return Failure{FailureCode::kInvalidArgument, "no printer port is chosen"};
  LedgerEntry entry;
  entry.action = action;
  entry.printer = profile->ports.Selected();
  entry.model = profile->model_name;
  entry.key = std::string(key.data(), 2);
  if (action != LedgerAction::kDelete) {
    entry.raster_sha256 = Sha256Hex(raster);
    entry.source_name = std::filesystem::path(session.source_path).filename().string();
    if (auto hash = FileSha256Hex(session.source_path)) entry.source_sha256 = *hash;
    entry.first_color = session.first_color;
    entry.second_color = session.second_color;
  }
  Result<Ledger> ledger = Ledger::Open(path, LedgerMode::kWrite);
  if (!ledger) return ledger.failure();
  return ledger->Record(std::move(entry), raster).status();
}

}  // namespace inkmark
