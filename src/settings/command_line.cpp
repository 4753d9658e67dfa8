#include "settings/command_line.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/text.h"
#include "settings/printer_files.h"

namespace inkmark {
namespace {

// A value has the room of a 256-byte buffer.
constexpr std::size_t kMaxValueChars = 255;

// The run of characters right after the first occurrence of `option`, up to a
// blank, a tab or the end; nullopt when the option is absent.
std::optional<std::string_view> OptionValue(std::string_view line, std::string_view option) {
  auto at = line.find(option);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = line.substr(at + option.size());
  std::string_view value = rest.substr(0, rest.find_first_of(" \t"));
  return value.substr(0, kMaxValueChars);
}

// The text after `option` without any cut, for the port prefix match.
std::optional<std::string_view> OptionRest(std::string_view line, std::string_view option) {
  auto at = line.find(option);
  if (at == std::string_view::npos) return std::nullopt;
  return line.substr(at + option.size());
}

bool PickName(ChoiceList<std::string>& list, std::string_view value) {
  return list.SelectFirst([&](const std::string& name) { return EqualsNoCase(name, value); });
}

bool PickNumber(ChoiceList<std::int32_t>& list, std::string_view value) {
  const std::int32_t number = ParseInt(value);
  return list.SelectFirst([&](std::int32_t choice) { return choice == number; });
}

// Model names are matched from their fourth character and the value from its
// third, so "DT300/310" names "DT-300/310": the maker's prefix is written
// with or without its hyphen. A value shorter than two characters names nothing.
bool PickModel(const LogoSession& session, std::string_view value, std::int32_t& index) {
  if (value.size() < 2) return false;
  std::string_view wanted = value.substr(2);
  for (std::size_t i = 0; i < session.profiles.size(); ++i) {
    std::string_view name = session.profiles[i].model_name;
    std::string_view tail = name.size() < 3 ? std::string_view{} : name.substr(3);
    if (EqualsNoCase(tail, wanted)) {
      index = std::int32_t(i);
      return true;
    }
  }
  return false;
}

// The paper width is given without its unit: 80 means "80mm" and 58JP "58mmJP".
std::string PaperWidthName(std::string_view value) {
  if (!value.empty() && value.back() == 'P') {
    // Only "P" alone has fewer than two characters to replace; it becomes "mmJP".
    value.remove_suffix(std::min<std::size_t>(2, value.size()));
    return std::string(value) + "mmJP";
  }
  return std::string(value) + "mm";
}

bool PickPortByPrefix(ChoiceList<std::string>& ports, std::string_view rest) {
  return ports.SelectFirst([&](const std::string& port) {
    return port.size() <= rest.size() && EqualsNoCase(port, rest.substr(0, port.size()));
  });
}

}  // namespace

std::int32_t ApplyCommandLine(LogoSession& session, std::string_view command_line) {
  // The command line is a C text: nothing after a NUL belongs to it.
  command_line = command_line.substr(0, command_line.find('\0'));
  bool picked = false;

  if (auto value = OptionValue(command_line, "-pn")) {
    picked |= PickModel(session, *value, session.profile_index);
  }
  PrinterProfile* p = session.CurrentProfile();
  if (p == nullptr) return picked ? 1 : 0;

  if (auto value = OptionValue(command_line, "-pw"); value && !value->empty()) {
    picked |= PickName(p->paper_widths, PaperWidthName(*value));
  }
  if (auto value = OptionValue(command_line, "-pf")) {
    picked |= PickName(p->first_colors, *value);
  }
  if (auto value = OptionValue(command_line, "-ps")) {
    // A second colour equal to the first would print both inks alike.
    std::string_view first = p->first_colors.Selected();
    if (!EqualsNoCase(*value, first)) {
      picked |= PickName(p->second_colors, *value);
    }
  }
  if (auto value = OptionValue(command_line, "-pr")) {
    picked |= PickNumber(p->resolutions, *value);
  }
  if (auto rest = OptionRest(command_line, "-cp")) {
    picked |= PickPortByPrefix(p->ports, *rest);
  }
  if (auto value = OptionValue(command_line, "-cb")) {
    picked |= PickNumber(p->baud_rates, *value);
  }
  if (auto value = OptionValue(command_line, "-cc")) {
    picked |= PickName(p->parities, *value);
  }
  if (auto value = OptionValue(command_line, "-cf")) {
    picked |= PickName(p->flows, *value);
  }
  return picked ? 1 : 0;
}

}  // namespace inkmark
