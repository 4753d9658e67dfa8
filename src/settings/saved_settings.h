// Saved settings: the chosen printer, its list selections and the folder of the
// last picture, kept between runs by value (names and numbers, not indexes) so
// that an edited printer file leaves no stale index behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "session/printer_profile.h"

namespace inkmark {

// Restores the saved folder into `source_path`, then the saved selections into
// the first of the first `count` profiles whose model name equals the saved one
// (letter case aside). Returns that profile's index, or 0 when none matches.
std::int32_t LoadSettings(int count, std::vector<PrinterProfile>& profiles,
                          std::string& source_path);

// Stores the profile's selections and the folder of `source_path` (cut in place
// after its last "/"). 1 when stored, 0 when no store takes them.
std::int32_t SaveSettings(const PrinterProfile& profile, std::string& source_path);

// The network printers' addresses used, most recent first (at most
// kMaxNetworkPorts); the saved port comes first when it is one of them and
// was saved before the list was kept.
std::vector<std::string> LoadNetworkPorts();

// Stores the addresses as the list of network printers; true when stored.
bool SaveNetworkPorts(const std::vector<std::string>& addresses);

}  // namespace inkmark
