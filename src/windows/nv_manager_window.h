// The NV graphics manager window: lists the keys stored in the printer and
// prints or deletes the selected ones, each through a port of its own.
#pragma once

#include <filesystem>
#include <vector>

#include "platform/control_view.h"
#include "protocol/nv_key.h"
#include "session/session.h"
#include "windows/list_box_view.h"
#include "windows/window_host.h"

namespace inkmark {

class NvManagerWindow final : public ControlEvents {
 public:
  NvManagerWindow(const LogoSession& session, ControlView& view, ListBoxView& keys,
                  DialogHost& host)
      : session_(session), view_(view), keys_(keys), host_(host) {}

  // Only "Get keycode lists" and "&Close" are usable until keys are listed.
  void Open();

  void GetKeyList();
  void SelectAll();
  void RemoveSelection();
  void PrintSelected();
  void DeleteSelected();
  // The key list's selection changed.
  void OnSelectionChanged();

  // Each listed key then shows what this ledger knows of it: the source's
  // name and the date it was registered on this printer's port.
  void SetLedger(std::filesystem::path path) { ledger_ = std::move(path); }

  void OnControl(int id, Notification notification) override;
  void OnCloseBox() override;

 private:
  // "&Delete", "&Print" and "&Remove Select" are enabled and disabled together.
  void EnableSelectionButtons(bool enabled);
  // Fills the list with `keys`, none selected.
  void ShowKeys(const std::vector<NvKey>& keys);

  const LogoSession& session_;
  ControlView& view_;
  ListBoxView& keys_;
  DialogHost& host_;
  std::filesystem::path ledger_;  // empty: no ledger is read
};

}  // namespace inkmark
