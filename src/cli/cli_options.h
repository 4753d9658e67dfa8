// The command line of inkmark: a command, its operands and the options that
// choose the printer and the conversion. The parser checks every value it can
// without the printer files; the choices a model offers are checked later.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/nv_key.h"

namespace inkmark::cli {

enum class Command {
  kNone,
  kPrinters,
  kRaster,
  kCommandFile,
  kRegister,
  kTestPrint,
  kKeys,
  kCapacity,
  kPrint,
  kDelete,
  kPreview,
  kStatus,
  kLedger,
};

// Printer choices given on the command line; absent ones keep the saved
// settings, else the printer file's defaults.
struct PrinterChoices {
  std::optional<std::string> printer;
  std::optional<std::string> paper;
  std::optional<std::string> first;
  std::optional<std::string> second;
  std::optional<int> resolution;
  std::optional<std::string> port;
  std::optional<int> baud;
  std::optional<int> data_bits;
  std::optional<std::string> parity;
  std::optional<std::string> flow;
  std::optional<std::string> driver;
};

// Per level, darkest first: '1' the 1st colour, '2' the 2nd, 'w' white.
using LevelChoices = std::array<char, 8>;

struct ConversionChoices {
  bool fit = false;
  std::optional<int> mono;   // 1 or 2: Monochrome in that colour
  std::optional<int> grade;  // 0 coarse, 1 middle, 2 fine
  std::optional<std::array<int, 3>> rgb;
  std::optional<LevelChoices> manual_levels;  // set by --attach manual:...
  bool attach_given = false;                  // --attach auto or manual

  bool any() const { return fit || mono || grade || rgb || attach_given; }
};

struct CliOptions {
  Command command = Command::kNone;
  bool help = false;
  bool version = false;      // --version: the version alone
  std::string source;        // SOURCE of the commands that convert a logo
  std::string output;        // -o FILE
  std::optional<NvKey> key;  // -k KEY
  std::vector<NvKey> keys;   // KEY... of print and delete
  bool yes = false;          // delete without asking
  std::optional<std::string> printers_dir;
  PrinterChoices printer;
  ConversionChoices conversion;
  bool json = false;  // --json: one JSON document on standard output

  // The ledger of registrations and deletions.
  std::optional<std::string> ledger;  // --ledger FILE; else the default
  std::optional<std::string> name;    // --name NAME: the printer's name in the ledger
  std::optional<std::int64_t> since;  // --since TIME of the ledger command
  bool if_changed = false;            // register --if-changed
  bool replace = false;               // register --replace

  // Many printers at once: --port more than once, or --printers-list FILE.
  std::vector<std::string> ports;            // every --port when more than one
  std::optional<std::string> printers_list;  // --printers-list FILE
  std::optional<int> jobs;                   // --jobs N: printers at a time
  std::optional<int> deadline;               // --deadline SECONDS: per printer
  // The arguments with the ports, the list, --jobs and --deadline left out: what each
  // printer's own run takes, after its port and its line's settings.
  std::vector<std::string> per_printer_args;

  bool many_printers() const { return ports.size() > 1 || printers_list.has_value(); }
};

struct ParseOutcome {
  std::optional<CliOptions> options;
  std::string error;  // why the line is refused when options is empty
};

// Parses the arguments after the program name. Options may come before or
// after the command, as "--name VALUE" or "--name=VALUE"; "--" ends them.
ParseOutcome ParseArguments(std::span<const std::string> args);

// The most --deadline takes: a day.
inline constexpr int kMaxDeadlineSeconds = 86400;

// One printer of a printers list: its port and the printer options of its line.
struct PrinterLine {
  std::string port;
  std::vector<std::string> options;  // such as {"--printer", "DT-500/510"}
  std::size_t number = 0;            // its line in the list; 0 for a --port
};

// A printers list: one printer a line, "PORT [OPTION VALUE]...", blank lines
// and lines starting with '#' ignored. Words are separated by blanks; a word
// with blanks is written in double quotes. The options are the printer
// options other than --port. On a refusal, `error` says which line and why.
inline constexpr std::size_t kMaxPrintersListBytes = 1 << 20;
inline constexpr std::size_t kMaxPrintersListLine = 4096;
inline constexpr std::size_t kMaxPrintersListPrinters = 4096;
std::vector<PrinterLine> ParsePrintersList(std::string_view text, std::string& error);

// A key as given on the command line: exactly two characters, 0x20 to 0x7E.
std::optional<NvKey> ParseKey(const std::string& text);

// The command's name as typed ("command-file"), or "" for none.
const char* CommandName(Command command);

// What --help prints.
std::string UsageText();

// The line that follows every usage error.
inline constexpr char kUsageHint[] = "Try 'inkmark --help' for more information.";

}  // namespace inkmark::cli
