// PrinterProfile: one printer model as its printer file describes it, with the
// user's current selection in each of its lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace inkmark {

// Room of the record: a value of at most 255 characters splits into at most 20
// elements; at most 20 driver names of at most 49 characters.
inline constexpr std::size_t kMaxProfileText = 255;
inline constexpr int kMaxListElements = 20;
inline constexpr int kMaxDriverNames = 20;
inline constexpr std::size_t kMaxDriverNameChars = 49;

// Each choice list holds its choices followed by one extra element (the default
// index as the file gave it, or for resolutions one more number); the count
// fields count the choices only. `paper_dots` has no extra element.
struct PrinterProfile {
  std::string model_name;
  std::int32_t paper_width_sel = 0;
  std::int32_t first_color_sel = 0;
  std::int32_t second_color_sel = 0;
  std::int32_t resolution_sel = 0;
  std::int32_t driver_sel = 0;  // set by the Printer Driver list only; never saved
  std::int32_t paper_width_count = 0;
  std::int32_t first_color_count = 0;
  std::int32_t second_color_count = 0;
  std::int32_t resolution_count = 0;
  std::vector<std::int32_t> paper_dots;
  std::vector<std::int32_t> resolutions;
  std::vector<std::string> paper_widths;
  std::vector<std::string> first_colors;
  std::vector<std::string> second_colors;
  std::int32_t port_sel = 0;
  std::int32_t baud_sel = 0;
  std::int32_t bit_length_sel = 0;
  std::int32_t parity_sel = 0;
  std::int32_t flow_sel = 0;
  std::int32_t port_count = 0;
  std::int32_t baud_count = 0;
  std::int32_t bit_length_count = 0;
  std::int32_t parity_count = 0;
  std::int32_t flow_count = 0;
  std::int32_t driver_count = 0;
  std::vector<std::int32_t> baud_rates;
  std::vector<std::int32_t> bit_lengths;
  std::vector<std::string> ports;
  std::vector<std::string> parities;
  std::vector<std::string> flows;
  std::vector<std::string> driver_names;
};

// The selected choice of a list, or "" when the selection is outside its choices.
std::string_view SelectedName(const std::vector<std::string>& list, std::int32_t count,
                              std::int32_t sel);
// The selected number of a list, or 0 when the selection is outside its choices.
std::int32_t SelectedNumber(const std::vector<std::int32_t>& list, std::int32_t count,
                            std::int32_t sel);

// A port name that begins with this (any letter case) is a printer on the
// network: "tcp://HOST[:PORT]".
inline constexpr char kNetworkPortPrefix[] = "tcp://";

// Selects the port `name` (letter case aside), adding it after the profile's
// choices when it is not one of them: a network printer's address.
void AddPortChoice(PrinterProfile& profile, const std::string& name);

// Printable width in dots at the selected paper width and resolution: the
// paper's dots are given at the first resolution. 0 when the profile lacks them.
std::int32_t PrintWidthDots(const PrinterProfile& profile);

}  // namespace inkmark
