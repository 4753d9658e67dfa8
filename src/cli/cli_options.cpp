#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "ledger/ledger.h"
#include "platform/translation.h"

namespace inkmark::cli {
namespace {

struct CommandEntry {
  const char* name;
  Command command;
};

constexpr CommandEntry kCommands[] = {
    {"printers", Command::kPrinters},
    {"raster", Command::kRaster},
    {"command-file", Command::kCommandFile},
    {"register", Command::kRegister},
    {"test-print", Command::kTestPrint},
    {"keys", Command::kKeys},
    {"capacity", Command::kCapacity},
    {"print", Command::kPrint},
    {"delete", Command::kDelete},
    {"preview", Command::kPreview},
    {"status", Command::kStatus},
    {"ledger", Command::kLedger},
};

// Options that take a value; every other option is a flag.
constexpr std::string_view kValueOptions[] = {
    "--printer",       "--paper",     "--first",  "--second", "--resolution", "--port",
    "--baud",          "--data-bits", "--parity", "--flow",   "--driver",     "--printers-dir",
    "--mono",          "--grade",     "--rgb",    "--attach", "--output",     "--key",
    "--printers-list", "--jobs",      "--ledger", "--name",   "--since",      "--deadline",
};
constexpr std::string_view kFlagOptions[] = {"--fit",  "--yes",        "--help",   "--version",
                                             "--json", "--if-changed", "--replace"};

// The options of a run on many printers that its printers' own runs do not
// take: the printers, how many at a time, and the shape of the results.
bool NotPassedOn(std::string_view name) {
  return name == "--port" || name == "--printers-list" || name == "--jobs" || name == "--json" ||
         name == "--deadline";
}

// The printer options a line of a printers list may give.
constexpr std::string_view kLineOptions[] = {
    "--printer",   "--paper",  "--first", "--second", "--resolution", "--baud",
    "--data-bits", "--parity", "--flow",  "--driver", "--name",
};

// Commands that reach a printer, and so may run on many.
bool UsesPrinter(Command c) {
  return c == Command::kRegister || c == Command::kTestPrint || c == Command::kKeys ||
         c == Command::kCapacity || c == Command::kPrint || c == Command::kDelete ||
         c == Command::kStatus;
}

bool TakesSource(Command c) {
  return c == Command::kRaster || c == Command::kCommandFile || c == Command::kRegister ||
         c == Command::kTestPrint || c == Command::kPreview;
}

std::string Quote(std::string_view text) { return "'" + std::string(text) + "'"; }

// A whole decimal number from lo to hi: digits only, no sign, no blanks.
std::optional<int> ParseNumber(std::string_view text, int lo, int hi) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  for (char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value < lo || value > hi) return std::nullopt;
  return value;
}

std::optional<std::array<int, 3>> ParseRgb(std::string_view text) {
  std::array<int, 3> rgb{};
  for (int i = 0; i < 3; ++i) {
    std::size_t comma = text.find(',');
    if ((i < 2) != (comma != std::string_view::npos)) return std::nullopt;
    auto level = ParseNumber(text.substr(0, comma), 1, 5);
    if (!level) return std::nullopt;
    rgb[std::size_t(i)] = *level;
    text = i < 2 ? text.substr(comma + 1) : std::string_view();
  }
  return rgb;
}

std::optional<LevelChoices> ParseLevels(std::string_view text) {
  LevelChoices levels{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (i % 2 == 1) {
      if (c != ',') return std::nullopt;
      continue;
    }
    if (c == 'W') c = 'w';
    if ((c != '1' && c != '2' && c != 'w') || n == levels.size()) return std::nullopt;
    levels[n++] = c;
  }
  if (n != levels.size() || text.size() != 2 * levels.size() - 1) return std::nullopt;
  return levels;
}

class Parser {
 public:
  ParseOutcome Run(std::span<const std::string> args);

 private:
  std::string Option(std::string_view name, const std::optional<std::string>& value);
  std::string Operand(const std::string& text);
  std::string Finish();
  template <typename T>
  std::string Set(std::optional<T>& field, std::string_view name, T value) {
    if (field) return Fill(Translate("inkmark", "option %1 is given twice"), {std::string(name)});
    field = std::move(value);
    return "";
  }

  CliOptions o_;
  std::vector<std::string> operands_;
};

ParseOutcome Parser::Run(std::span<const std::string> args) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::size_t first = i;
    bool pass_on = true;
    std::string error;
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      error = Operand(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else {
      std::string name = arg;
      std::optional<std::string> value;
      if (arg == "-o") name = "--output";
      if (arg == "-k") name = "--key";
      if (arg == "-h") name = "--help";
      if (name.rfind("--", 0) == 0) {
        if (auto eq = name.find('='); eq != std::string::npos) {
          value = name.substr(eq + 1);
          name.resize(eq);
        }
      }
      const bool takes_value = std::ranges::find(kValueOptions, name) != std::end(kValueOptions);
      const bool is_flag = std::ranges::find(kFlagOptions, name) != std::end(kFlagOptions);
      if (!takes_value && !is_flag)
        return {std::nullopt, Fill(Translate("inkmark", "unknown option %1"), {Quote(arg)})};
      if (takes_value && !value) {
        if (i + 1 >= args.size())
          return {std::nullopt, Fill(Translate("inkmark", "option %1 needs a value"), {name})};
        value = args[++i];
      } else if (!takes_value && value) {
        return {std::nullopt, Fill(Translate("inkmark", "option %1 takes no value"), {name})};
      }
      error = Option(name, value);
      pass_on = !NotPassedOn(name);
    }
    if (!error.empty()) return {std::nullopt, error};
    if (pass_on)
      o_.per_printer_args.insert(o_.per_printer_args.end(), args.begin() + long(first),
                                 args.begin() + long(i) + 1);
  }
  if (o_.help || o_.version) return {std::move(o_), ""};
  if (std::string error = Finish(); !error.empty()) return {std::nullopt, error};
  return {std::move(o_), ""};
}

std::string Parser::Option(std::string_view name, const std::optional<std::string>& value) {
  PrinterChoices& p = o_.printer;
  ConversionChoices& c = o_.conversion;
  const std::string v = value.value_or("");
  auto bad = [&](std::string_view expected) {
    return Fill(Translate("inkmark", "invalid value %1 for %2: expected %3"),
                {Quote(v), std::string(name), std::string(expected)});
  };
  auto text = [&](std::optional<std::string>& field) -> std::string {
    if (v.empty())
      return Fill(Translate("inkmark", "option %1 needs a non-empty value"), {std::string(name)});
    return Set(field, name, v);
  };
  auto number = [&](std::optional<int>& field, int lo, int hi) -> std::string {
    auto n = ParseNumber(v, lo, hi);
    if (!n)
      return bad(Fill(Translate("inkmark", "a number from %1 to %2"),
                      {std::to_string(lo), std::to_string(hi)}));
    return Set(field, name, *n);
  };

  if (name == "--help") return (o_.help = true, "");
  if (name == "--version") return (o_.version = true, "");
  if (name == "--fit") return c.fit ? "option --fit is given twice" : (c.fit = true, "");
  if (name == "--yes") return o_.yes ? "option --yes is given twice" : (o_.yes = true, "");
  if (name == "--printer") return text(p.printer);
  if (name == "--paper") return text(p.paper);
  if (name == "--first") return text(p.first);
  if (name == "--second") return text(p.second);
  if (name == "--port") {
    if (v.empty())
      return Fill(Translate("inkmark", "option %1 needs a non-empty value"), {"--port"});
    o_.ports.push_back(v);
    return "";
  }
  if (name == "--json") return o_.json ? "option --json is given twice" : (o_.json = true, "");
  if (name == "--if-changed")
    return o_.if_changed ? "option --if-changed is given twice" : (o_.if_changed = true, "");
  if (name == "--replace")
    return o_.replace ? "option --replace is given twice" : (o_.replace = true, "");
  if (name == "--ledger") return text(o_.ledger);
  if (name == "--name") return text(o_.name);
  if (name == "--since") {
    auto since = ParseLedgerTime(v);
    if (!since)
      return bad(Translate("inkmark", "YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS (UTC)"));
    return Set(o_.since, name, *since);
  }
  if (name == "--printers-list") return text(o_.printers_list);
  if (name == "--jobs") return number(o_.jobs, 1, 64);
  if (name == "--deadline") return number(o_.deadline, 1, kMaxDeadlineSeconds);
  if (name == "--parity") return text(p.parity);
  if (name == "--flow") return text(p.flow);
  if (name == "--driver") return text(p.driver);
  if (name == "--printers-dir") return text(o_.printers_dir);
  if (name == "--resolution") return number(p.resolution, 1, 9999);
  if (name == "--baud") return number(p.baud, 1, 4000000);
  if (name == "--data-bits") return number(p.data_bits, 5, 8);
  if (name == "--mono") return number(c.mono, 1, 2);
  if (name == "--output") {
    if (v.empty()) return Translate("inkmark", "option --output needs a file name");
    if (!o_.output.empty())
      return Fill(Translate("inkmark", "option %1 is given twice"), {"--output"});
    o_.output = v;
    return "";
  }
  if (name == "--key") {
    auto key = ParseKey(v);
    if (!key) return bad(Translate("inkmark", "two characters from 0x20 to 0x7E"));
    return Set(o_.key, "--key", *key);
  }
  if (name == "--grade") {
    int grade = v == "coarse" ? 0 : v == "middle" ? 1 : v == "fine" ? 2 : -1;
    if (grade < 0) return bad(Translate("inkmark", "coarse, middle or fine"));
    return Set(c.grade, name, grade);
  }
  if (name == "--rgb") {
    auto rgb = ParseRgb(v);
    if (!rgb) return bad(Translate("inkmark", "R,G,B with each level from 1 to 5"));
    return Set(c.rgb, name, *rgb);
  }
  // --attach
  if (c.attach_given) return Fill(Translate("inkmark", "option %1 is given twice"), {"--attach"});
  c.attach_given = true;
  if (v == "auto") return "";
  constexpr std::string_view kManual = "manual:";
  if (v.rfind(kManual, 0) == 0) {
    if (auto levels = ParseLevels(std::string_view(v).substr(kManual.size()))) {
      c.manual_levels = *levels;
      return "";
    }
  }
  return bad(
      Translate("inkmark", "auto, or manual: and 8 levels each 1, 2 or w, separated by commas"));
}

std::string Parser::Operand(const std::string& text) {
  if (o_.command != Command::kNone) {
    operands_.push_back(text);
    return "";
  }
  for (const CommandEntry& e : kCommands) {
    if (text == e.name) {
      o_.command = e.command;
      return "";
    }
  }
  return Fill(Translate("inkmark", "unknown command %1"), {Quote(text)});
}

std::string Parser::Finish() {
  const Command cmd = o_.command;
  if (cmd == Command::kNone) return Translate("inkmark", "no command given");
  if (o_.ports.size() == 1 && !o_.printers_list) {
    o_.printer.port = o_.ports[0];
    o_.ports.clear();
  }
  if (o_.printers_list && !o_.ports.empty())
    return Translate("inkmark", "--port and --printers-list cannot be used together");
  if (o_.many_printers() && !UsesPrinter(cmd))
    return Fill(Translate("inkmark", "%1 does not take more than one printer"), {CommandName(cmd)});
  if (o_.jobs && !o_.many_printers())
    return Translate("inkmark", "--jobs applies only to more than one printer");
  if (o_.deadline && !o_.many_printers())
    return Translate("inkmark", "--deadline applies only to more than one printer");
  if (o_.many_printers() && cmd == Command::kDelete && !o_.yes)
    return Translate("inkmark", "delete on more than one printer needs --yes");
  if (o_.many_printers() && o_.name)
    return Translate("inkmark",
                     "--name names one printer; give it on each line of a printers list");
  if (o_.json && !o_.many_printers() && cmd != Command::kPrinters && cmd != Command::kKeys &&
      cmd != Command::kCapacity && cmd != Command::kPreview && cmd != Command::kStatus &&
      cmd != Command::kLedger)
    return Translate("inkmark",
                     "--json applies to printers, keys, capacity, preview, status, ledger and more "
                     "than one printer");
  if ((o_.if_changed || o_.replace) && cmd != Command::kRegister)
    return Translate("inkmark", "--if-changed and --replace apply to register only");
  if (o_.since && cmd != Command::kLedger)
    return Translate("inkmark", "--since applies to ledger only");
  if (cmd == Command::kLedger && o_.name && o_.printer.port)
    return Translate("inkmark", "ledger takes --name or --port, not both");
  const std::string name = CommandName(cmd);
  if (TakesSource(cmd)) {
    if (operands_.size() != 1)
      return Fill(Translate("inkmark", "%1 takes exactly one SOURCE"), {name});
    o_.source = operands_[0];
    if (o_.source.empty()) return Translate("inkmark", "SOURCE must not be empty");
  } else if (cmd == Command::kPrint || cmd == Command::kDelete) {
    if (operands_.empty()) return Fill(Translate("inkmark", "%1 needs at least one KEY"), {name});
    for (const std::string& k : operands_) {
      auto key = ParseKey(k);
      if (!key)
        return Fill(
            Translate("inkmark", "invalid key %1: expected two characters from 0x20 to 0x7E"),
            {Quote(k)});
      o_.keys.push_back(*key);
    }
  } else if (!operands_.empty()) {
    return Fill(Translate("inkmark", "%1 takes no operands, but got %2"),
                {name, Quote(operands_[0])});
  }

  const bool wants_output = cmd == Command::kRaster || cmd == Command::kCommandFile;
  const bool wants_key = cmd == Command::kCommandFile || cmd == Command::kRegister;
  if (wants_output && o_.output.empty())
    return Fill(Translate("inkmark", "%1 needs -o FILE"), {name});
  if (!wants_output && !o_.output.empty())
    return Fill(Translate("inkmark", "%1 takes no -o"), {name});
  if (wants_key && !o_.key) return Fill(Translate("inkmark", "%1 needs -k KEY"), {name});
  // The ledger's history may be narrowed to one key.
  if (!wants_key && o_.key && cmd != Command::kLedger)
    return Fill(Translate("inkmark", "%1 takes no -k"), {name});
  if (o_.yes && cmd != Command::kDelete && !o_.replace)
    return Translate("inkmark", "--yes applies to delete and register --replace only");
  if (o_.conversion.any() && !TakesSource(cmd))
    return Translate("inkmark", "conversion options apply only to commands that take a SOURCE");
  const ConversionChoices& c = o_.conversion;
  if (c.manual_levels && c.grade.value_or(0) != 0)
    return Translate("inkmark",
                     "--attach manual needs the coarse grade: manual levels apply to it only");
  if (c.manual_levels && c.mono) {
    for (char level : *c.manual_levels)
      if (level == '2')
        return Translate("inkmark", "with --mono, each --attach level is 1 (the ink) or w (white)");
  }
  return "";
}

}  // namespace

std::optional<NvKey> ParseKey(const std::string& text) {
  if (text.size() != 2) return std::nullopt;
  for (char c : text)
    if (!IsNvKeyByte(static_cast<std::uint8_t>(c))) return std::nullopt;
  return MakeNvKey(text[0], text[1]);
}

const char* CommandName(Command command) {
  for (const CommandEntry& e : kCommands)
    if (e.command == command) return e.name;
  return "";
}

ParseOutcome ParseArguments(std::span<const std::string> args) { return Parser().Run(args); }

namespace {

// The words of one line; false when a quote is left open.
bool SplitWords(std::string_view line, std::vector<std::string>& words) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      word = line.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return true;
}

}  // namespace

std::vector<PrinterLine> ParsePrintersList(std::string_view text, std::string& error) {
  std::vector<PrinterLine> printers;
  auto refuse = [&](std::size_t number, const std::string& why) {
    error = Fill(Translate("inkmark", "printers list line %1: %2"), {std::to_string(number), why});
    printers.clear();
    return printers;
  };
  if (text.size() > kMaxPrintersListBytes)
    return refuse(0, Translate("inkmark", "the list is longer than 1 MiB"));
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text = end < text.size() ? text.substr(end + 1) : std::string_view();
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxPrintersListLine)
      return refuse(number, Fill(Translate("inkmark", "longer than %1 characters"),
                                 {std::to_string(kMaxPrintersListLine)}));
    if (line.find('\0') != std::string_view::npos)
      return refuse(number, Translate("inkmark", "a NUL character"));
    std::vector<std::string> words;
    if (!SplitWords(line, words))
      return refuse(number, Translate("inkmark", "a quote is not closed"));
    if (words.empty() || words[0].starts_with("#")) continue;
    if (words[0].empty() || words[0][0] == '-')
      return refuse(number, Translate("inkmark", "a line must start with the printer's port"));
    PrinterLine printer{words[0], {}, number};
    for (std::size_t w = 1; w < words.size(); ++w) {
      std::string name = words[w];
      std::optional<std::string> value;
      if (auto eq = name.find('='); eq != std::string::npos) {
        value = name.substr(eq + 1);
        name.resize(eq);
      }
      if (std::ranges::find(kLineOptions, name) == std::end(kLineOptions))
        return refuse(number, Fill(Translate("inkmark", "unknown printer option '%1'"), {name}));
      if (!value) {
        if (w + 1 >= words.size())
          return refuse(number, Fill(Translate("inkmark", "option %1 needs a value"), {name}));
        value = words[++w];
      }
      printer.options.push_back(name);
      printer.options.push_back(*value);
    }
    if (printers.size() == kMaxPrintersListPrinters)
      return refuse(number, Fill(Translate("inkmark", "more than %1 printers"),
                                 {std::to_string(kMaxPrintersListPrinters)}));
    printers.push_back(std::move(printer));
  }
  if (printers.empty()) return refuse(number, Translate("inkmark", "the list names no printer"));
  return printers;
}

}  // namespace inkmark::cli
