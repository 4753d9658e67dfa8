#include "fake_view.h"

#include <algorithm>

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

FakeView::Control* FakeView::Find(int id) {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}

const FakeView::Control* FakeView::Find(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}

void FakeView::Notify(int id, Notification notification) {
  if (events_ != nullptr) events_->OnControl(id, notification);
}

void FakeView::UserSelect(int id, int index) {
  SetSelection(id, index);
  Notify(id, Notification::kSelectionChanged);
}

void FakeView::UserClick(int id) {
  if (Control* c = Find(id)) {
    if (c->kind == ControlKind::kCheckBox) c->checked = !c->checked;
    if (c->kind == ControlKind::kRadioButton) {
      // Auto radio buttons of one window form one set.
      for (auto& [other_id, other] : controls_)
        if (other.kind == ControlKind::kRadioButton) other.checked = false;
      c->checked = true;
    }
  }
  Notify(id, Notification::kClicked);
}

void FakeView::UserType(int id, const std::string& text) {
  if (Control* c = Find(id)) {
    c->text = c->limit >= 0 ? text.substr(0, std::size_t(c->limit)) : text;
    Notify(id, Notification::kTextChanged);
  }
}

void FakeView::UserScroll(int id, int position) {
  if (Control* c = Find(id)) {
    c->position = std::clamp(position, c->min, std::max(c->min, c->max));
    Notify(id, Notification::kScrolled);
  }
}

void FakeView::UserCloseBox() {
  if (events_ != nullptr) events_->OnCloseBox();
}

std::string FakeView::Text(int id) const {
  const Control* c = Find(id);
  if (c == nullptr) return {};
  if (c->kind == ControlKind::kDropDownList)
    return c->selection >= 0 ? c->items[std::size_t(c->selection)] : "";
  return c->text;
}

void FakeView::SetText(int id, std::string_view text) {
  Control* c = Find(id);
  if (c == nullptr) return;
  c->text = std::string(text);
  if (c->kind == ControlKind::kEdit) Notify(id, Notification::kTextChanged);
}

void FakeView::SetTextLimit(int id, int chars) {
  if (Control* c = Find(id)) c->limit = chars;
}

void FakeView::ClearList(int id) {
  if (Control* c = Find(id)) {
    c->items.clear();
    c->data.clear();
    c->selection = -1;
  }
}

int FakeView::AddItem(int id, std::string_view text) {
  Control* c = Find(id);
  if (c == nullptr || c->kind != ControlKind::kDropDownList) return -1;
  c->items.emplace_back(text);
  c->data.push_back(0);
  return int(c->items.size()) - 1;
}

int FakeView::ItemCount(int id) const {
  const Control* c = Find(id);
  return c ? int(c->items.size()) : 0;
}

std::string FakeView::ItemText(int id, int index) const {
  const Control* c = Find(id);
  return c && index >= 0 && index < int(c->items.size()) ? c->items[std::size_t(index)] : "";
}

int FakeView::Selection(int id) const {
  const Control* c = Find(id);
  return c ? c->selection : -1;
}

void FakeView::SetSelection(int id, int index) {
  if (Control* c = Find(id)) c->selection = index >= 0 && index < int(c->items.size()) ? index : -1;
}

void FakeView::SetItemData(int id, int index, std::intptr_t data) {
  Control* c = Find(id);
  if (c && index >= 0 && index < int(c->data.size())) c->data[std::size_t(index)] = data;
}

std::intptr_t FakeView::ItemData(int id, int index) const {
  const Control* c = Find(id);
  return c && index >= 0 && index < int(c->data.size()) ? c->data[std::size_t(index)] : 0;
}

bool FakeView::IsChecked(int id) const {
  const Control* c = Find(id);
  return c && c->checked;
}

void FakeView::SetCheck(int id, bool checked) {
  if (Control* c = Find(id)) c->checked = checked;
}

void FakeView::SetRange(int id, int min, int max) {
  if (Control* c = Find(id)) {
    c->min = min;
    c->max = max;
    c->position = std::clamp(c->position, min, std::max(min, max));
  }
}

void FakeView::SetPageSize(int id, int page) {
  if (Control* c = Find(id)) c->page = page;
}

int FakeView::Position(int id) const {
  const Control* c = Find(id);
  return c ? c->position : 0;
}

void FakeView::SetPosition(int id, int position) {
  if (Control* c = Find(id)) c->position = std::clamp(position, c->min, std::max(c->min, c->max));
}

bool FakeView::IsShown(int id) const {
  const Control* c = Find(id);
  return c && c->shown;
}

void FakeView::Show(int id, bool shown) {
  if (Control* c = Find(id)) c->shown = shown;
}

bool FakeView::IsEnabled(int id) const {
  const Control* c = Find(id);
  return c && c->enabled;
}

void FakeView::Enable(int id, bool enabled) {
  if (Control* c = Find(id)) c->enabled = enabled;
}

int FakeView::ClientWidth(int id) const {
  const Control* c = Find(id);
  return c ? c->client_width : 0;
}

void FakeView::SetPicture(int id, std::span<const std::uint8_t> bitmap_file) {
  if (Control* c = Find(id)) {
    c->picture.assign(bitmap_file.begin(), bitmap_file.end());
    ++c->pictures_set;
  }
}

}  // namespace inkmark::testing
