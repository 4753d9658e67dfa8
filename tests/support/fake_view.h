// A control view held in memory, built from a dialog template, with the
// user's actions (select, click, type, scroll) that report as the widgets do.
// An ID the template lacks reads as a hidden, disabled, empty control and
// ignores what is written to it.
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
    int code_page = 0;
    std::vector<std::string> items;
    std::vector<std::intptr_t> data;
    int selection = -1;
    int min = 0, max = 0, page = 0, position = 0;
    bool checked = false, shown = true, enabled = true;
    int client_width = 0;
    std::vector<std::uint8_t> picture;
  };

  // Dialog base units of Arial 9 point at 96 dots per inch.
  explicit FakeView(const DialogTemplate& dialog, DialogUnits units = {6, 15});

  void SetEvents(ControlEvents* events) { events_ = events; }
  const Control& control(int id) const { return C(id); }
  std::vector<std::string> Items(int id) const { return C(id).items; }

  // The user's actions.
  void UserSelect(int id, int index) {
    SetSelection(id, index), Notify(id, Notification::kSelectionChanged);
  }
  void UserClick(int id);  // toggles a check box, checks a radio button
  void UserType(int id, const std::string& text) {
    C(id).text = C(id).limit >= 0 ? text.substr(0, std::size_t(C(id).limit)) : text;
    Notify(id, Notification::kTextChanged);
  }
  void UserScroll(int id, int position) {
    SetPosition(id, position), Notify(id, Notification::kScrolled);
  }
  void UserCloseBox() { events_->OnCloseBox(); }

  std::string Text(int id) const override {
    return C(id).kind == ControlKind::kDropDownList ? ItemText(id, C(id).selection) : C(id).text;
  }
  void SetText(int id, std::string_view text) override {
    C(id).text = std::string(text);
    if (C(id).kind == ControlKind::kEdit) Notify(id, Notification::kTextChanged);
  }
  void SetTextLimit(int id, int chars) override { C(id).limit = chars; }
  // The fake holds the bytes as they are given.
  void SetCodePage(int id, int code_page) override { C(id).code_page = code_page; }
  std::optional<std::string> EncodedText(int id) const override { return C(id).text; }
  void SelectText(int id) override { selected_.push_back(id); }
  // The edits given the focus with their text selected, in order.
  const std::vector<int>& selected() const { return selected_; }
  void ClearList(int id) override { C(id).items.clear(), C(id).data.clear(), C(id).selection = -1; }
  int AddItem(int id, std::string_view text) override;
  int ItemCount(int id) const override { return int(C(id).items.size()); }
  std::string ItemText(int id, int index) const override { return At(C(id).items, index); }
  int Selection(int id) const override { return C(id).selection; }
  void SetSelection(int id, int index) override {
    C(id).selection = index >= 0 && index < ItemCount(id) ? index : -1;
  }
  void SetItemData(int id, int index, std::intptr_t data) override {
    if (index >= 0 && index < int(C(id).data.size())) C(id).data[std::size_t(index)] = data;
  }
  std::intptr_t ItemData(int id, int index) const override { return At(C(id).data, index); }
  bool IsChecked(int id) const override { return C(id).checked; }
  void SetCheck(int id, bool checked) override { C(id).checked = checked; }
  void SetRange(int id, int min, int max) override {
    C(id).min = min, C(id).max = max, SetPosition(id, C(id).position);
  }
  void SetPageSize(int id, int page) override { C(id).page = page; }
  int Position(int id) const override { return C(id).position; }
  void SetPosition(int id, int position) override {
    C(id).position = std::clamp(position, C(id).min, std::max(C(id).min, C(id).max));
  }
  bool IsShown(int id) const override { return C(id).shown; }
  void Show(int id, bool shown) override { C(id).shown = shown; }
  bool IsEnabled(int id) const override { return C(id).enabled; }
  void Enable(int id, bool enabled) override { C(id).enabled = enabled; }
  int ClientWidth(int id) const override { return C(id).client_width; }
  void SetPicture(int id, std::span<const std::uint8_t> bitmap_file) override {
    C(id).picture.assign(bitmap_file.begin(), bitmap_file.end());
  }

 private:
  // The control of that ID, or a fresh hidden, disabled stand-in for a missing one.
  Control& C(int id) const;
  template <class T>
  static T At(const std::vector<T>& v, int index) {
    return index >= 0 && index < int(v.size()) ? v[std::size_t(index)] : T{};
  }
  void Notify(int id, Notification notification) {
    if (events_ != nullptr && controls_.count(id)) events_->OnControl(id, notification);
  }

  mutable std::map<int, Control> controls_;
  std::vector<int> selected_;
  mutable Control missing_;
  ControlEvents* events_ = nullptr;
};

}  // namespace inkmark::testing
