// The main window's logic over the fake view, with a recording pipeline and host.
#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <optional>
#include <vector>

#include "app/main_ids.h"
#include "app/main_template.h"
#include "app/main_window.h"
#include "fake_view.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {

// Records each call with whether the busy cursor was up; items are given by the test.
class RecordingPipeline final : public MainPipeline {
 public:
  struct Call {
    char what;  // 'S' source previews, 'C' converted preview
    bool busy;
  };
  void MakeSourcePreviews(LogoSession& s) override {
    calls.push_back({'S', *busy > 0});
    s.fit_image = {1, 2, 3};
    s.cut_image = {4, 5};
    s.source_shown = s.fit_to_width ? ShownSource::kFit : ShownSource::kCut;
  }
  void MakeConvertedPreview(LogoSession& s) override {
    calls.push_back({'C', *busy > 0});
    converted_params.push_back(s.params);
    s.converted = {std::uint8_t(calls.size())};
  }
  int LoadLogoDocument(LogoSession& s) override {
    if (!document_ok) return 0;
    s.item_count = int(items.size());
    return 1;
  }
  void ResetSecondColorItems(LogoSession&) override {
    ++resets;
    for (ItemState& item : items) item.color_index = 0;
  }
  ItemState Item(const LogoSession&, int index) const override {
    return index >= 0 && index < int(items.size()) ? items[std::size_t(index)] : ItemState{};
  }
  void SetItemText(LogoSession&, int index, const std::string& text) override {
    items[std::size_t(index)].text = text;
  }
  std::optional<LogoRaster> BuildLogoRaster(LogoSession&) override {
    if (raster.empty()) return std::nullopt;
    return LogoRaster::FromFile(raster);
  }

  const int* busy = nullptr;
  std::vector<Call> calls;
  std::vector<ConversionParams> converted_params;
  std::vector<ItemState> items;
  bool document_ok = true;
  int resets = 0;
  BitmapFile raster;
};

class RecordingHost final : public MainHost {
 public:
  void BeginBusy() override { ++busy; }
  void EndBusy() override { --busy; }
  std::optional<std::string> RunOpenDialog(const std::string&) override { return open_answer; }
  std::optional<SaveChoice> RunSaveDialog(LogoSession& s) override {
    if (!save_answer) return std::nullopt;
    s.save_path = save_path;
    return save_answer;
  }
  void CloseWindow() override { ++closed; }
  void OpenKeyEntry(LogoSession& s) override { key_entry_flags.push_back(s.save_as_command_file); }

  int busy = 0;
  int closed = 0;
  std::optional<std::string> open_answer;
  std::optional<SaveChoice> save_answer;
  std::string save_path;
  std::vector<int> key_entry_flags;
};

inline PrinterProfile MakeProfile(std::string name, std::vector<std::string> ports,
                                  std::vector<std::string> second = {"Red", "None"}) {
  PrinterProfile p;
  p.model_name = std::move(name);
  p.paper_widths = {"58mm", "80mm", "1"};
  p.paper_width_count = 2;
  p.paper_dots = {360, 512};
  p.first_colors = {"Black", "0"};
  p.first_color_count = 1;
  p.second_color_count = int(second.size());
  p.second_colors = second;
  p.second_colors.push_back("0");
  p.resolutions = {180, 360, 0};
  p.resolution_count = 2;
  p.port_count = int(ports.size());
  p.ports = ports;
  p.ports.push_back("0");
  p.baud_rates = {9600, 19200, 0};
  p.baud_count = 2;
  p.bit_lengths = {7, 8, 1};
  p.bit_length_count = 2;
  p.parities = {"None", "Even", "0"};
  p.parity_count = 2;
  p.flows = {"DTR/DSR", "XON/XOFF", "0"};
  p.flow_count = 2;
  return p;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : view_(MainTemplate()) {
    std::filesystem::create_directories(dir_.path() / "system");
    std::filesystem::create_directories(dir_.path() / "user");
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       QString::fromStdString((dir_.path() / "system").string()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((dir_.path() / "user").string()));
    session_.profiles = {MakeProfile("DT-300", {"COM1", "LPT1", "Corlane Printer Driver"}),
                         MakeProfile("DT-200", {"com2", "FILE"}, {"None"})};
    session_.profile_count = 2;
    pipeline_.busy = &host_.busy;
  }

  // Opens the window; `with_editor` puts an editor beside the program.
  void Open(bool with_editor = false) {
    std::filesystem::create_directories(dir_.path() / "program");
    if (with_editor) TempDir::WriteFile(dir_.path() / "program" / "InkmarkEdit", "");
    window_.emplace(session_, view_, pipeline_, host_, dir_.path() / "program");
    view_.SetEvents(&*window_);
    window_->Open();
  }

  std::string File(const std::string& name) { return dir_.Write(name, "x").string(); }

  int Count(char what) const {
    int n = 0;
    for (auto& c : pipeline_.calls) n += c.what == what;
    return n;
  }
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
  RecordingPipeline pipeline_;
  RecordingHost host_;
  std::optional<MainWindow> window_;
};

}  // namespace inkmark::testing
