#include "cli/cli_printer.h"

#include <string_view>
#include <vector>

#include "cli/cli_json.h"
#include "platform/message_box.h"
#include "platform/string_table.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "ports/network_address.h"
#include "settings/printer_files.h"
#include "settings/saved_settings.h"

namespace inkmark::cli {
namespace {

std::string Join(const std::vector<std::string>& names, int count, int sel) {
  std::string out;
  for (int i = 0; i < count && std::size_t(i) < names.size(); ++i) {
    if (!out.empty()) out += ", ";
    out += names[std::size_t(i)];
    if (i == sel) out += '*';
  }
  return out;
}

std::string Join(const std::vector<std::int32_t>& values, int count, int sel) {
  std::vector<std::string> names;
  for (int i = 0; i < count && std::size_t(i) < values.size(); ++i)
    names.push_back(std::to_string(values[std::size_t(i)]));
  return Join(names, count, sel);
}

// {"choices":[...],"selected":...} of one list; "selected" is null for none.
std::string JsonList(const std::vector<std::string>& names, int count, int sel) {
  std::vector<std::string> choices;
  for (int i = 0; i < count && std::size_t(i) < names.size(); ++i)
    choices.push_back(names[std::size_t(i)]);
  const bool selected = sel >= 0 && std::size_t(sel) < choices.size();
  return "{\"choices\":" + JsonStrings(choices) +
         ",\"selected\":" + (selected ? JsonString(choices[std::size_t(sel)]) : "null") + "}";
}

std::string JsonList(const std::vector<std::int32_t>& values, int count, int sel) {
  std::string choices;
  for (int i = 0; i < count && std::size_t(i) < values.size(); ++i)
    choices += (i ? "," : "") + std::to_string(values[std::size_t(i)]);
  const bool selected = sel >= 0 && sel < count && std::size_t(sel) < values.size();
  return "{\"choices\":[" + choices +
         "],\"selected\":" + (selected ? std::to_string(values[std::size_t(sel)]) : "null") + "}";
}

std::string NotOffered(std::string_view option, std::string_view value, std::string_view model,
                       const std::string& choices) {
  return Fill(Translate("inkmark", "%1 offers no %2 '%3'; the choices are: %4"),
              {std::string(model), Translate("inkmark", std::string(option)), std::string(value),
               choices.empty() ? Translate("inkmark", "none") : choices});
}

// Selects `value` in a list of names, letter case aside.
std::string Pick(const std::optional<std::string>& value, const std::vector<std::string>& names,
                 int count, std::int32_t& sel, std::string_view option, std::string_view model) {
  if (!value) return "";
  for (int i = 0; i < count && std::size_t(i) < names.size(); ++i) {
    if (EqualsNoCase(names[std::size_t(i)], *value)) {
      sel = i;
      return "";
    }
  }
  return NotOffered(option, *value, model, Join(names, count, -1));
}

std::string Pick(const std::optional<int>& value, const std::vector<std::int32_t>& numbers,
                 int count, std::int32_t& sel, std::string_view option, std::string_view model) {
  if (!value) return "";
  for (int i = 0; i < count && std::size_t(i) < numbers.size(); ++i) {
    if (numbers[std::size_t(i)] == *value) {
      sel = i;
      return "";
    }
  }
  return NotOffered(option, std::to_string(*value), model, Join(numbers, count, -1));
}

}  // namespace

bool LoadPrinters(LogoSession& session, const std::filesystem::path& folder) {
  const int count = CountPrinterFiles(folder);
  if (count > 0) session.profile_count = LoadPrinterProfiles(count, session.profiles, folder);
  if (count <= 0 || session.profile_count <= 0) {
    ShowMessage(kAppInstance, kStrNoPrinterFile);
    return false;
  }
  std::string saved_folder;
  session.profile_index = LoadSettings(session.profile_count, session.profiles, saved_folder);
  return true;
}

std::string ApplyPrinterChoices(LogoSession& session, const PrinterChoices& c) {
  if (c.printer) {
    std::vector<std::string> models;
    for (const PrinterProfile& p : session.profiles) models.push_back(p.model_name);
    std::int32_t index = session.profile_index;
    std::string error = Pick(c.printer, models, int(models.size()), index, "printer",
                             Translate("inkmark", "The printer folder"));
    if (!error.empty()) return error;
    session.profile_index = index;
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
           Pick(c.paper, p->paper_widths, p->paper_width_count, p->paper_width_sel, "paper", m),
           Pick(c.first, p->first_colors, p->first_color_count, p->first_color_sel, "1st colour",
                m),
           Pick(c.second, p->second_colors, p->second_color_count, p->second_color_sel,
                "2nd colour", m),
           Pick(c.resolution, p->resolutions, p->resolution_count, p->resolution_sel, "resolution",
                m),
           Pick(port, p->ports, p->port_count, p->port_sel, "port", m),
           Pick(c.baud, p->baud_rates, p->baud_count, p->baud_sel, "baud rate", m),
           Pick(c.data_bits, p->bit_lengths, p->bit_length_count, p->bit_length_sel, "data bits",
                m),
           Pick(c.parity, p->parities, p->parity_count, p->parity_sel, "parity", m),
           Pick(c.flow, p->flows, p->flow_count, p->flow_sel, "flow control", m),
           Pick(c.driver, p->driver_names, p->driver_count, p->driver_sel, "printer driver", m),
       }) {
    if (!error.empty()) return error;
  }
  return "";
}

void ListPrinters(const LogoSession& session, std::ostream& out) {
  for (std::size_t i = 0; i < session.profiles.size(); ++i) {
    const PrinterProfile& p = session.profiles[i];
    out << p.model_name << (std::int32_t(i) == session.profile_index ? "*" : "") << '\n'
        << "  paper:       " << Join(p.paper_widths, p.paper_width_count, p.paper_width_sel) << '\n'
        << "  1st colour:  " << Join(p.first_colors, p.first_color_count, p.first_color_sel) << '\n'
        << "  2nd colour:  " << Join(p.second_colors, p.second_color_count, p.second_color_sel)
        << '\n'
        << "  resolution:  " << Join(p.resolutions, p.resolution_count, p.resolution_sel) << '\n'
        << "  port:        " << Join(p.ports, p.port_count, p.port_sel) << '\n'
        << "  baud:        " << Join(p.baud_rates, p.baud_count, p.baud_sel) << '\n'
        << "  data bits:   " << Join(p.bit_lengths, p.bit_length_count, p.bit_length_sel) << '\n'
        << "  parity:      " << Join(p.parities, p.parity_count, p.parity_sel) << '\n'
        << "  flow:        " << Join(p.flows, p.flow_count, p.flow_sel) << '\n'
        << "  driver:      " << Join(p.driver_names, p.driver_count, p.driver_sel) << '\n';
  }
}

void ListPrintersJson(const LogoSession& session, std::ostream& out) {
  out << "{\"printers\":[";
  for (std::size_t i = 0; i < session.profiles.size(); ++i) {
    const PrinterProfile& p = session.profiles[i];
    out << (i ? "," : "") << "{\"model\":" << JsonString(p.model_name)
        << ",\"current\":" << (std::int32_t(i) == session.profile_index ? "true" : "false")
        << ",\"paper\":" << JsonList(p.paper_widths, p.paper_width_count, p.paper_width_sel)
        << ",\"first_colour\":" << JsonList(p.first_colors, p.first_color_count, p.first_color_sel)
        << ",\"second_colour\":"
        << JsonList(p.second_colors, p.second_color_count, p.second_color_sel)
        << ",\"resolution\":" << JsonList(p.resolutions, p.resolution_count, p.resolution_sel)
        << ",\"port\":" << JsonList(p.ports, p.port_count, p.port_sel)
        << ",\"baud\":" << JsonList(p.baud_rates, p.baud_count, p.baud_sel)
        << ",\"data_bits\":" << JsonList(p.bit_lengths, p.bit_length_count, p.bit_length_sel)
        << ",\"parity\":" << JsonList(p.parities, p.parity_count, p.parity_sel)
        << ",\"flow\":" << JsonList(p.flows, p.flow_count, p.flow_sel)
        << ",\"driver\":" << JsonList(p.driver_names, p.driver_count, p.driver_sel) << "}";
  }
  out << "]}\n";
}

}  // namespace inkmark::cli
