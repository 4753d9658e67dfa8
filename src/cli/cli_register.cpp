#include "cli/cli_register.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "cli/cli_json.h"
#include "cli/cli_ledger.h"
#include "platform/message_box.h"
#include "platform/string_table.h"
#include "platform/translation.h"
#include "ports/open_port.h"
#include "protocol/nv_commands.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"

namespace inkmark::cli {
namespace {

void Say(std::FILE* err, const std::string& message) {
  std::fprintf(err, "inkmark: %s\n", TerminalText(message, true).c_str());
}

// Defines `raster` under `key` on a port of its own; 1 on success.
std::int32_t DefineOnOwnPort(const LogoSession& session, const NvKey& key,
                             std::optional<LogoRaster> raster) {
  auto opened = OpenPrinterPort(session);
  if (!opened) {
    ShowFailure(kAppInstance, kStrPortOpenFailed, opened.failure());
    return 0;
  }
  std::unique_ptr<PortDriver> port = std::move(*opened);
  const std::int32_t result =
      RegisterNvGraphics(*port, kAppInstance, session, key, std::move(raster));
  return CloseAfterRegistration(std::move(port), kAppInstance, result);
}

// What the ledger says the printer holds under the key: its last
// registration there, unless a deletion came after it.
std::optional<LedgerEntry> HeldByLedger(const CliOptions& o, std::optional<Ledger>& ledger,
                                        const LedgerEntry& entry, std::FILE* err) {
  ledger = OpenLedgerOrSay(o, LedgerMode::kRead, err);
  if (!ledger) return std::nullopt;
  auto last = ledger->Last(entry.printer, entry.key);
  if (!last) {
    Say(err, Fill(Translate("inkmark", "the ledger '%1' cannot be used: %2"),
                  {ledger->path().string(), last.failure().Describe()}));
    return std::nullopt;
  }
  if (!*last || !(*last)->stores()) return std::nullopt;
  return **last;
}

}  // namespace

int RegisterOnPrinter(const CliOptions& o, LogoSession& session, Console& console,
                      LogoRaster raster) {
  const NvKey key = *o.key;
  // The define turns the raster's rows over: the ledger keeps it as built.
  const BitmapFile bytes = raster.bytes();
  LedgerEntry entry = EntryFor(o, session, LedgerAction::kRegister, key);
  entry.raster_sha256 = Sha256Hex(bytes);
  entry.source_name = std::filesystem::path(o.source).filename().string();
  if (auto hash = FileSha256Hex(o.source)) entry.source_sha256 = *hash;
  entry.first_color = session.first_color;
  entry.second_color = session.second_color;

  // One port carries the key list and the registration, as in the key-entry window.
  auto opened = OpenPrinterPort(session);
  if (!opened) {
    ShowFailure(kAppInstance, kStrPortOpenFailed, opened.failure());
    return kExitFailed;
  }
  std::unique_ptr<PortDriver> port = std::move(*opened);
  std::vector<NvKey> keys;
  if (ReadKeyCodeList(*port, kAppInstance, keys) < 0) {
    ClosePrinterPort(std::move(port));
    return kExitFailed;
  }
  if (std::ranges::find(keys, key) == keys.end()) {
    std::int32_t result = RegisterNvGraphics(*port, kAppInstance, session, key, std::move(raster));
    if (CloseAfterRegistration(std::move(port), kAppInstance, result) != 1) return kExitFailed;
    RecordOrSay(o, entry, bytes, console.err);
    return kExitOk;
  }
  if (!o.if_changed && !o.replace) {
    ClosePrinterPort(std::move(port));
    ShowMessage(kAppInstance, kStrKeyExists);
    return kExitFailed;
  }

  std::optional<Ledger> ledger;
  const std::optional<LedgerEntry> held = HeldByLedger(o, ledger, entry, console.err);
  if (o.if_changed && held && held->raster_sha256 == entry.raster_sha256) {
    ClosePrinterPort(std::move(port));
    console.out << Translate("inkmark", "unchanged") << '\n';
    return kExitOk;
  }
  if (!o.replace) {
    ClosePrinterPort(std::move(port));
    Say(console.err, Fill(Translate("inkmark",
                                    "key %1 on %2 holds another logo; --replace "
                                    "replaces it"),
                          {entry.key, entry.printer}));
    return kExitFailed;
  }
  std::optional<LogoRaster> previous;
  if (held) {
    auto kept = ledger->Raster(held->raster_sha256);
    if (kept) previous = LogoRaster::FromFile(std::move(*kept));
    if (!previous)
      Say(console.err, Fill(Translate("inkmark", "the ledger '%1' cannot be used: %2"),
                            {ledger->path().string(), kept ? std::string("the raster of key ") +
                                                                 key.data() + " cannot be read"
                                                           : kept.failure().Describe()}));
  }
  if (!previous && !o.yes) {
    ClosePrinterPort(std::move(port));
    Say(console.err,
        Fill(Translate("inkmark",
                       "key %1 on %2 is left alone: the ledger does not know its logo, so it "
                       "could not be restored if the new one failed; --yes replaces it anyway"),
             {entry.key, entry.printer}));
    return kExitFailed;
  }

  // The delete goes on a port of its own, as in the NV manager window.
  ClosePrinterPort(std::move(port));
  if (Status sent = SendOnOwnPort(session, DeleteNvCommand(key)); !sent) {
    ShowFailure(kAppInstance, kStrDeleteFailed, sent.failure(), key.data());
    return kExitFailed;
  }
  RecordOrSay(o, EntryFor(o, session, LedgerAction::kDelete, key), {}, console.err);
  if (DefineOnOwnPort(session, key, std::move(raster)) == 1) {
    RecordOrSay(o, entry, bytes, console.err);
    console.out << Translate("inkmark", "replaced") << '\n';
    return kExitOk;
  }

  // The key is empty now: what it held goes back, in the inks it was made for.
  if (!previous) {
    Say(console.err, Fill(Translate("inkmark",
                                    "the previous logo under key %1 on %2 could not "
                                    "be restored: the ledger does not know it"),
                          {entry.key, entry.printer}));
    return kExitFailed;
  }
  const BitmapFile previous_bytes = previous->bytes();
  const std::int32_t inks[2] = {session.first_color, session.second_color};
  session.first_color = held->first_color;
  session.second_color = held->second_color;
  const std::int32_t restored = DefineOnOwnPort(session, key, std::move(previous));
  session.first_color = inks[0];
  session.second_color = inks[1];
  if (restored != 1) {
    Say(console.err, Fill(Translate("inkmark",
                                    "the previous logo under key %1 on %2 could not "
                                    "be put back; the key is empty"),
                          {entry.key, entry.printer}));
    return kExitFailed;
  }
  Say(console.err, Fill(Translate("inkmark", "the previous logo under key %1 on %2 was put back"),
                        {entry.key, entry.printer}));
  LedgerEntry back = *held;
  back.action = LedgerAction::kRestore;
  back.time = 0;
  back.user.clear();
  RecordOrSay(o, back, previous_bytes, console.err);
  return kExitFailed;
}

}  // namespace inkmark::cli
