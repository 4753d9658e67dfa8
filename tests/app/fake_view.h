// A control view held in memory, built from a dialog template, with the
// user's actions (select, click, type, scroll) that report as the widgets do.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/control_view.h"
#include "platform/dialog_template.h"

namespace inkmark::testing {

class FakeView final : public ControlView {
 public:
  struct Control {
    ControlKind kind = ControlKind::kLabel;
    std::string text;
    int limit = -1;
    std::vector<std::string> items;
    std::vector<std::intptr_t> data;
    int selection = -1;
    bool checked = false;
    int min = 0, max = 0, page = 0, position = 0;
    bool shown = true;
    bool enabled = true;
    int client_width = 0;
    std::vector<std::uint8_t> picture;
    int pictures_set = 0;
  };

  // Dialog base units of Arial 9 point at 96 dots per inch.
  explicit FakeView(const DialogTemplate& dialog, DialogUnits units = {6, 15});

  void SetEvents(ControlEvents* events) { events_ = events; }
  const Control& control(int id) const { return controls_.at(id); }
  std::vector<std::string> Items(int id) const { return Get(id).items; }

  // The user's actions.
  void UserSelect(int id, int index);
  void UserClick(int id);  // toggles a check box, checks a radio button
  void UserType(int id, const std::string& text);
  void UserScroll(int id, int position);
  void UserCloseBox() {
    if (events_ != nullptr) events_->OnCloseBox();
  }

  std::string Text(int id) const override;
  void SetText(int id, std::string_view text) override;
  void SetTextLimit(int id, int chars) override { Find(id).limit = chars; }
  void ClearList(int id) override;
  int AddItem(int id, std::string_view text) override;
  int ItemCount(int id) const override { return int(Get(id).items.size()); }
  std::string ItemText(int id, int index) const override {
    return At<std::string>(Get(id).items, index, {});
  }
  int Selection(int id) const override { return Get(id).selection; }
  void SetSelection(int id, int index) override {
    Find(id).selection = index >= 0 && index < ItemCount(id) ? index : -1;
  }
  void SetItemData(int id, int index, std::intptr_t data) override;
  std::intptr_t ItemData(int id, int index) const override {
    return At<std::intptr_t>(Get(id).data, index, 0);
  }
  bool IsChecked(int id) const override { return Get(id).checked; }
  void SetCheck(int id, bool checked) override { Find(id).checked = checked; }
  void SetRange(int id, int min, int max) override;
  void SetPageSize(int id, int page) override { Find(id).page = page; }
  int Position(int id) const override { return Get(id).position; }
  void SetPosition(int id, int position) override;
  bool IsShown(int id) const override { return Get(id).shown; }
  void Show(int id, bool shown) override { Find(id).shown = shown; }
  bool IsEnabled(int id) const override { return Get(id).enabled; }
  void Enable(int id, bool enabled) override { Find(id).enabled = enabled; }
  int ClientWidth(int id) const override { return Get(id).client_width; }
  void SetPicture(int id, std::span<const std::uint8_t> bitmap_file) override;

 private:
  // An ID the template lacks reads as a hidden, disabled, empty control and
  // ignores what is written to it.
  const Control& Get(int id) const;
  Control& Find(int id);
  template <class T>
  static T At(const std::vector<T>& v, int index, T missing) {
    return index >= 0 && index < int(v.size()) ? v[std::size_t(index)] : missing;
  }
  void Notify(int id, Notification notification) {
    if (events_ != nullptr) events_->OnControl(id, notification);
  }

  std::map<int, Control> controls_;
  Control scratch_;
  ControlEvents* events_ = nullptr;
};

}  // namespace inkmark::testing
