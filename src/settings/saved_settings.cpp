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
// The addresses of the network printers used, one string, separated by blanks
// (an address holds none).
constexpr char kNetworkPorts[] = "NetworkPorts";

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
void SelectName(const SettingsStore& store, const char* name, ChoiceList<std::string>& list) {
  auto value = ReadText(store, name, kMaxProfileText);
  if (!value) return;
  list.SelectFirst([&](const std::string& choice) { return EqualsNoCase(choice, *value); });
}

void SelectNumber(const SettingsStore& store, const char* name, ChoiceList<std::int32_t>& list) {
  auto value = store.ReadDword(name);
  if (!value) return;
  list.SelectFirst([&](std::int32_t choice) { return std::uint32_t(choice) == *value; });
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
  SelectName(*store, kPaperWidth, p.paper_widths);
  SelectName(*store, kFirstColor, p.first_colors);
  SelectName(*store, kSecondColor, p.second_colors);
  SelectNumber(*store, kResolution, p.resolutions);
  SelectName(*store, kPort, p.ports);
  // A network printer's address is no choice of the printer file: it is added.
  if (auto port = ReadText(*store, kPort, kMaxProfileText);
      port && StartsWithNoCase(*port, kNetworkPortPrefix)) {
    AddPortChoice(p, *port);
  }
  SelectNumber(*store, kBaudRate, p.baud_rates);
  SelectNumber(*store, kBitLength, p.bit_lengths);
  SelectName(*store, kParity, p.parities);
  SelectName(*store, kFlow, p.flows);
  return std::int32_t(index);
}

std::int32_t SaveSettings(const PrinterProfile& p, std::string& source_path) {
  auto store = SettingsStore::OpenForWriting();
  if (!store) return 0;
  auto number = [](const ChoiceList<std::int32_t>& list) { return std::uint32_t(list.Selected()); };
  store->WriteString(kPrnName, p.model_name);
  store->WriteString(kPaperWidth, p.paper_widths.Selected());
  store->WriteString(kFirstColor, p.first_colors.Selected());
  store->WriteString(kSecondColor, p.second_colors.Selected());
  store->WriteDword(kResolution, number(p.resolutions));
  store->WriteString(kPort, p.ports.Selected());
  store->WriteDword(kBaudRate, number(p.baud_rates));
  store->WriteDword(kBitLength, number(p.bit_lengths));
  store->WriteString(kParity, p.parities.Selected());
  store->WriteString(kFlow, p.flows.Selected());

  // The folder is what seeds the next run's Open dialog; the separator stays.
  auto slash = source_path.rfind('/');
  if (slash != std::string::npos) source_path.resize(slash + 1);
  store->WriteString(kDirectory, source_path);
  return store->Commit() ? 1 : 0;
}

std::vector<std::string> LoadNetworkPorts() {
  std::vector<std::string> addresses;
  auto store = SettingsStore::OpenForReading();
  if (!store) return addresses;
  if (auto text = store->ReadString(kNetworkPorts)) {
    std::size_t at = 0;
    while (at < text->size()) {
      std::size_t end = std::min(text->find(' ', at), text->size());
      std::string address = text->substr(at, end - at);
      at = end + 1;
      if (address.empty() || address.size() > kMaxProfileText || !IsNetworkChoice(address))
        continue;
      if (std::none_of(addresses.begin(), addresses.end(),
                       [&](const std::string& a) { return EqualsNoCase(a, address); }))
        addresses.push_back(address);
      if (addresses.size() == kMaxNetworkPorts) break;
    }
  }
  // The port saved before the list was kept is the one used last.
  if (auto port = ReadText(*store, kPort, kMaxProfileText); port && IsNetworkChoice(*port)) {
    if (std::none_of(addresses.begin(), addresses.end(),
                     [&](const std::string& a) { return EqualsNoCase(a, *port); }))
      RememberNetworkPort(addresses, *port);
  }
  return addresses;
}

bool SaveNetworkPorts(const std::vector<std::string>& addresses) {
  auto store = SettingsStore::OpenForWriting();
  if (!store) return false;
  std::string text;
  for (const std::string& address : addresses) {
    if (!text.empty()) text += ' ';
    text += address;
  }
  store->WriteString(kNetworkPorts, text);
  return store->Commit();
}

}  // namespace inkmark
