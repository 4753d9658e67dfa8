#include "support/fake_view.h"

namespace inkmark::testing {

FakeView::FakeView(const DialogTemplate& dialog, DialogUnits units) {
  for (const ControlTemplate& t : dialog.controls) {
    if (t.id == kNoControlId || controls_.count(t.id)) continue;
    // A frame's client area lies inside its one-pixel border on each side.
    Control& c = controls_[t.id];
    c.kind = t.kind;
    c.text = std::string(t.caption);
    c.client_width = DialogToPixels(units, t.x, t.y, t.width, t.height).width -
                     (t.kind == ControlKind::kSunkenFrame ? 2 : 0);
  }
}

FakeView::Control& FakeView::C(int id) const {
  auto it = controls_.find(id);
  if (it != controls_.end()) return it->second;
  missing_ = Control{};
  missing_.shown = missing_.enabled = false;
  return missing_;
}

void FakeView::UserClick(int id) {
  Control& c = C(id);
  if (c.kind == ControlKind::kCheckBox) c.checked = !c.checked;
  if (c.kind == ControlKind::kRadioButton) {
    // Auto radio buttons of one window form one set.
    for (auto& [other_id, other] : controls_)
      if (other.kind == ControlKind::kRadioButton) other.checked = false;
    c.checked = true;
  }
  Notify(id, Notification::kClicked);
}

int FakeView::AddItem(int id, std::string_view text) {
  Control& c = C(id);
  if (c.kind != ControlKind::kDropDownList) return -1;
  c.items.emplace_back(text);
  c.data.push_back(0);
  return int(c.items.size()) - 1;
}

}  // namespace inkmark::testing
