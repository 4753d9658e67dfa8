// The command line of inkmark: a command, its operands and the options that
// choose the printer and the conversion. The parser checks every value it can
// without the printer files; the choices a model offers are checked later.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
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
  std::string source;        // SOURCE of the commands that convert a logo
  std::string output;        // -o FILE
  std::optional<NvKey> key;  // -k KEY
  std::vector<NvKey> keys;   // KEY... of print and delete
  bool yes = false;          // delete without asking
  std::optional<std::string> printers_dir;
  PrinterChoices printer;
  ConversionChoices conversion;
};

struct ParseOutcome {
  std::optional<CliOptions> options;
  std::string error;  // why the line is refused when options is empty
};

// Parses the arguments after the program name. Options may come before or
// after the command, as "--name VALUE" or "--name=VALUE"; "--" ends them.
ParseOutcome ParseArguments(std::span<const std::string> args);

// A key as given on the command line: exactly two characters, 0x20 to 0x7E.
std::optional<NvKey> ParseKey(const std::string& text);

// The command's name as typed ("command-file"), or "" for none.
const char* CommandName(Command command);

// What --help prints.
std::string UsageText();

// The line that follows every usage error.
inline constexpr char kUsageHint[] = "Try 'inkmark --help' for more information.";

}  // namespace inkmark::cli
