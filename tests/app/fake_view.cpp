#include "fake_view.h"

namespace inkmark::testing {

FakeView::FakeView(const DialogTemplate& dialog, DialogUnits units) {
  for (const ControlTemplate& t : dialog.controls) {
    if (t.id == kNoControlId || controls_.count(t.id)) continue;
    Control c;
    c.kind = t.kind;
    c.text = std::string(t.caption);
    // A frame's client area lies inside its one-pixel border on each side.
    c.client_width = DialogToPixels(units, t.x, t.y, t.width, t.height).width -
                     (t.kind == ControlKind::kSunkenFrame ? 2 : 0);
    controls_[t.id] = c;
  }
}

const FakeView::Control& FakeView::Get(int id) const {
  static const Control kMissing = [] {
    Control c;
    c.shown = c.enabled = false;
    return c;
  }();
  auto it = controls_.find(id);
  return it == controls_.end() ? kMissing : it->second;
}

FakeView::Control& FakeView::Find(int id) {
  auto it = controls_.find(id);
  if (it != controls_.end()) return it->second;
  scratch_ = Control{};
  return scratch_;
}

void FakeView::UserSelect(int id, int index) {
  SetSelection(id, index);
  Notify(id, Notification::kSelectionChanged);
}

void FakeView::UserClick(int id) {
  Control& c = Find(id);
  if (c.kind == ControlKind::kCheckBox) c.checked = !c.checked;
  if (c.kind == ControlKind::kRadioButton) {
    // Auto radio buttons of one window form one set.
    for (auto& [other_id, other] : controls_)
      if (other.kind == ControlKind::kRadioButton) other.checked = false;
    c.checked = true;
  }
  Notify(id, Notification::kClicked);
}

void FakeView::UserType(int id, const std::string& text) {
  if (!controls_.count(id)) return;
  Control& c = Find(id);
  c.text = c.limit >= 0 ? text.substr(0, std::size_t(c.limit)) : text;
  Notify(id, Notification::kTextChanged);
}

void FakeView::UserScroll(int id, int position) {
  if (!controls_.count(id)) return;
  SetPosition(id, position);
  Notify(id, Notification::kScrolled);
}

std::string FakeView::Text(int id) const {
  const Control& c = Get(id);
  if (c.kind == ControlKind::kDropDownList) return ItemText(id, c.selection);
  return c.text;
}

void FakeView::SetText(int id, std::string_view text) {
  Control& c = Find(id);
  c.text = std::string(text);
  if (c.kind == ControlKind::kEdit) Notify(id, Notification::kTextChanged);
}

void FakeView::ClearList(int id) {
  Control& c = Find(id);
  c.items.clear();
  c.data.clear();
  c.selection = -1;
}

int FakeView::AddItem(int id, std::string_view text) {
  Control& c = Find(id);
  if (c.kind != ControlKind::kDropDownList) return -1;
  c.items.emplace_back(text);
  c.data.push_back(0);
  return int(c.items.size()) - 1;
}

void FakeView::SetItemData(int id, int index, std::intptr_t data) {
  Control& c = Find(id);
  if (index >= 0 && index < int(c.data.size())) c.data[std::size_t(index)] = data;
}

void FakeView::SetRange(int id, int min, int max) {
  Control& c = Find(id);
  c.min = min;
  c.max = max;
  c.position = std::clamp(c.position, min, std::max(min, max));
}

void FakeView::SetPosition(int id, int position) {
  Control& c = Find(id);
  c.position = std::clamp(position, c.min, std::max(c.min, c.max));
}

void FakeView::SetPicture(int id, std::span<const std::uint8_t> bitmap_file) {
  Control& c = Find(id);
  c.picture.assign(bitmap_file.begin(), bitmap_file.end());
  ++c.pictures_set;
}

}  // namespace inkmark::testing
