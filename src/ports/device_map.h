// Which device file stands behind a port name. The user may point a port at any
// device with a symbolic link in the per-user devices folder; without one the
// usual Linux device serves.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace inkmark {

// $XDG_CONFIG_HOME/Quorvel/devices (default ~/.config/Quorvel/devices); nullopt
// when neither variable gives an absolute folder.
std::optional<std::filesystem::path> DeviceMapFolder();

// The device for "COM<N>:" (devices/com<N>, else /dev/ttyS<N-1>) or "LPT1:"
// (devices/lpt1, else /dev/usb/lp0, else /dev/lp0); nullopt for any other name
// and for COM0.
std::optional<std::filesystem::path> DevicePathFor(std::string_view port_name);

}  // namespace inkmark
