// The key-entry window: the user types the two-character key under which the
// logo is registered in the printer, or written to a command file.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/control_view.h"
#include "ports/port_driver.h"
#include "protocol/nv_key.h"
#include "session/session.h"
#include "windows/window_host.h"

namespace inkmark {

// The key the text names: exactly two characters, each 0x20 to 0x7E.
std::optional<NvKey> ParseNvKey(std::string_view text);

class KeyEntryWindow final : public ControlEvents {
 public:
  KeyEntryWindow(LogoSession& session, ControlView& view, DialogHost& host)
      : session_(session), view_(view), host_(host) {}

  // Limits the key to two characters and proposes "00".
  void Open();
  // Validates the key and registers the logo under it; the window ends only
  // when the registration succeeded, so the user may correct and retry.
  void Execute();

  void OnControl(int id, Notification notification) override;
  void OnCloseBox() override;

  // The ledger that a registration in the printer is recorded in; none when empty.
  void SetLedger(std::filesystem::path path) { ledger_ = std::move(path); }

 private:
  // Whether the printer already holds `key`; nullopt when the list could not
  // be read (the listing has told the user).
  std::optional<bool> KeyIsStored(PortDriver& port, const NvKey& key);

  LogoSession& session_;
  ControlView& view_;
  DialogHost& host_;
  std::filesystem::path ledger_;
};

}  // namespace inkmark
