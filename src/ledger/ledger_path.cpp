// Where the ledger lies by default, who records, and how times are written.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "ledger/ledger.h"

namespace inkmark {

std::filesystem::path DefaultLedgerPath() {
  std::filesystem::path data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    data = std::filesystem::path(home) / ".local" / "share";
  } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
    data = std::filesystem::path(pw->pw_dir) / ".local" / "share";
  }
  return data / "inkmark" / "ledger.sqlite";
}

std::string LedgerUserName() {
  std::vector<char> buffer(4096);
  passwd pw{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_name && *found->pw_name)
    return found->pw_name;
  return std::to_string(::getuid());
}

std::string LedgerTimeText(std::int64_t time) {
  const std::time_t t = std::time_t(time);
  std::tm tm{};
  if (::gmtime_r(&t, &tm) == nullptr) return std::to_string(time);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return text;
}

std::optional<std::int64_t> ParseLedgerTime(const std::string& text) {
  std::string t = text;
  if (!t.empty() && (t.back() == 'Z' || t.back() == 'z')) t.pop_back();
  // The shapes accepted, digit by digit: 'd' a digit, anything else itself.
  static constexpr const char* kShapes[] = {"dddd-dd-dd", "dddd-dd-ddTdd:dd",
                                            "dddd-dd-ddTdd:dd:dd"};
  bool matched = false;
  for (const char* shape : kShapes) {
    const std::string s = shape;
    if (s.size() != t.size()) continue;
    matched = true;
    for (std::size_t i = 0; i < s.size() && matched; ++i) {
      const char c = i == 10 && (t[i] == ' ' || t[i] == 't') ? 'T' : t[i];
      matched = s[i] == 'd' ? (c >= '0' && c <= '9') : c == s[i];
    }
    if (matched) break;
  }
  if (!matched) return std::nullopt;
  auto number = [&](std::size_t at, std::size_t n) {
    return at + n <= t.size() ? std::stoi(t.substr(at, n)) : 0;
  };
  std::tm tm{};
  tm.tm_year = number(0, 4) - 1900;
  tm.tm_mon = number(5, 2) - 1;
  tm.tm_mday = number(8, 2);
  tm.tm_hour = number(11, 2);
  tm.tm_min = number(14, 2);
  tm.tm_sec = number(17, 2);
  if (tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_mday < 1 || tm.tm_mday > 31 || tm.tm_hour > 23 ||
      tm.tm_min > 59 || tm.tm_sec > 60)
    return std::nullopt;
  const std::tm asked = tm;
  const std::time_t time = ::timegm(&tm);
  // 31 February comes back as 3 March: refused.
  if (tm.tm_mday != asked.tm_mday || tm.tm_mon != asked.tm_mon) return std::nullopt;
  return std::int64_t(time);
}

}  // namespace inkmark
