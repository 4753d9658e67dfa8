// A pseudo-terminal standing in for a printer: the port opens its slave end
// through a link in the device map, the test plays the printer on the master.
#pragma once

#include <termios.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/unique_fd.h"
#include "support/temp_dir.h"

namespace inkmark::testing {

// Points XDG_CONFIG_HOME at a temporary folder for its lifetime.
class DeviceMapHome {
 public:
  DeviceMapHome();
  ~DeviceMapHome();
  DeviceMapHome(const DeviceMapHome&) = delete;
  DeviceMapHome& operator=(const DeviceMapHome&) = delete;

  // Links devices/<entry> to `target`.
  void Link(const std::string& entry, const std::filesystem::path& target) const;
  const std::filesystem::path& folder() const { return dir_.path(); }

 private:
  TempDir dir_;
  std::string saved_;
  bool had_saved_ = false;
};

class PtyPrinter {
 public:
  // Makes a pseudo-terminal and links devices/<entry> of `home` to its slave.
  PtyPrinter(const DeviceMapHome& home, const std::string& entry);

  // Everything the port has written since the last call.
  std::string Received();
  // What has arrived by now, without waiting for more.
  std::string ReceivedNow();
  void Send(std::string_view bytes);
  // The line state the port set.
  termios Line() const;

 private:
  UniqueFd master_;
  UniqueFd slave_;  // held open so the line keeps its settings after the port closes
};

}  // namespace inkmark::testing
