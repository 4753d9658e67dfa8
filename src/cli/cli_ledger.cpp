#include "cli/cli_ledger.h"

#include <memory>
#include <ostream>
#include <vector>

#include "cli/cli_json.h"
#include "platform/message_box.h"
#include "platform/string_table.h"
#include "platform/translation.h"
#include "ports/network_address.h"
#include "ports/open_port.h"
#include "protocol/transaction.h"

namespace inkmark::cli {
namespace {

// Text output shows a hash by its first digits, as version control does.
constexpr std::size_t kShortHash = 12;

std::string ShortHash(const std::string& hash) { return hash.substr(0, kShortHash); }

void Say(std::FILE* err, const std::string& message) {
  std::fprintf(err, "inkmark: %s\n", TerminalText(message, true).c_str());
}

std::string CannotUse(const std::filesystem::path& path, const Failure& why) {
  return Fill(Translate("inkmark", "the ledger '%1' cannot be used: %2"),
              {path.string(), why.Describe()});
}

// What the ledger knows of one registration, as JSON members after "key".
std::string KnownJson(const LedgerEntry& e) {
  return ",\"known\":true,\"source\":" + JsonString(e.source_name) +
         ",\"source_sha256\":" + JsonString(e.source_sha256) +
         ",\"raster_sha256\":" + JsonString(e.raster_sha256) +
         ",\"time\":" + JsonString(LedgerTimeText(e.time)) + ",\"user\":" + JsonString(e.user);
}

std::string EntryJson(const LedgerEntry& e) {
  return "{\"id\":" + std::to_string(e.id) + ",\"time\":" + JsonString(LedgerTimeText(e.time)) +
         ",\"action\":" + JsonString(LedgerActionName(e.action)) +
         ",\"printer\":" + JsonString(e.printer) + ",\"model\":" + JsonString(e.model) +
         ",\"key\":" + JsonString(e.key) + ",\"source\":" + JsonString(e.source_name) +
         ",\"source_sha256\":" + JsonString(e.source_sha256) +
         ",\"raster_sha256\":" + JsonString(e.raster_sha256) + ",\"user\":" + JsonString(e.user) +
         "}";
}

}  // namespace

std::filesystem::path LedgerPathFor(const CliOptions& o) {
  return o.ledger ? std::filesystem::path(*o.ledger) : DefaultLedgerPath();
}

std::string PrinterIdFor(const CliOptions& o, const LogoSession& session) {
  if (o.name) return *o.name;
  const PrinterProfile* p = session.CurrentProfile();
  return p && p->ports.HasSelection() ? p->ports.Selected() : std::string();
}

std::optional<Ledger> OpenLedgerOrSay(const CliOptions& o, LedgerMode mode, std::FILE* err) {
  const std::filesystem::path path = LedgerPathFor(o);
  Result<Ledger> opened = Ledger::Open(path, mode);
  if (!opened) {
    Say(err, CannotUse(path, opened.failure()));
    return std::nullopt;
  }
  return std::move(opened).ToOptional();
}

bool RecordOrSay(const CliOptions& o, const LedgerEntry& entry,
                 std::span<const std::uint8_t> raster, std::FILE* err) {
  const std::filesystem::path path = LedgerPathFor(o);
  Result<Ledger> ledger = Ledger::Open(path, LedgerMode::kWrite);
  Status recorded = ledger.status();
  if (ledger) recorded = ledger->Record(entry, raster).status();
  if (recorded) return true;
  const char* what = entry.action == LedgerAction::kDelete
                         ? "the deletion of key %1 on %2 was done but is not recorded"
                     : entry.action == LedgerAction::kRestore
                         ? "the logo put back under key %1 on %2 is not recorded"
                         : "the registration of key %1 on %2 was done but is not recorded";
  // One line that names the ledger: a run on many printers shows it with the result.
  Say(err, CannotUse(path, recorded.failure()) + "; " +
               Fill(Translate("inkmark", what), {entry.key, entry.printer}));
  return false;
}

LedgerEntry EntryFor(const CliOptions& o, const LogoSession& session, LedgerAction action,
                     const NvKey& key) {
  LedgerEntry e;
  e.action = action;
  e.printer = PrinterIdFor(o, session);
  if (const PrinterProfile* p = session.CurrentProfile()) e.model = p->model_name;
  e.key = key.data();
  return e;
}

int RunLedgerCommand(const CliOptions& o, Console& console) {
  LedgerFilter filter;
  if (o.name) filter.printer = *o.name;
  if (o.printer.port) {
    // A network port is kept as the port list shows it, "tcp://host:9100".
    auto address =
        IsNetworkPortName(*o.printer.port) ? ParseNetworkAddress(*o.printer.port) : std::nullopt;
    filter.printer = address ? NetworkAddressText(*address) : *o.printer.port;
  }
  if (o.key) filter.key = std::string(o.key->data());
  filter.since = o.since;
  std::optional<Ledger> ledger = OpenLedgerOrSay(o, LedgerMode::kRead, console.err);
  if (!ledger) return kExitFailed;
  auto entries = ledger->History(filter);
  if (!entries) {
    Say(console.err, CannotUse(ledger->path(), entries.failure()));
    return kExitFailed;
  }
  if (o.json) {
    console.out << "{\"ledger\":" << JsonString(ledger->path().string()) << ",\"entries\":[";
    for (std::size_t i = 0; i < entries->size(); ++i)
      console.out << (i ? "," : "") << EntryJson((*entries)[i]);
    console.out << "]}\n";
    return kExitOk;
  }
  for (const LedgerEntry& e : *entries) {
    const bool stores = e.stores();
    console.out << LedgerTimeText(e.time) << '\t' << LedgerActionName(e.action) << '\t'
                << TerminalText(e.printer) << '\t' << TerminalText(e.model) << '\t'
                << TerminalText(e.key) << '\t' << (stores ? TerminalText(e.source_name) : "-")
                << '\t' << (stores ? ShortHash(e.raster_sha256) : "-") << '\t'
                << TerminalText(e.user) << '\n';
  }
  return kExitOk;
}

int RunStatus(const CliOptions& o, LogoSession& session, Console& console) {
  const std::string printer = PrinterIdFor(o, session);
  const PrinterProfile* profile = session.CurrentProfile();
  const std::string port_name =
      profile && profile->ports.HasSelection() ? profile->ports.Selected() : "";
  const std::string head = "{\"printer\":" + JsonString(printer) +
                           ",\"port\":" + JsonString(port_name) +
                           ",\"model\":" + JsonString(profile ? profile->model_name : "");
  auto unreachable = [&](int text, const Failure& why) {
    if (o.json)
      console.out << head << ",\"reachable\":false,\"error\":"
                  << JsonString(LoadString(text, 255) + "; " + why.Describe()) << "}\n";
    else
      console.out << TerminalText(printer) << "\tunreachable\t" << TerminalText(why.Describe())
                  << '\n';
    console.out.flush();
    ShowFailure(kAppInstance, text, why);
    return kExitFailed;
  };

  auto opened = OpenPrinterPort(session);
  if (!opened) return unreachable(kStrPortOpenFailed, opened.failure());
  std::unique_ptr<PortDriver> port = std::move(*opened);
  std::vector<NvKey> keys;
  auto listed = ListStoredKeys(*port, keys);
  Result<std::int32_t> capacity = Failure{FailureCode::kHungUp, ""};
  if (listed) capacity = QueryNvCapacity(*port);
  ClosePrinterPort(std::move(port));
  if (!listed) return unreachable(kStrKeyListFailed, listed.failure());
  if (!capacity) return unreachable(kStrCapacityFailed, capacity.failure());

  // What the ledger knows of each key; a ledger that cannot be read knows nothing.
  std::string ledger_error;
  std::vector<std::optional<LedgerEntry>> known(keys.size());
  const std::filesystem::path path = LedgerPathFor(o);
  Result<Ledger> ledger = Ledger::Open(path, LedgerMode::kRead);
  for (std::size_t i = 0; ledger && i < keys.size() && ledger_error.empty(); ++i) {
    auto last = ledger->Last(printer, keys[i].data());
    if (!last)
      ledger_error = CannotUse(path, last.failure());
    else if (*last && (*last)->stores())
      known[i] = **last;
  }
  if (!ledger) ledger_error = CannotUse(path, ledger.failure());
  if (!ledger_error.empty()) {
    known.assign(keys.size(), std::nullopt);
    Say(console.err, ledger_error);
  }

  if (o.json) {
    console.out << head << ",\"reachable\":true,\"capacity\":" << *capacity << ",\"keys\":[";
    for (std::size_t i = 0; i < keys.size(); ++i) {
      console.out << (i ? "," : "") << "{\"key\":" << JsonString(keys[i].data())
                  << (known[i] ? KnownJson(*known[i]) : ",\"known\":false") << "}";
    }
    console.out << "],\"ledger_error\":"
                << (ledger_error.empty() ? "null" : JsonString(ledger_error)) << "}\n";
    return kExitOk;
  }
  const std::string p = TerminalText(printer);
  console.out << p << "\treachable\t"
              << Fill(Translate("inkmark", "%1 bytes free"), {std::to_string(*capacity)}) << '\t'
              << (keys.size() == 1
                      ? Translate("inkmark", "1 key")
                      : Fill(Translate("inkmark", "%1 keys"), {std::to_string(keys.size())}))
              << '\n';
  for (std::size_t i = 0; i < keys.size(); ++i) {
    console.out << p << '\t' << TerminalText(keys[i].data()) << '\t';
    if (known[i])
      console.out << TerminalText(known[i]->source_name) << '\t' << LedgerTimeText(known[i]->time)
                  << '\t' << ShortHash(known[i]->raster_sha256) << '\n';
    else
      console.out << Translate("inkmark", "unknown") << '\n';
  }
  return kExitOk;
}

}  // namespace inkmark::cli
