#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

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
};

// Options that take a value; every other option is a flag.
constexpr std::string_view kValueOptions[] = {
    "--printer", "--paper",     "--first",  "--second", "--resolution", "--port",
    "--baud",    "--data-bits", "--parity", "--flow",   "--driver",     "--printers-dir",
    "--mono",    "--grade",     "--rgb",    "--attach", "--output",     "--key",
};
constexpr std::string_view kFlagOptions[] = {"--fit", "--yes", "--help"};

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
    if (field) return "option " + std::string(name) + " is given twice";
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
      if (!takes_value && !is_flag) return {std::nullopt, "unknown option " + Quote(arg)};
      if (takes_value && !value) {
        if (i + 1 >= args.size()) return {std::nullopt, "option " + name + " needs a value"};
        value = args[++i];
      } else if (!takes_value && value) {
        return {std::nullopt, "option " + name + " takes no value"};
      }
      error = Option(name, value);
    }
    if (!error.empty()) return {std::nullopt, error};
  }
  if (o_.help) return {std::move(o_), ""};
  if (std::string error = Finish(); !error.empty()) return {std::nullopt, error};
  return {std::move(o_), ""};
}

std::string Parser::Option(std::string_view name, const std::optional<std::string>& value) {
  PrinterChoices& p = o_.printer;
  ConversionChoices& c = o_.conversion;
  const std::string v = value.value_or("");
  auto bad = [&](std::string_view expected) {
    return "invalid value " + Quote(v) + " for " + std::string(name) + ": expected " +
           std::string(expected);
  };
  auto text = [&](std::optional<std::string>& field) -> std::string {
    if (v.empty()) return "option " + std::string(name) + " needs a non-empty value";
    return Set(field, name, v);
  };
  auto number = [&](std::optional<int>& field, int lo, int hi) -> std::string {
    auto n = ParseNumber(v, lo, hi);
    if (!n) return bad("a number from " + std::to_string(lo) + " to " + std::to_string(hi));
    return Set(field, name, *n);
  };

  if (name == "--help") return (o_.help = true, "");
  if (name == "--fit") return c.fit ? "option --fit is given twice" : (c.fit = true, "");
  if (name == "--yes") return o_.yes ? "option --yes is given twice" : (o_.yes = true, "");
  if (name == "--printer") return text(p.printer);
  if (name == "--paper") return text(p.paper);
  if (name == "--first") return text(p.first);
  if (name == "--second") return text(p.second);
  if (name == "--port") return text(p.port);
  if (name == "--parity") return text(p.parity);
  if (name == "--flow") return text(p.flow);
  if (name == "--driver") return text(p.driver);
  if (name == "--printers-dir") return text(o_.printers_dir);
  if (name == "--resolution") return number(p.resolution, 1, 9999);
  if (name == "--baud") return number(p.baud, 1, 4000000);
  if (name == "--data-bits") return number(p.data_bits, 5, 8);
  if (name == "--mono") return number(c.mono, 1, 2);
  if (name == "--output") {
    if (v.empty()) return "option --output needs a file name";
    if (!o_.output.empty()) return "option --output is given twice";
    o_.output = v;
    return "";
  }
  if (name == "--key") {
    auto key = ParseKey(v);
    if (!key) return bad("two characters from 0x20 to 0x7E");
    return Set(o_.key, "--key", *key);
  }
  if (name == "--grade") {
    int grade = v == "coarse" ? 0 : v == "middle" ? 1 : v == "fine" ? 2 : -1;
    if (grade < 0) return bad("coarse, middle or fine");
    return Set(c.grade, name, grade);
  }
  if (name == "--rgb") {
    auto rgb = ParseRgb(v);
    if (!rgb) return bad("R,G,B with each level from 1 to 5");
    return Set(c.rgb, name, *rgb);
  }
  // --attach
  if (c.attach_given) return "option --attach is given twice";
  c.attach_given = true;
  if (v == "auto") return "";
  constexpr std::string_view kManual = "manual:";
  if (v.rfind(kManual, 0) == 0) {
    if (auto levels = ParseLevels(std::string_view(v).substr(kManual.size()))) {
      c.manual_levels = *levels;
      return "";
    }
  }
  return bad("auto, or manual: and 8 levels each 1, 2 or w, separated by commas");
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
  return "unknown command " + Quote(text);
}

std::string Parser::Finish() {
  const Command cmd = o_.command;
  if (cmd == Command::kNone) return "no command given";
  const std::string name = CommandName(cmd);
  if (TakesSource(cmd)) {
    if (operands_.size() != 1) return name + " takes exactly one SOURCE";
    o_.source = operands_[0];
    if (o_.source.empty()) return "SOURCE must not be empty";
  } else if (cmd == Command::kPrint || cmd == Command::kDelete) {
    if (operands_.empty()) return name + " needs at least one KEY";
    for (const std::string& k : operands_) {
      auto key = ParseKey(k);
      if (!key) return "invalid key " + Quote(k) + ": expected two characters from 0x20 to 0x7E";
      o_.keys.push_back(*key);
    }
  } else if (!operands_.empty()) {
    return name + " takes no operands, but got " + Quote(operands_[0]);
  }

  const bool wants_output = cmd == Command::kRaster || cmd == Command::kCommandFile;
  const bool wants_key = cmd == Command::kCommandFile || cmd == Command::kRegister;
  if (wants_output && o_.output.empty()) return name + " needs -o FILE";
  if (!wants_output && !o_.output.empty()) return name + " takes no -o";
  if (wants_key && !o_.key) return name + " needs -k KEY";
  if (!wants_key && o_.key) return name + " takes no -k";
  if (o_.yes && cmd != Command::kDelete) return "--yes applies to delete only";
  if (o_.conversion.any() && !TakesSource(cmd))
    return "conversion options apply only to commands that take a SOURCE";
  const ConversionChoices& c = o_.conversion;
  if (c.manual_levels && c.grade.value_or(0) != 0)
    return "--attach manual needs the coarse grade: manual levels apply to it only";
  if (c.manual_levels && c.mono) {
    for (char level : *c.manual_levels)
      if (level == '2') return "with --mono, each --attach level is 1 (the ink) or w (white)";
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

}  // namespace inkmark::cli
