// The main window's logic over the fake view, with a recording pipeline and host in one.
#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <optional>
#include <vector>

#include "settings/printer_files.h"
#include "support/fake_view.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"
#include "windows/main_ids.h"
#include "windows/main_template.h"
#include "windows/main_window.h"

namespace inkmark::testing {

// The window's pipeline and host in one: records each conversion call ('S'
// source previews, 'C' converted preview) with whether the busy cursor was up,
// and answers the dialogs as the test says; the document's items are given by
// the test.
class Recorder final : public MainPipeline, public MainHost {
 public:
  void MakeSourcePreviews(LogoSession& s) override {
    calls.push_back({'S', busy > 0});
    s.fit_image = {1, 2, 3};
    s.source_shown = ShownSource::kFit;
  }
  void MakeConvertedPreview(LogoSession& s) override {
    calls.push_back({'C', busy > 0});
    converted_params.push_back(s.params);
    s.converted = {std::uint8_t(calls.size())};
  }
  int LoadLogoDocument(LogoSession& s) override {
    if (document_ok) s.items.assign(items.size(), LayoutItem{});
    return document_ok ? 1 : 0;
  }
  void ResetSecondColorItems(LogoSession&) override { ++resets; }
  ItemState Item(const LogoSession&, int index) const override {
    return index >= 0 && index < int(items.size()) ? items[std::size_t(index)] : ItemState{};
  }
  void SetItemText(LogoSession&, int index, const std::string& text) override {
    items.at(index).text = text;
  }
  Result<LogoRaster> BuildLogoRaster(LogoSession&) override {
    auto built = LogoRaster::FromFile(raster);
    if (!built) return Failure{FailureCode::kNoMemory, "no raster"};
    return std::move(*built);
  }

  void BeginBusy() override { ++busy; }
  void EndBusy() override { --busy; }
  std::optional<std::string> RunOpenDialog(const std::string&) override { return open_answer; }
  std::optional<SaveChoice> RunSaveDialog(LogoSession& s) override {
    s.save_path = save_path;
    return save_answer;
  }
  NetworkAnswer AskNetworkAddress(const std::string& initial,
                                  const std::vector<std::string>& used) override {
    network_offered.push_back(initial);
    network_used.push_back(used);
    if (network_answers.empty()) return {};
    auto answer = network_answers.front();
    network_answers.erase(network_answers.begin());
    if (!answer) return {};
    // "-ADDRESS" removes ADDRESS.
    if (answer->starts_with('-')) return {NetworkAnswer::Kind::kRemove, answer->substr(1)};
    return {NetworkAnswer::Kind::kUse, *answer};
  }
  void CloseWindow() override { ++closed; }
  void OpenKeyEntry(LogoSession& s) override { key_entry_flags.push_back(s.save_as_command_file); }
  bool StartEditorOn(const std::string& path) override {
    edited.push_back(path);
    return true;
  }

  int busy = 0;
  std::vector<std::pair<char, bool>> calls;
  std::vector<ConversionParams> converted_params;
  std::vector<ItemState> items;
  bool document_ok = true;
  int resets = 0;
  BitmapFile raster;
  int closed = 0;
  std::optional<std::string> open_answer;
  std::optional<SaveChoice> save_answer;
  std::string save_path;
  std::vector<int> key_entry_flags;
  std::vector<std::string> edited;
  std::vector<std::optional<std::string>> network_answers;  // nullopt: cancel
  std::vector<std::string> network_offered;
  std::vector<std::vector<std::string>> network_used;
};

// A printer as its printer file describes it; every list starts at its first choice.
inline PrinterProfile MakeProfile(const std::string& name, const std::string& ports,
                                  const std::string& second = "Red,None") {
  PrinterProfile p;
  LoadPrinterProfile(
      ProfileFile::Parse("[Spec]\nPrnName=" + name +
                         "\nPaperWidth=58mm,80mm,0\nPaperDot=360,512\n1stColor=Black,0\n2ndColor=" +
                         second + ",0\nResolution=180,360,0\nPort=" + ports +
                         ",0\nBaudRate=9600,19200,0\nBitLength=7,8,0\nParity=None,Even,0\n"
                         "Flow=DTR/DSR,XON/XOFF,0\n"),
      p);
  return p;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : view_(MainTemplate()) {
    for (auto scope : {QSettings::SystemScope, QSettings::UserScope})
      QSettings::setPath(QSettings::NativeFormat, scope,
                         QString::fromStdString((dir_.path() / std::to_string(scope)).string()));
    session_.profiles = {MakeProfile("DT-300", "COM1,LPT1,Corlane Printer Driver"),
                         MakeProfile("DT-200", "com2,FILE", "None")};
  }

  // Opens the window; `with_editor` puts an editor beside the program.
  void Open(bool with_editor = false) {
    std::filesystem::create_directories(dir_.path() / "program");
    if (with_editor) TempDir::WriteFile(dir_.path() / "program" / "InkmarkEdit", "");
    window_.emplace(session_, view_, recorder_, recorder_, dir_.path() / "program");
    view_.SetEvents(&*window_);
    window_->Open();
  }
  std::string File(const std::string& name) { return dir_.Write(name, "x").string(); }
  void ExpectShown(const std::vector<int>& ids, bool shown) const {
    for (int id : ids) EXPECT_EQ(view_.IsShown(id), shown) << "control " << id;
  }
  void ExpectEnabled(const std::vector<int>& ids, bool enabled) const {
    for (int id : ids) EXPECT_EQ(view_.IsEnabled(id), enabled) << "control " << id;
  }

  TempDir dir_;
  RecordingMessageBoxes boxes_;
  LogoSession session_;
  FakeView view_;
  Recorder recorder_;
  std::optional<MainWindow> window_;
};

}  // namespace inkmark::testing
