#include "cli/cli_printer.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "cli/cli_json.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "platform/string_table.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "ports/network_address.h"
#include "settings/printer_files.h"
#include "settings/saved_settings.h"

namespace inkmark::cli {
namespace {

std::string Join(std::span<const std::string> names, int sel) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!out.empty()) out += ", ";
    out += TerminalText(names[i]);
    if (std::int64_t(i) == sel) out += '*';
  }
  return out;
}

std::string Join(std::span<const std::int32_t> values, int sel) {
  std::vector<std::string> names;
  for (std::int32_t value : values) names.push_back(std::to_string(value));
  return Join(names, sel);
}

template <class T, bool kExtra>
std::string Join(const ChoiceList<T, kExtra>& list) {
  return Join(list.choices(), list.sel);
}

// {"choices":[...],"selected":...} of one list; "selected" is null for none.
template <bool kExtra>
std::string JsonList(const ChoiceList<std::string, kExtra>& list) {
  const auto choices = list.choices();
  return "{\"choices\":" + JsonStrings(std::vector<std::string>(choices.begin(), choices.end())) +
         ",\"selected\":" + (list.HasSelection() ? JsonString(list.Selected()) : "null") + "}";
}

std::string JsonList(const ChoiceList<std::int32_t>& list) {
  std::string choices;
  for (std::int32_t value : list.choices())
    choices += (choices.empty() ? "" : ",") + std::to_string(value);
  return "{\"choices\":[" + choices +
         "],\"selected\":" + (list.HasSelection() ? std::to_string(list.Selected()) : "null") + "}";
}

std::string NotOffered(std::string_view option, std::string_view value, std::string_view model,
                       const std::string& choices) {
  return Fill(Translate("inkmark", "%1 offers no %2 '%3'; the choices are: %4"),
              {std::string(model), Translate("inkmark", std::string(option)), std::string(value),
               choices.empty() ? Translate("inkmark", "none") : choices});
}

// Selects `value` in a list of names, letter case aside.
template <bool kExtra>
std::string Pick(const std::optional<std::string>& value, ChoiceList<std::string, kExtra>& names,
                 std::string_view option, std::string_view model) {
  if (!value) return "";
  if (names.SelectFirst([&](const std::string& name) { return EqualsNoCase(name, *value); }))
    return "";
  return NotOffered(option, *value, model, Join(names.choices(), -1));
}

std::string Pick(const std::optional<int>& value, ChoiceList<std::int32_t>& numbers,
                 std::string_view option, std::string_view model) {
  if (!value) return "";
  if (numbers.SelectFirst([&](std::int32_t number) { return number == *value; })) return "";
  return NotOffered(option, std::to_string(*value), model, Join(numbers.choices(), -1));
}

// How many terminal columns `text` (UTF-8) takes: East Asian wide
// characters two, others one.
std::size_t TerminalWidth(std::string_view text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
    width += wide ? 2 : 1;
    i += length;
  }
  return width;
}

}  // namespace

bool LoadPrinters(LogoSession& session, const std::filesystem::path& folder) {
  const int count = CountPrinterFiles(folder);
  std::vector<RefusedPrinterFile> refused;
  if (count > 0) LoadPrinterProfiles(count, session.profiles, folder, &refused);
  // A model whose file cannot work is not offered; the user learns why.
  for (const RefusedPrinterFile& r : refused)
    CurrentMessageBoxes().Show(kAppInstance, LoadString(kStrAppCaption, 31),
                               Fill(Translate("inkmark", "the printer file '%1' is refused: %2"),
                                    {r.path.string(), r.failure.Describe()}),
                               kMbOk);
  if (count <= 0 || session.profiles.empty()) {
    ShowMessage(kAppInstance, kStrNoPrinterFile);
    return false;
  }
  // Saved settings that cannot be read without waiting (a FIFO under their
  // name) are passed over: the printer file's defaults hold, and the user learns why.
  if (Status files = SettingsStore::CheckFiles(); !files)
    CurrentMessageBoxes().Show(kAppInstance, LoadString(kStrAppCaption, 31),
                               Fill(Translate("inkmark", "the saved settings are not read: %1"),
                                    {files.failure().Describe()}),
                               kMbOk);
  std::string saved_folder;
  session.profile_index = LoadSettings(session.profile_count(), session.profiles, saved_folder);
  return true;
}

std::string ApplyPrinterChoices(LogoSession& session, const PrinterChoices& c) {
  if (c.printer) {
    ChoiceList<std::string, false> models{{}, session.profile_index};
    for (const PrinterProfile& p : session.profiles) models.values.push_back(p.model_name);
    if (!models.SelectFirst(
            [&](const std::string& name) { return EqualsNoCase(name, *c.printer); }))
      return Fill(
          Translate("inkmark", "The printer folder offers no printer '%1'; the choices are: %2"),
          {*c.printer, Join(models.choices(), -1)});
    session.profile_index = models.sel;
  }
  PrinterProfile* p = session.CurrentProfile();
  if (p == nullptr) return Translate("inkmark", "no printer model is chosen");
  const std::string_view m = p->model_name;
  std::optional<std::string> port = c.port;
  if (port && IsNetworkPortName(*port)) {
    // A network printer is reached whatever ports the printer file lists.
    auto address = ParseNetworkAddress(*port);
    if (!address)
      return Fill(
          Translate("inkmark",
                    "invalid network port '%1': expected tcp://HOST[:PORT], an IPv6 HOST in "
                    "brackets, PORT 1 to 65535"),
          {*port});
    AddPortChoice(*p, NetworkAddressText(*address));
    port.reset();
  }
  for (std::string error : {
           Pick(c.paper, p->paper_widths, "paper", m),
           Pick(c.first, p->first_colors, "1st colour", m),
           Pick(c.second, p->second_colors, "2nd colour", m),
           Pick(c.resolution, p->resolutions, "resolution", m),
           Pick(port, p->ports, "port", m),
           Pick(c.baud, p->baud_rates, "baud rate", m),
           Pick(c.data_bits, p->bit_lengths, "data bits", m),
           Pick(c.parity, p->parities, "parity", m),
           Pick(c.flow, p->flows, "flow control", m),
           Pick(c.driver, p->driver_names, "printer driver", m),
       }) {
    if (!error.empty()) return error;
  }
  return "";
}

void ListPrinters(const LogoSession& session, std::ostream& out) {
  // The labels in the user's language, their values as the options take them.
  const char* const kLabels[] = {"paper", "1st colour", "2nd colour", "resolution", "port",
                                 "baud",  "data bits",  "parity",     "flow",       "driver"};
  std::vector<std::string> labels;
  std::size_t width = 0;
  for (const char* label : kLabels) {
    labels.push_back(Translate("inkmark", label) + ":");
    width = std::max(width, TerminalWidth(labels.back()));
  }
  // One column for the values, two blanks right of the widest label.
  for (std::string& label : labels)
    label = "  " + label + std::string(width + 2 - TerminalWidth(label), ' ');
  for (std::size_t i = 0; i < session.profiles.size(); ++i) {
    const PrinterProfile& p = session.profiles[i];
    out << TerminalText(p.model_name) << (std::int32_t(i) == session.profile_index ? "*" : "")
        << '\n'
        << labels[0] << Join(p.paper_widths) << '\n'
        << labels[1] << Join(p.first_colors) << '\n'
        << labels[2] << Join(p.second_colors) << '\n'
        << labels[3] << Join(p.resolutions) << '\n'
        << labels[4] << Join(p.ports) << '\n'
        << labels[5] << Join(p.baud_rates) << '\n'
        << labels[6] << Join(p.bit_lengths) << '\n'
        << labels[7] << Join(p.parities) << '\n'
        << labels[8] << Join(p.flows) << '\n'
        << labels[9] << Join(p.driver_names) << '\n';
  }
}

void ListPrintersJson(const LogoSession& session, std::ostream& out) {
  out << "{\"printers\":[";
  for (std::size_t i = 0; i < session.profiles.size(); ++i) {
    const PrinterProfile& p = session.profiles[i];
    out << (i ? "," : "") << "{\"model\":" << JsonString(p.model_name)
        << ",\"current\":" << (std::int32_t(i) == session.profile_index ? "true" : "false")
        << ",\"paper\":" << JsonList(p.paper_widths)
        << ",\"first_colour\":" << JsonList(p.first_colors)
        << ",\"second_colour\":" << JsonList(p.second_colors)
        << ",\"resolution\":" << JsonList(p.resolutions) << ",\"port\":" << JsonList(p.ports)
        << ",\"baud\":" << JsonList(p.baud_rates) << ",\"data_bits\":" << JsonList(p.bit_lengths)
        << ",\"parity\":" << JsonList(p.parities) << ",\"flow\":" << JsonList(p.flows)
        << ",\"driver\":" << JsonList(p.driver_names) << "}";
  }
  out << "]}\n";
}

}  // namespace inkmark::cli
