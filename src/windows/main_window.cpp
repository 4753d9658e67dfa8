#include "windows/main_window.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "document/text_limit.h"
#include "platform/code_page.h"
#include "platform/message_box.h"
#include "platform/output_file.h"
#include "platform/paths.h"
#include "platform/shell_utils.h"
#include "platform/string_table.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "ports/network_address.h"
#include "session/temp_files.h"
#include "settings/saved_settings.h"
#include "windows/file_dialogs.h"
#include "windows/main_ids.h"
#include "windows/raster_failure.h"

namespace inkmark {
namespace {

constexpr int kPanelLists[] = {kIdPaperWidth, kIdFirstColor, kIdSecondColor, kIdResolution,
                               kIdPort,       kIdBaudRate,   kIdDataLength,  kIdParity,
                               kIdHandshake,  kIdDriver};
constexpr int kSerialControls[] = {kIdBaudRateLabel, kIdBaudRate, kIdDataLengthLabel, kIdDataLength,
                                   kIdParityLabel,   kIdParity,   kIdHandshakeLabel,  kIdHandshake};
constexpr int kSourceCommands[] = {kIdPreview, kIdPrintToFile, kIdEdit, kIdTestPrint, kIdRegister};
constexpr char kDriverPort[] = "Corlane Printer Driver";
constexpr char kEditorName[] = "InkmarkEdit";

template <bool kExtra>
void FillNames(ControlView& view, int id, const ChoiceList<std::string, kExtra>& names,
               bool shown_names = false) {
  for (const std::string& name : names.choices())
    view.AddItem(id, shown_names ? ShownChoiceName(name) : name);
  view.SetSelection(id, names.sel);
}

void FillNumbers(ControlView& view, int id, const ChoiceList<std::int32_t>& values,
                 const char* format) {
  char text[48];
  for (std::int32_t value : values.choices()) {
    std::snprintf(text, sizeof text, format, value, value);
    view.AddItem(id, text);
  }
  view.SetSelection(id, values.sel);
}

}  // namespace

MainWindow::MainWindow(LogoSession& session, ControlView& view, MainPipeline& pipeline,
                       MainHost& host, std::filesystem::path program_folder)
    : session_(session),
      view_(view),
      pipeline_(pipeline),
      host_(host),
      program_folder_(std::move(program_folder)) {}

void MainWindow::Open() {
  view_.ClearList(kIdPrinterName);
  for (const PrinterProfile& p : session_.profiles) view_.AddItem(kIdPrinterName, p.model_name);
  view_.SetSelection(kIdPrinterName, session_.profile_index);
  network_ports_ = LoadNetworkPorts();
  for (PrinterProfile& p : session_.profiles) SetNetworkPorts(p, network_ports_);
  session_.source_kind = SourceKindFromPath(session_.source_path);
  if (const PrinterProfile* p = Profile()) FillPrinterPanel(*p);
  SetUpColors();
  ApplySourceKindRules();
  UpdatePrintWidth();
  view_.SetTextLimit(kIdSourceEdit, 260);
  view_.SetTextLimit(kIdItemText, int(kMaxTextBytes));

  const ConversionParams& params = session_.params;
  view_.SetRange(kIdProcessing, 0, 2);
  view_.SetPosition(kIdProcessing, int(params.processing));
  const std::pair<int, std::uint32_t> adjust[] = {
      {kIdAdjustR, params.adjust_r}, {kIdAdjustG, params.adjust_g}, {kIdAdjustB, params.adjust_b}};
  for (auto [id, value] : adjust) {
    view_.SetRange(id, 1, 5);
    view_.SetPosition(id, int(value));
  }
  for (int id : {int(kIdProcessing), int(kIdAdjustR), int(kIdAdjustG), int(kIdAdjustB)})
    view_.SetPageSize(id, 1);

  if (session_.monochrome == 0) view_.Enable(kIdMonoColor, false);
  for (int id : kSourceCommands) view_.Enable(id, false);
  PrepareTempFiles(session_);

  editor_path_ = (program_folder_ / kEditorName).string();
  if (PathExists(editor_path_) == 0) {
    editor_path_.clear();
    view_.Enable(kIdNew, false);
  }
}

void MainWindow::FillPrinterPanel(const PrinterProfile& p) {
  for (int id : kPanelLists) view_.ClearList(id);
  FillNames(view_, kIdPaperWidth, p.paper_widths);
  FillNames(view_, kIdFirstColor, p.first_colors, true);
  FillNames(view_, kIdSecondColor, p.second_colors, true);
  FillNumbers(view_, kIdResolution, p.resolutions, "%d x %ddpi");
  FillPortList(p, p.ports.Selected());
  ApplyPortRule(view_.Text(kIdPort));
  FillNames(view_, kIdDriver, p.driver_names);
  FillNumbers(view_, kIdBaudRate, p.baud_rates, "%dbps");
  FillNumbers(view_, kIdDataLength, p.bit_lengths, "%dbit");
  FillNames(view_, kIdParity, p.parities, true);
  FillNames(view_, kIdHandshake, p.flows);
}

// The profile's ports, then always last a printer on the network, whatever
// ports the printer file lists; `shown` selected, else the profile's port.
void MainWindow::FillPortList(const PrinterProfile& p, const std::string& shown) {
  view_.ClearList(kIdPort);
  for (const std::string& port : p.ports.choices()) view_.AddItem(kIdPort, port);
  view_.AddItem(kIdPort, Translate("MAIN", kNetworkEntry));
  int sel = p.ports.sel;
  for (int i = 0; i < p.ports.count(); ++i)
    if (p.ports.At(i) == shown) sel = i;
  view_.SetSelection(kIdPort, sel);
  shown_port_ = p.ports.At(sel);
}

void MainWindow::ApplyPortRule(std::string_view port) {
  bool serial = StartsWithNoCase(port, "COM");
  for (int id : kSerialControls) view_.Show(id, serial);
  bool driver = StartsWithNoCase(port, kDriverPort);
  view_.Show(kIdDriverLabel, driver);
  view_.Show(kIdDriver, driver);
}

void MainWindow::StorePrinterSelections() {
  session_.profile_index = view_.Selection(kIdPrinterName);
  PrinterProfile* p = Profile();
  if (p == nullptr) return;
  p->paper_widths.sel = view_.Selection(kIdPaperWidth);
  p->first_colors.sel = view_.Selection(kIdFirstColor);
  p->second_colors.sel = view_.Selection(kIdSecondColor);
  p->resolutions.sel = view_.Selection(kIdResolution);
  p->ports.sel = view_.Selection(kIdPort);
  p->baud_rates.sel = view_.Selection(kIdBaudRate);
  p->bit_lengths.sel = view_.Selection(kIdDataLength);
  p->parities.sel = view_.Selection(kIdParity);
  p->flows.sel = view_.Selection(kIdHandshake);
  p->driver_names.sel = view_.Selection(kIdDriver);
}

void MainWindow::UpdatePrintWidth() {
  if (const PrinterProfile* p = Profile()) session_.print_width_dots = PrintWidthDots(*p);
}

void MainWindow::PaintLeft() {
  switch (session_.source_shown) {
    case ShownSource::kFit:
      view_.SetPicture(kIdLeftPreview, session_.fit_image);
      break;
    case ShownSource::kCut:
      view_.SetPicture(kIdLeftPreview, session_.cut_image);
      break;
    case ShownSource::kNone:
      view_.SetPicture(kIdLeftPreview, {});
      break;
  }
}

void MainWindow::PaintRight() { view_.SetPicture(kIdRightPreview, session_.converted); }

void MainWindow::RefreshAll() {
  pipeline_.MakeSourcePreviews(session_);
  pipeline_.MakeConvertedPreview(session_);
  PaintLeft();
  PaintRight();
}

void MainWindow::RefreshConverted() {
  pipeline_.MakeConvertedPreview(session_);
  PaintRight();
}

void MainWindow::LoadSource() {
  std::string path = view_.Text(kIdSourceEdit);
  if (path.size() > kMaxPath) path.resize(kMaxPath);
  if (PathExists(path) == 0) return;
  session_.source_path = path;
  session_.source_kind = SourceKindFromPath(path);
  session_.items.clear();
  session_.document.clear();
  text_changed_ = false;
  if (session_.source_kind == kSourceDocument) {
    if (pipeline_.LoadLogoDocument(session_) == 1) {
      session_.item_index = 0;
    } else {
      session_.source_kind = kSourceNone;
    }
    StorePrinterSelections();
  }
  BusyCursor busy(host_);
  // The controls take the new source's values before anything is converted, so
  // that the first conversion neither uses nor writes back the previous ones.
  ApplySourceKindRules();
  RefreshAll();
}

void MainWindow::OnControl(int id, Notification notification) {
  switch (id) {
    case kIdPrinterName:
    case kIdPaperWidth:
    case kIdResolution:
    case kIdPort:
      OnPrinterPanel(id);
      return;
    case kIdFirstColor:
    case kIdSecondColor:
    case kIdMonoColor:
    case kIdTextColor:
      if (notification != Notification::kSelectionChanged) return;
      UpdateColors();
      RefreshConverted();
      return;
    case kIdSourceEdit:
      if (notification == Notification::kTextChanged) LoadSource();
      return;
    case kIdItemList:
      if (notification == Notification::kSelectionChanged) SelectItem(view_.Selection(kIdItemList));
      return;
    case kIdItemText:
      if (notification == Notification::kTextChanged) ChangeItemText();
      return;
    case kIdExit:
    case kIdBrowse:
    case kIdNew:
    case kIdEdit:
    case kIdPreview:
    case kIdTestPrint:
    case kIdPrintToFile:
    case kIdRegister:
    case kIdControlPrinter:
      if (notification == Notification::kClicked) OnCommand(id);
      return;
    default:
      OnPictureControl(id);
      return;
  }
}

void MainWindow::OnCloseBox() { host_.CloseWindow(); }

void MainWindow::OnPrinterPanel(int id) {
  PrinterProfile* p = Profile();
  if (p == nullptr) return;
  int sel = view_.Selection(id);
  switch (id) {
    case kIdPrinterName: {
      if (sel == session_.profile_index) return;
      session_.profile_index = sel;
      p = Profile();
      if (p == nullptr) return;
      FillPrinterPanel(*p);
      SetUpColors();
      if (session_.source_kind == kSourceDocument) LoadSource();
      BusyCursor busy(host_);
      UpdatePrintWidth();
      RefreshAll();
      return;
    }
    case kIdPaperWidth: {
      if (sel == p->paper_widths.sel) return;
      StorePrinterSelections();
      BusyCursor busy(host_);
      UpdatePrintWidth();
      RefreshAll();
      return;
    }
    case kIdResolution:
      if (sel == p->resolutions.sel) return;
      p->resolutions.sel = sel;
      UpdatePrintWidth();
      RefreshAll();
      return;
    case kIdPort:
      if (sel >= 0 && sel == p->ports.count()) {
        ChooseNetworkPort(*p);
      } else {
        shown_port_ = view_.Text(kIdPort);
      }
      ApplyPortRule(view_.Text(kIdPort));
      return;
  }
}

void MainWindow::ChooseNetworkPort(PrinterProfile& p) {
  std::string shown = shown_port_;
  // The address in use, else the one chosen last, is offered again.
  std::string initial = "tcp://";
  if (IsNetworkPortName(shown)) {
    initial = shown;
  } else if (!network_ports_.empty()) {
    initial = network_ports_.front();
  }
  for (;;) {
    NetworkAnswer answer = host_.AskNetworkAddress(initial, network_ports_);
    if (answer.kind == NetworkAnswer::Kind::kCancel) break;
    if (answer.kind == NetworkAnswer::Kind::kRemove) {
      std::erase_if(network_ports_,
                    [&](const std::string& a) { return EqualsNoCase(a, answer.address); });
      UseNetworkPorts();
      if (EqualsNoCase(initial, answer.address)) initial = "tcp://";
      continue;
    }
    if (auto address = ParseNetworkAddress(answer.address)) {
      shown = NetworkAddressText(*address);
      RememberNetworkPort(network_ports_, shown);
      UseNetworkPorts();
      p.ports.SelectFirst([&](const std::string& port) { return port == shown; });
      break;
    }
    CurrentMessageBoxes().Show(host_.Owner(), Translate("MAIN", "Network"),
                               Translate("MAIN", kNetworkAddressHint), kMbOk);
    initial = answer.address;
  }
  // The list shows the ports again: the chosen address, else the port shown before.
  FillPortList(p, shown);
}

// Every printer offers the addresses used, and the next run does too.
void MainWindow::UseNetworkPorts() {
  for (PrinterProfile& p : session_.profiles) SetNetworkPorts(p, network_ports_);
  SaveNetworkPorts(network_ports_);
}

void MainWindow::OnFileDropped(const std::string& path) {
  // A longer path does not fit the path buffers; it is refused, never cut.
  // A folder brings no file: the Open dialog, too, opens it instead.
  std::error_code error;
  if (path.empty() || path.size() > kMaxPath || std::filesystem::is_directory(path, error)) return;
  if (!HasAllowedExtension(path, ExtensionsFromText(LoadString(kStrOpenExtensions, 63)))) {
    CurrentMessageBoxes().Show(host_.Owner(), Translate("MAIN", "File"),
                               LoadString(kStrBadFileName, 63), kMbOk);
    return;
  }
  view_.SetText(kIdSourceEdit, path);
}

void MainWindow::OnCommand(int id) {
  switch (id) {
    case kIdBrowse:
      if (auto path = host_.RunOpenDialog(session_.source_path))
        view_.SetText(kIdSourceEdit, *path);
      return;
    case kIdNew:
      host_.StartEditorNew(session_.print_width_dots);
      return;
    case kIdEdit:
      // The editor opens the file as saved: text changed here would be lost
      // without a word when the file is read again afterwards.
      if (text_changed_ &&
          CurrentMessageBoxes().Show(host_.Owner(), LoadString(kStrAppCaption, 31),
                                     Translate("MAIN", kDiscardTextQuestion), kMbYesNo) != kIdYes)
        return;
      if (host_.StartEditorOn(session_.source_path)) LoadSource();
      return;
    case kIdPreview:
      StorePrinterSelections();
      host_.ShowPreview(session_);
      return;
    case kIdTestPrint: {
      BusyCursor busy(host_);
      StorePrinterSelections();
      host_.TestPrint(session_);
      return;
    }
    case kIdPrintToFile:
      PrintToFile();
      return;
    case kIdRegister:
      session_.save_as_command_file = 0;
      StorePrinterSelections();
      host_.OpenKeyEntry(session_);
      return;
    case kIdControlPrinter:
      StorePrinterSelections();
      host_.OpenNvManager(session_);
      return;
    case kIdExit:
      Exit();
      return;
  }
}

void MainWindow::Exit() {
  StorePrinterSelections();
  if (const PrinterProfile* p = Profile()) {
    // Saving keeps only the folder; the session keeps the whole path.
    std::string folder = session_.source_path;
    SaveSettings(*p, folder);
  }
  host_.CloseWindow();
}

void MainWindow::PrintToFile() {
  std::optional<SaveChoice> choice = host_.RunSaveDialog(session_);
  if (!choice) return;
  SaveLogoAs(choice->type);
}

// The chosen type decides what is written, whatever extension the name has.
void MainWindow::SaveLogoAs(SaveType type) {
  if (type == SaveType::kCommandFile) {
    session_.save_as_command_file = 1;
    StorePrinterSelections();
    host_.OpenKeyEntry(session_);
    session_.save_as_command_file = 0;
    return;
  }
  Result<LogoRaster> raster = pipeline_.BuildLogoRaster(session_);
  if (!raster) {
    ShowRasterFailure(host_.Owner(), raster.failure());
    return;
  }
  ShowOutputError(host_.Owner(), WriteOutputFile(session_.save_path, raster->bytes()),
                  session_.save_path);
}

}  // namespace inkmark
