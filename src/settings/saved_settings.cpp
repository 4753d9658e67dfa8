#include "settings/saved_settings.h"

#include <algorithm>
#include <optional>

#include "platform/paths.h"
#include "platform/profile_reader.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "settings/profile_keys.h"

namespace inkmark {
namespace {

using namespace profile_keys;

constexpr char kDirectory[] = "Directory";

// A stored text as a fixed buffer of `max_chars` + 1 bytes receives it: cut at
// an embedded NUL and at the buffer's room.
std::optional<std::string> ReadText(const SettingsStore& store, const char* name,
                                    std::size_t max_chars) {
  auto text = store.ReadString(name);
  if (!text) return std::nullopt;
  text->resize(std::min({text->find('\0'), text->size(), max_chars}));
  return text;
}

// Only the choices take part: the list's trailing default element never matches.
void SelectName(const SettingsStore& store, const char* name, const std::vector<std::string>& list,
                std::int32_t count, std::int32_t& sel) {
  auto value = ReadText(store, name, kMaxProfileText);
  if (!value) return;
  std::size_t choices = std::min(list.size(), std::size_t(std::max(count, 0)));
  for (std::size_t i = 0; i < choices; ++i) {
    if (EqualsNoCase(list[i], *value)) {
      sel = std::int32_t(i);
      return;
    }
  }
}

void SelectNumber(const SettingsStore& store, const char* name,
                  const std::vector<std::int32_t>& list, std::int32_t count, std::int32_t& sel) {
  auto value = store.ReadDword(name);
  if (!value) return;
  std::size_t choices = std::min(list.size(), std::size_t(std::max(count, 0)));
  for (std::size_t i = 0; i < choices; ++i) {
    if (std::uint32_t(list[i]) == *value) {
      sel = std::int32_t(i);
      return;
    }
  }
}

}  // namespace

std::int32_t LoadSettings(int count, std::vector<PrinterProfile>& profiles,
                          std::string& source_path) {
  auto store = SettingsStore::OpenForReading();
  if (!store) return 0;
  if (auto directory = ReadText(*store, kDirectory, kMaxPath)) source_path = *directory;

  auto saved_name = ReadText(*store, kPrnName, kMaxProfileText);
  if (!saved_name) return 0;
  std::size_t candidates = std::min(profiles.size(), std::size_t(std::max(count, 0)));
  std::size_t index = 0;
  while (index < candidates && !EqualsNoCase(profiles[index].model_name, *saved_name)) ++index;
  if (index == candidates) return 0;

  PrinterProfile& p = profiles[index];
  SelectName(*store, kPaperWidth, p.paper_widths, p.paper_width_count, p.paper_width_sel);
  SelectName(*store, kFirstColor, p.first_colors, p.first_color_count, p.first_color_sel);
  SelectName(*store, kSecondColor, p.second_colors, p.second_color_count, p.second_color_sel);
  SelectNumber(*store, kResolution, p.resolutions, p.resolution_count, p.resolution_sel);
  SelectName(*store, kPort, p.ports, p.port_count, p.port_sel);
  // A network printer's address is no choice of the printer file: it is added.
  if (auto port = ReadText(*store, kPort, kMaxProfileText);
      port && StartsWithNoCase(*port, kNetworkPortPrefix)) {
    AddPortChoice(p, *port);
  }
  SelectNumber(*store, kBaudRate, p.baud_rates, p.baud_count, p.baud_sel);
  SelectNumber(*store, kBitLength, p.bit_lengths, p.bit_length_count, p.bit_length_sel);
  SelectName(*store, kParity, p.parities, p.parity_count, p.parity_sel);
  SelectName(*store, kFlow, p.flows, p.flow_count, p.flow_sel);
  return std::int32_t(index);
}

std::int32_t SaveSettings(const PrinterProfile& p, std::string& source_path) {
  auto store = SettingsStore::OpenForWriting();
  if (!store) return 0;
  auto name = [](const std::vector<std::string>& list, std::int32_t count, std::int32_t sel) {
    return std::string(SelectedName(list, count, sel));
  };
  auto number = [](const std::vector<std::int32_t>& list, std::int32_t count, std::int32_t sel) {
    return std::uint32_t(SelectedNumber(list, count, sel));
  };
  store->WriteString(kPrnName, p.model_name);
  store->WriteString(kPaperWidth, name(p.paper_widths, p.paper_width_count, p.paper_width_sel));
  store->WriteString(kFirstColor, name(p.first_colors, p.first_color_count, p.first_color_sel));
  store->WriteString(kSecondColor, name(p.second_colors, p.second_color_count, p.second_color_sel));
  store->WriteDword(kResolution, number(p.resolutions, p.resolution_count, p.resolution_sel));
  store->WriteString(kPort, name(p.ports, p.port_count, p.port_sel));
  store->WriteDword(kBaudRate, number(p.baud_rates, p.baud_count, p.baud_sel));
  store->WriteDword(kBitLength, number(p.bit_lengths, p.bit_length_count, p.bit_length_sel));
  store->WriteString(kParity, name(p.parities, p.parity_count, p.parity_sel));
  store->WriteString(kFlow, name(p.flows, p.flow_count, p.flow_sel));

  // The folder is what seeds the next run's Open dialog; the separator stays.
  auto slash = source_path.rfind('/');
  if (slash != std::string::npos) source_path.resize(slash + 1);
  store->WriteString(kDirectory, source_path);
  return store->Commit() ? 1 : 0;
}

}  // namespace inkmark
