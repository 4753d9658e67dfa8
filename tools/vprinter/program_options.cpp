#include "program_options.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

namespace inkmark::vprinter {

const char kUsageText[] =
    "usage: inkmark-vprinter [options]\n"
    "A virtual two-colour receipt printer: it answers the host's requests, keeps\n"
    "NV graphics and writes everything it prints as PNG images.\n"
    "\n"
    "Where the host reaches it (one or both):\n"
    "  --pty LINK            a pseudo-terminal, with LINK a symbolic link to it\n"
    "                        (for example ~/.config/Quorvel/devices/com1)\n"
    "  --tcp HOST:PORT       listen on a TCP port (PORT 0 picks a free one)\n"
    "Or, instead of serving:\n"
    "  --render FILE         write each graphics that a command file defines as a\n"
    "                        PNG into the --out folder (default: here), and end\n"
    "\n"
    "The printer:\n"
    "  --nv FILE             keep the NV memory in FILE across runs\n"
    "  --capacity BYTES      NV graphics capacity (default 393216)\n"
    "  --out DIR             write printed pages there as PNG images\n"
    "  --keys-per-block N    keys in each block of the key code list (default 20)\n"
    "  --rate BYTES_PER_S    read no faster than a real line (960 for 9600 baud)\n"
    "  --first-ink COLOUR    Black, Red, Green, Blue or #RRGGBB (default Black)\n"
    "  --second-ink COLOUR   as above (default Red)\n"
    "  --quiet               do not log each command on standard error\n"
    "\n"
    "Faults, for tests:\n"
    "  --reply-delay MS      wait before every reply\n"
    "  --no-reply            never answer a request\n"
    "  --garbage N           send N stray bytes before every reply\n"
    "  --busy MS             stop reading for MS after the first bytes of a\n"
    "                        connection and of each job\n"
    "  --bad-blocks          send the last key-list block with a wrong identifier\n"
    "  --stall-after BYTES:MS  stop reading for MS once BYTES bytes of a job (counted\n"
    "                        from its initialise command) have come\n"
    "  --drop-after BYTES    drop the line once BYTES bytes of a job have come: close\n"
    "                        the pseudo-terminal or the connection, NV memory as it\n"
    "                        was before the job\n"
    "  --lose-byte N         every reply loses its byte N (counted from 0)\n"
    "  --break-reply N       every reply breaks off after N bytes\n"
    "  --drip MS             send reply bytes one at a time, MS apart\n"
    "  --late-block MS       send the last block of the first key list MS late\n"
    "  --help                show this text\n"
    "  --version             show the version\n";

namespace {

constexpr std::uint64_t kMaxCapacity = std::uint64_t(1) << 30;
constexpr int kMaxKeysPerBlock = 1000;
constexpr std::uint64_t kMaxRate = 100000000;
constexpr int kMaxDelayMs = 600000;
constexpr int kMaxGarbage = 65536;
constexpr std::uint64_t kMaxJobBytes = std::uint64_t(1) << 40;

// Plain decimal digits only: no sign, no blanks, no overflow.
std::optional<std::uint64_t> ParseNumber(const std::string& text, std::uint64_t max) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::uint64_t value = 0;
  for (char ch : text) {
    if (!std::isdigit(static_cast<unsigned char>(ch))) return std::nullopt;
    value = value * 10 + std::uint64_t(ch - '0');
  }
  if (value > max) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> ParseInk(const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (lower == "black") return 0x000000;
  if (lower == "red") return 0xFF0000;
  if (lower == "green") return 0x00FF00;
  if (lower == "blue") return 0x0000FF;
  if (lower.size() == 7 && lower[0] == '#' &&
      std::all_of(lower.begin() + 1, lower.end(),
                  [](unsigned char c) { return std::isxdigit(c) != 0; })) {
    return std::uint32_t(std::stoul(lower.substr(1), nullptr, 16));
  }
  return std::nullopt;
}

// HOST:PORT, with an IPv6 host in brackets ("[::1]:9100").
bool ParseHostPort(const std::string& text, std::string& host, std::uint16_t& port) {
  auto colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  host = text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  if (host.empty()) return false;
  auto number = ParseNumber(text.substr(colon + 1), 65535);
  if (!number) return false;
  port = std::uint16_t(*number);
  return true;
}

ParsedCommandLine Fail(std::string why) { return {std::nullopt, std::move(why)}; }

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ProgramOptions o;
  auto& p = o.printer;
  using Setter = std::function<bool(const std::string&)>;
  auto number_into = [](int& field, int max) -> Setter {
    return [&field, max](const std::string& v) {
      auto n = ParseNumber(v, std::uint64_t(max));
      if (n) field = int(*n);
      return n.has_value();
    };
  };
  const std::map<std::string, Setter> with_value = {
      {"--pty",
       [&](const std::string& v) {
         o.pty_link = v;
         return !v.empty();
       }},
      {"--tcp",
       [&](const std::string& v) {
         std::string host;
         if (!ParseHostPort(v, host, o.tcp_port)) return false;
         o.tcp_host = host;
         return true;
       }},
      {"--nv",
       [&](const std::string& v) {
         p.nv_file = v;
         return !v.empty();
       }},
      {"--out",
       [&](const std::string& v) {
         p.out_dir = v;
         return !v.empty();
       }},
      {"--render",
       [&](const std::string& v) {
         o.render_file = v;
         return !v.empty();
       }},
      {"--capacity",
       [&](const std::string& v) {
         auto n = ParseNumber(v, kMaxCapacity);
         if (n) p.capacity = *n;
         return n.has_value();
       }},
      {"--keys-per-block",
       [&](const std::string& v) {
         return number_into(p.keys_per_block, kMaxKeysPerBlock)(v) && p.keys_per_block > 0;
       }},
      {"--rate",
       [&](const std::string& v) {
         auto n = ParseNumber(v, kMaxRate);
         if (n) p.bytes_per_second = std::uint32_t(*n);
         return n.has_value() && *n > 0;
       }},
      {"--reply-delay", number_into(p.faults.reply_delay_ms, kMaxDelayMs)},
      {"--busy", number_into(p.faults.busy_ms, kMaxDelayMs)},
      {"--garbage", number_into(p.faults.garbage, kMaxGarbage)},
      {"--stall-after",
       [&](const std::string& v) {
         auto colon = v.find(':');
         if (colon == std::string::npos) return false;
         auto bytes = ParseNumber(v.substr(0, colon), kMaxJobBytes);
         auto ms = ParseNumber(v.substr(colon + 1), kMaxDelayMs);
         if (!bytes || !ms || *ms == 0) return false;
         p.faults.stall_after = *bytes;
         p.faults.stall_ms = int(*ms);
         return true;
       }},
      {"--drop-after",
       [&](const std::string& v) {
         auto bytes = ParseNumber(v, kMaxJobBytes);
         if (bytes) p.faults.drop_after = *bytes;
         return bytes.has_value();
       }},
      {"--lose-byte",
       [&](const std::string& v) {
         auto n = ParseNumber(v, kMaxGarbage);
         if (n) p.faults.lose_byte = std::size_t(*n);
         return n.has_value();
       }},
      {"--break-reply",
       [&](const std::string& v) {
         auto n = ParseNumber(v, kMaxGarbage);
         if (n) p.faults.break_after = std::size_t(*n);
         return n.has_value();
       }},
      {"--drip", number_into(p.faults.drip_ms, kMaxDelayMs)},
      {"--late-block", number_into(p.faults.late_block_ms, kMaxDelayMs)},
      {"--first-ink",
       [&](const std::string& v) {
         auto ink = ParseInk(v);
         if (ink) p.first_ink_rgb = *ink;
         return ink.has_value();
       }},
      {"--second-ink",
       [&](const std::string& v) {
         auto ink = ParseInk(v);
         if (ink) p.second_ink_rgb = *ink;
         return ink.has_value();
       }},
  };
  const std::map<std::string, bool*> flags = {{"--no-reply", &p.faults.no_reply},
                                              {"--bad-blocks", &p.faults.bad_blocks},
                                              {"--quiet", &o.quiet},
                                              {"--help", &o.help},
                                              {"--version", &o.version}};

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    if (auto flag = flags.find(name); flag != flags.end()) {
      if (value) return Fail(name + " takes no value");
      *flag->second = true;
      continue;
    }
    auto option = with_value.find(name);
    if (option == with_value.end()) return Fail("unknown option " + args[i]);
    if (!value) {
      if (i + 1 >= args.size()) return Fail(name + " needs a value");
      value = args[++i];
    }
    if (!option->second(*value)) return Fail("bad value for " + name + ": \"" + *value + "\"");
  }
  if (o.help || o.version) return {o, {}};
  if (o.render_file && (o.pty_link || o.tcp_host)) {
    return Fail("--render cannot be combined with --pty or --tcp");
  }
  if (!o.render_file && !o.pty_link && !o.tcp_host) {
    return Fail("give --pty, --tcp or --render");
  }
  return {o, {}};
}

}  // namespace inkmark::vprinter
