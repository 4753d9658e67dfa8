// The main window's logic: the printer panel, the source, the previews, the
// picture and conversion controls and the command buttons, worked through the
// control view so that it runs with or without a display.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control_view.h"
#include "session/session.h"
#include "windows/main_host.h"
#include "windows/main_pipeline.h"

namespace inkmark {

// How an item of the owner-drawn colour lists looks: the text colour
// (0x00BBGGRR) and the swatch picture (104-108).
struct ColorItemLook {
  std::int32_t text_color = 0;
  int swatch = 108;
};
// `disabled` items are drawn grey by the caller with swatch 108.
ColorItemLook ColorItemLookFor(std::string_view name, bool disabled);

// A name from a printer file as the colour and parity lists show it: the
// inks and the parities in the user's language, any other name as it stands.
// Only the shown text changes: selections are kept by position.
std::string ShownChoiceName(std::string_view name);

class MainWindow final : public ControlEvents {
 public:
  MainWindow(LogoSession& session, ControlView& view, MainPipeline& pipeline, MainHost& host,
             std::filesystem::path program_folder);

  // Fills the window as it opens; nothing is loaded yet.
  void Open();

  void OnControl(int id, Notification notification) override;
  void OnCloseBox() override;
  // A file dropped onto the window: loaded as if chosen with Browse, after the
  // same extension check, with the same message when it is refused.
  void OnFileDropped(const std::string& path);

  // Printer panel.
  void FillPrinterPanel(const PrinterProfile& profile);
  void ApplyPortRule(std::string_view port);
  // The Port list's last entry: asks for a network printer's address and adds
  // it to the ports, selected; a cancel shows the port shown before.
  void ChooseNetworkPort(PrinterProfile& profile);
  const std::vector<std::string>& network_ports() const { return network_ports_; }
  void StorePrinterSelections();
  void UpdatePrintWidth();
  void RefreshAll();
  void RefreshConverted();
  void LoadSource();

  // Colours.
  void SetUpColors();
  void UpdateColors();
  void ApplyInkRule();

  // Show, hide and enable rules.
  void ApplySourceKindRules();
  void ApplyItemRules();
  void UpdateLevelSliders();
  int StoreLevelAttach(int slider_id, int position);
  void ShowAttachControls() { ShowAttach(true); }
  void HideAttachControls() { ShowAttach(false); }

  // Logo document items.
  void SelectItem(int index);
  void ChangeItemText();

  const std::string& editor_path() const { return editor_path_; }

 private:
  void OnPrinterPanel(int id);
  void OnCommand(int id);
  void OnPictureControl(int id);
  void Exit();
  void PrintToFile();
  void SaveLogoAs(SaveType type);
  void PaintLeft();
  void PaintRight();
  void ShowAttach(bool shown);
  void LoadItemControls(const ItemState& item);
  void ShowConversionControls();
  void ShowItemText(const ItemState& item);
  void FillInkLists();
  PrinterProfile* Profile() { return session_.CurrentProfile(); }

  LogoSession& session_;
  ControlView& view_;
  MainPipeline& pipeline_;
  MainHost& host_;
  std::filesystem::path program_folder_;
  std::string editor_path_;
  void FillPortList(const PrinterProfile& profile, const std::string& shown);
  void UseNetworkPorts();

  // The network addresses used, most recent first, in every printer's ports.
  std::vector<std::string> network_ports_;
  // The port the Port list shows; Network... chosen and cancelled shows it again.
  std::string shown_port_;
  bool showing_item_text_ = false;  // the program, not the user, fills the text edit
  // A document's text was changed here since it was read.
  bool text_changed_ = false;
};

}  // namespace inkmark
