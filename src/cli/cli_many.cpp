#include "cli/cli_many.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli_json.h"
#include "cli/cli_ledger.h"
#include "cli/cli_printer.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "platform/translation.h"
#include "protocol/nv_raster.h"

extern char** environ;

namespace inkmark::cli {
namespace {

using Clock = std::chrono::steady_clock;

// What one printer's run may write that is kept: more is cut off.
constexpr std::size_t kMaxCapturedBytes = 64 * 1024;

// A run past its deadline is asked to stop (SIGTERM: it ends the piece in
// flight and reports the interruption); one still running this much later is
// killed.
constexpr auto kStopGrace = std::chrono::seconds(5);

struct Printer {
  std::string port;
  std::vector<std::string> args;  // the whole argument list of its run
  std::filesystem::path folder;   // its temporary folder and captured output
  std::chrono::seconds deadline{0};
  pid_t pid = -1;
  int pidfd = -1;  // becomes readable when the run ends
  Clock::time_point stop_at, kill_at;
  bool overran = false;  // stopped at its deadline
  bool ok = false;
  int status = -1;  // its exit status, -1 when it did not exit
  std::vector<std::string> out, err;
};

// How long a printer's run may take when --deadline does not say: a minute
// for the talk around a job, and for the commands that send a logo twice the
// largest one the model can take at the line's speed (eleven bits a byte at
// most on a serial line; ports without a speed of their own are counted at
// 115200 baud).
std::chrono::seconds DefaultDeadline(const PrinterProfile& p, Command command) {
  constexpr std::int64_t kTalkSeconds = 60;
  if (command != Command::kRegister && command != Command::kTestPrint)
    return std::chrono::seconds(kTalkSeconds);
  const std::int64_t row_bytes = (std::int64_t(std::max(PrintWidthDots(p), 8)) + 7) / 8;
  const std::int64_t logo_bytes = row_bytes * kMaxRasterDefineHeight * 2 + 1024;
  const std::string& port = p.ports.At(p.ports.sel);
  const std::int64_t baud = port.starts_with("COM") && p.baud_rates.At(p.baud_rates.sel) > 0
                                ? p.baud_rates.At(p.baud_rates.sel)
                                : 115200;
  return std::chrono::seconds(kTalkSeconds + 2 * (logo_bytes * 11 + baud - 1) / baud);
}

// Boxes that show nothing: a line's check says what it finds as its own error,
// and each printer's run shows the rest.
class SilentBoxes final : public MessageBoxes {
 public:
  int Show(WindowHandle, const std::string&, const std::string&, unsigned style) override {
    const unsigned buttons = style & kMbButtonMask;
    return buttons == kMbYesNo ? kIdNo : buttons == kMbRetryCancel ? kIdCancel : kIdOk;
  }
};

// "" when the line's model offers its port and every value it chooses, else
// why not; `deadline` becomes the run's default deadline. A folder without
// printer files is left to the printer's own run.
std::string CheckAgainstModel(const CliOptions& line, const Console& console,
                              std::chrono::seconds& deadline) {
  SilentBoxes silent;
  SetMessageBoxes(&silent);
  LogoSession session;
  const std::filesystem::path folder =
      line.printers_dir ? std::filesystem::path(*line.printers_dir) : console.program_folder;
  std::string error;
  if (LoadPrinters(session, folder)) {
    error = ApplyPrinterChoices(session, line.printer);
    if (error.empty() && session.CurrentProfile())
      deadline = DefaultDeadline(*session.CurrentProfile(), line.command);
  }
  SetMessageBoxes(nullptr);
  return error;
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::string text(kMaxCapturedBytes, '\0');
  file.read(text.data(), std::streamsize(text.size()));
  text.resize(std::size_t(file.gcount()));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string Join(const std::vector<std::string>& parts, std::string_view between) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i)
    joined += (i ? std::string(between) : "") + parts[i];
  return joined;
}

// The printer's result in a few words: its output, or why it failed. A run
// that succeeded may still have said that the ledger could not record it:
// its lines that name `ledger` follow its output.
std::string Message(const Printer& p, std::string_view ledger = {}) {
  std::vector<std::string> why;
  if (p.overran)
    why.push_back(Fill(Translate("inkmark", "no result within %1 s: stopped"),
                       {std::to_string(p.deadline.count())}));
  for (std::string line : p.err) {
    if (line.starts_with("inkmark: ")) line.erase(0, 9);
    if (!line.empty() && line.rfind("Try 'inkmark --help'", 0) != 0) why.push_back(line);
  }
  if (p.ok) {
    std::string done = p.out.empty() ? Translate("inkmark", "done") : Join(p.out, " ");
    for (const std::string& line : why)
      if (!ledger.empty() && line.find(ledger) != std::string::npos) done += "; " + line;
    return done;
  }
  if (p.status < 0 && why.empty()) return Translate("inkmark", "the run ended abnormally");
  return why.empty() ? Translate("inkmark", "failed") : Join(why, "; ");
}

std::filesystem::path TempBase() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? std::filesystem::path(dir) : std::filesystem::path("/tmp");
}

// Starts the printer's run with its own temporary folder, its standard
// output and error captured there, and no standard input.
bool Start(const std::filesystem::path& program, Printer& p) {
  std::string pattern = (TempBase() / "inkmark-printer-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return false;
  p.folder = pattern;

  std::vector<std::string> env_texts;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "TMPDIR=", 7) != 0) env_texts.emplace_back(*e);
  env_texts.push_back("TMPDIR=" + p.folder.string());
  std::vector<char*> env;
  for (std::string& e : env_texts) env.push_back(e.data());
  env.push_back(nullptr);

  std::string program_text = program.string();
  std::vector<char*> argv{program_text.data()};
  for (std::string& a : p.args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const std::string out = (p.folder / "out.txt").string();
  const std::string err = (p.folder / "err.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                   O_WRONLY | O_CREAT | O_EXCL, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                   O_WRONLY | O_CREAT | O_EXCL, 0600);
  const int error =
      ::posix_spawn(&p.pid, program_text.c_str(), &actions, nullptr, argv.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    p.pid = -1;
    return false;
  }
  p.pidfd = int(::syscall(SYS_pidfd_open, p.pid, 0));
  p.stop_at = Clock::now() + p.deadline;
  p.kill_at = p.stop_at + kStopGrace;
  return true;
}

void Finish(Printer& p, int wait_status) {
  if (p.pidfd >= 0) ::close(p.pidfd);
  p.pidfd = -1;
  p.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  p.ok = p.status == kExitOk;
  p.out = ReadLines(p.folder / "out.txt");
  p.err = ReadLines(p.folder / "err.txt");
  std::error_code ec;
  std::filesystem::remove_all(p.folder, ec);
}

// The printers the options name, each with the arguments of its run.
std::vector<Printer> Printers(const CliOptions& o, Console& console, std::string& error) {
  std::vector<PrinterLine> lines;
  if (o.printers_list) {
    // One byte more than a list may have, so that a longer one is refused.
    auto text = ReadRegularFile(*o.printers_list, kMaxPrintersListBytes + 1);
    if (!text) {
      error = Fill(Translate("inkmark", "cannot read the printers list '%1'"), {*o.printers_list}) +
              ": " + text.failure().Describe();
      return {};
    }
    lines = ParsePrintersList(*text, error);
    if (!error.empty()) return {};
  } else {
    for (const std::string& port : o.ports) lines.push_back({port, {}});
  }
  std::vector<Printer> printers;
  for (PrinterLine& line : lines) {
    Printer p;
    p.port = line.port;
    p.args = std::move(line.options);
    p.args.insert(p.args.end(), {"--port", line.port});
    p.args.insert(p.args.end(), o.per_printer_args.begin(), o.per_printer_args.end());
    // A printer's status is one JSON document of its own, gathered by Report.
    if (o.command == Command::kStatus && o.json) p.args.push_back("--json");
    // Each printer's line is checked before any printer is reached.
    ParseOutcome parsed = ParseArguments(p.args);
    p.deadline = std::chrono::seconds(60);
    std::string why =
        parsed.options ? CheckAgainstModel(*parsed.options, console, p.deadline) : parsed.error;
    if (o.deadline) p.deadline = std::chrono::seconds(*o.deadline);
    if (!why.empty()) {
      error = line.number == 0 ? Fill(Translate("inkmark", "printer %1: %2"), {p.port, why})
                               : Fill(Translate("inkmark", "printers list line %1, printer %2: %3"),
                                      {std::to_string(line.number), p.port, why});
      return {};
    }
    printers.push_back(std::move(p));
  }
  return printers;
}

// Each printer's status lines as its run wrote them (its name starts each),
// or in JSON each run's document; a run that wrote none gets one saying why.
void ReportStatus(const CliOptions& o, const std::vector<Printer>& printers, std::ostream& out) {
  if (o.json) out << "{\"command\":\"status\",\"printers\":[";
  for (std::size_t i = 0; i < printers.size(); ++i) {
    const Printer& p = printers[i];
    if (o.json) {
      out << (i ? "," : "");
      if (p.out.size() == 1 && p.out[0].starts_with("{"))
        out << p.out[0];
      else
        out << "{\"printer\":" << JsonString(p.port) << ",\"port\":" << JsonString(p.port)
            << ",\"reachable\":false,\"error\":" << JsonString(Message(p)) << "}";
    } else if (p.out.empty()) {
      out << TerminalText(p.port) << "\tunreachable\t" << TerminalText(Message(p)) << '\n';
    } else {
      for (const std::string& line : p.out) out << line << '\n';
    }
  }
}

void Report(const CliOptions& o, const std::vector<Printer>& printers, std::ostream& out) {
  const auto succeeded = std::size_t(std::ranges::count_if(printers, &Printer::ok));
  std::vector<std::string> failed;
  for (const Printer& p : printers)
    if (!p.ok) failed.push_back(TerminalText(p.port));
  const std::string ledger = "'" + LedgerPathFor(o).string() + "'";
  if (o.command == Command::kStatus) {
    ReportStatus(o, printers, out);
  } else if (o.json) {
    out << "{\"command\":" << JsonString(CommandName(o.command)) << ",\"printers\":[";
    for (std::size_t i = 0; i < printers.size(); ++i) {
      const Printer& p = printers[i];
      out << (i ? "," : "") << "{\"port\":" << JsonString(p.port)
          << ",\"ok\":" << (p.ok ? "true" : "false") << ",\"status\":" << p.status
          << ",\"message\":" << JsonString(Message(p, ledger))
          << ",\"output\":" << JsonStrings(p.out) << "}";
    }
  } else {
    for (const Printer& p : printers)
      out << TerminalText(p.port) << '\t' << (p.ok ? "ok" : "failed") << '\t'
          << TerminalText(Message(p, ledger)) << '\n';
  }
  if (o.json) {
    out << "],\"succeeded\":" << succeeded << ",\"failed\":" << failed.size() << "}\n";
    return;
  }
  std::string summary = Fill(Translate("inkmark", "%1 of %2 printers succeeded"),
                             {std::to_string(succeeded), std::to_string(printers.size())});
  if (!failed.empty()) summary += Fill(Translate("inkmark", "; failed: %1"), {Join(failed, ", ")});
  out << summary << '\n';
}

// Stops the runs past their deadline, then waits until one run ends or the
// next deadline comes. False when no child is left to wait for.
bool WaitForOne(std::map<pid_t, Printer*>& running) {
  const Clock::time_point now = Clock::now();
  Clock::time_point next = Clock::time_point::max();
  std::vector<pollfd> fds;
  for (auto& [pid, p] : running) {
    if (now >= p->kill_at) {
      ::kill(pid, SIGKILL);
    } else if (now >= p->stop_at && !p->overran) {
      p->overran = true;
      ::kill(pid, SIGTERM);
    }
    next = std::min(next, p->overran ? p->kill_at : p->stop_at);
    if (p->pidfd >= 0) fds.push_back({p->pidfd, POLLIN, 0});
  }
  // Without a pidfd (an old kernel) the ends are looked for every 50 ms.
  auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now);
  if (fds.size() < running.size()) wait = std::min(wait, std::chrono::milliseconds(50));
  const int timeout = int(std::clamp<std::int64_t>(wait.count(), 0, 60'000));
  if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return false;
  for (;;) {
    int wait_status = 0;
    const pid_t pid = ::waitpid(-1, &wait_status, WNOHANG);
    if (pid == 0 || (pid < 0 && errno == EINTR)) return true;
    if (pid < 0) return errno == ECHILD && running.empty();
    if (auto it = running.find(pid); it != running.end()) {
      Finish(*it->second, wait_status);
      running.erase(it);
    }
  }
}

}  // namespace

int RunOnManyPrinters(const CliOptions& o, Console& console) {
  std::string error;
  std::vector<Printer> printers = Printers(o, console, error);
  if (!error.empty()) {
    std::fprintf(console.err, "inkmark: %s\n%s\n", TerminalText(error, true).c_str(), kUsageHint);
    return kExitUsage;
  }
  if (console.program.empty()) {
    std::fprintf(console.err, "inkmark: %s\n",
                 Translate("inkmark", "cannot find the program to run for each printer").c_str());
    return kExitFailed;
  }
  const std::size_t jobs = std::size_t(o.jobs.value_or(4));
  std::map<pid_t, Printer*> running;
  std::size_t next = 0;
  while (next < printers.size() || !running.empty()) {
    while (next < printers.size() && running.size() < jobs) {
      Printer& p = printers[next++];
      if (Start(console.program, p)) {
        running[p.pid] = &p;
      } else {
        std::error_code ec;
        if (!p.folder.empty()) std::filesystem::remove_all(p.folder, ec);
        p.err = {Translate("inkmark", "cannot start the run for this printer")};
      }
    }
    if (running.empty()) continue;
    // No child left to wait for: those still listed count as failed.
    if (!WaitForOne(running) && !running.empty()) break;
  }
  Report(o, printers, console.out);
  return std::ranges::all_of(printers, &Printer::ok) ? kExitOk : kExitFailed;
}

}  // namespace inkmark::cli
