// What the key-entry and NV manager window tests share: a host that records
// the window's end and cursor, a key list held in memory, and a virtual
// printer behind a pseudo-terminal that the session's serial port reaches.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "compose_fixture.h"
#include "platform/control_view.h"
#include "protocol/list_box_view.h"
#include "protocol/window_host.h"
#include "protocol_fixtures.h"

namespace inkmark::testing {

class RecordingDialogHost final : public DialogHost {
 public:
  void BeginBusy() override { ++busy; }
  void EndBusy() override { --busy; }
  void EndDialog(int result) override { ended.push_back(result); }
  WindowHandle Owner() const override { return this; }

  int busy = 0;
  std::vector<int> ended;
};

// A multiple-selection list; the user's toggles report as the widget's do.
class FakeListBox final : public ListBoxView {
 public:
  void SetEvents(ControlEvents* events, int id) {
    events_ = events;
    id_ = id;
  }
  void UserToggle(int index) {
    items_.at(std::size_t(index)).second = !items_.at(std::size_t(index)).second;
    if (events_) events_->OnControl(id_, Notification::kSelectionChanged);
  }
  std::vector<std::string> Items() const {
    std::vector<std::string> texts;
    for (const auto& item : items_) texts.push_back(item.first);
    return texts;
  }

  void Clear() override { items_.clear(); }
  int Append(std::string_view text) override {
    items_.emplace_back(std::string(text), false);
    return int(items_.size()) - 1;
  }
  void Remove(int index) override { items_.erase(items_.begin() + index); }
  int Count() const override { return int(items_.size()); }
  std::string Item(int index) const override { return items_.at(std::size_t(index)).first; }
  bool IsSelected(int index) const override { return items_.at(std::size_t(index)).second; }
  void SetSelected(int first, int last, bool selected) override {
    for (int i = std::max(0, first); i <= last && i < Count(); ++i)
      items_[std::size_t(i)].second = selected;
  }

 private:
  std::vector<std::pair<std::string, bool>> items_;
  ControlEvents* events_ = nullptr;
  int id_ = 0;
};

// Waits up to two seconds for the printer thread to have done something.
inline bool WaitFor(const std::function<bool()>& done) {
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

inline vprinter::NvKey VKey(const std::string& text) {
  return {std::uint8_t(text[0]), std::uint8_t(text[1])};
}

// A session on a standard two-ink printer at COM1, with a virtual printer
// there, and a picture as its source.
class PrinterWindowTest : public PtyPrinterTest {
 protected:
  explicit PrinterWindowTest(int keys_per_block = 20) : keys_per_block_(keys_per_block) {}

  void SetUp() override {
    vprinter::PrinterOptions options;
    options.keys_per_block = keys_per_block_;
    StartPrinter(options);
    cs.UsePicture(SplitBitmap(60, 20, kBlack24, kRed24));
    UseProfile(cs.session(), ProfileFor("QP-80"));
  }

  // Takes the printer away: the port's device link then leads nowhere, so
  // the port cannot be opened (and no other serial device is tried).
  void Unplug() {
    server->Stop();
    std::filesystem::create_symlink(home.folder() / "no printer", Link());
  }

  // Graphics of `height` rows, so that prints can be told apart.
  void Store(const std::string& key, int height = 1) {
    vprinter::Graphics g;
    g.width = 8;
    g.height = std::uint16_t(height);
    g.blocks = {vprinter::InkBlock{vprinter::kFirstInkCode, {}}};
    g.blocks[0].data.assign(g.BlockBytes(), 0xFF);
    printer->Define(VKey(key), std::move(g));
  }

  int keys_per_block_;
  ComposeSession cs{96};
  RecordingDialogHost host;
};

}  // namespace inkmark::testing
