// PrinterProfile: one printer model as its printer file describes it, with the
// user's current selection in each of its lists.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace inkmark {

// Room of the record: a value of at most 255 characters splits into at most 20
// elements; at most 20 driver names of at most 49 characters.
inline constexpr std::size_t kMaxProfileText = 255;
inline constexpr int kMaxListElements = 20;
inline constexpr int kMaxDriverNames = 20;
inline constexpr std::size_t kMaxDriverNameChars = 49;

// One list of choices and the user's selection in it. A list read from a
// printer file holds its choices followed by one extra element (the default
// index as the file gave it, or for resolutions one more number), which is
// kept but never offered: count() counts the choices only. A list built
// without that element (the driver names) says so with kTrailingExtra false.
template <class T, bool kTrailingExtra = true>
struct ChoiceList {
  std::vector<T> values;
  std::int32_t sel = 0;

  std::int32_t count() const {
    if constexpr (kTrailingExtra) return values.empty() ? 0 : std::int32_t(values.size()) - 1;
    return std::int32_t(values.size());
  }
  std::span<const T> choices() const { return {values.data(), std::size_t(count())}; }
  bool HasSelection() const { return sel >= 0 && sel < count(); }

  // The choice at `index`; "" or 0 when `index` is outside the choices.
  const T& At(std::int32_t index) const {
    static const T kNone{};
    return index >= 0 && index < count() ? values[std::size_t(index)] : kNone;
  }
  const T& Selected() const { return At(sel); }

  // Selects the first choice that `match` accepts; false, selection kept, when none does.
  template <class Match>
  bool SelectFirst(Match match) {
    for (std::int32_t i = 0; i < count(); ++i) {
      if (match(values[std::size_t(i)])) {
        sel = i;
        return true;
      }
    }
    return false;
  }

  // Adds a choice after the others and selects it; the extra element stays last.
  void AddChoice(T value) {
    if constexpr (kTrailingExtra) {
      if (values.empty()) values.emplace_back();
    }
    const std::int32_t at = count();
    values.insert(values.begin() + at, std::move(value));
    sel = at;
  }
};

// The paper widths are chosen by name; `paper_dots` holds one number per paper
// width and has no extra element. The driver names are those of the spooler's
// printers, and their selection is never saved.
struct PrinterProfile {
  std::string model_name;
  ChoiceList<std::string> paper_widths;
  std::vector<std::int32_t> paper_dots;
  ChoiceList<std::string> first_colors;
  ChoiceList<std::string> second_colors;
  ChoiceList<std::int32_t> resolutions;  // the extra number selects nothing
  ChoiceList<std::string> ports;
  ChoiceList<std::int32_t> baud_rates;
  ChoiceList<std::int32_t> bit_lengths;
  ChoiceList<std::string> parities;
  ChoiceList<std::string> flows;
  ChoiceList<std::string, false> driver_names;
};

// A port name that begins with this (any letter case) is a printer on the
// network: "tcp://HOST[:PORT]".
inline constexpr char kNetworkPortPrefix[] = "tcp://";

// Selects the port `name` (letter case aside), adding it after the profile's
// choices when it is not one of them: a network printer's address.
void AddPortChoice(PrinterProfile& profile, const std::string& name);

// How many network addresses are kept, most recently used first.
inline constexpr std::size_t kMaxNetworkPorts = 8;

// True for a port name of a printer on the network.
bool IsNetworkChoice(const std::string& port);

// The profile's ports become its own (those that are no network address)
// followed by `addresses` in their order; the selection stays on the same
// name, else falls back to the first port.
void SetNetworkPorts(PrinterProfile& profile, const std::vector<std::string>& addresses);

// Puts `address` first in `addresses` (once, letter case aside), keeping at
// most kMaxNetworkPorts.
void RememberNetworkPort(std::vector<std::string>& addresses, const std::string& address);

// Printable width in dots at the selected paper width and resolution: the
// paper's dots are given at the first resolution. 0 when the profile lacks them.
std::int32_t PrintWidthDots(const PrinterProfile& profile);

}  // namespace inkmark
