// The ink colours: the colour lists, the ink rule and how the lists draw.
#include "platform/text.h"
#include "session/ink_rules.h"
#include "windows/main_ids.h"
#include "windows/main_window.h"

namespace inkmark {

ColorItemLook ColorItemLookFor(std::string_view name, bool disabled) {
  if (disabled) return {0, 108};
  struct Entry {
    std::string_view name;
    std::int32_t color;
    int swatch;
  };
  static constexpr Entry kEntries[] = {{"Black", kColorBlack, 104},
                                       {"Red", kColorRed, 105},
                                       {"Green", kColorGreen, 106},
                                       {"Blue", kColorBlue, 107}};
  for (const Entry& e : kEntries)
    if (EqualsNoCase(name, e.name)) return {e.color, e.swatch};
  return {kColorBlack, 108};
}

// Lists 1015 and 1039 offer the 1st colour and, when there is one, the 2nd.
void MainWindow::FillInkLists() {
  const PrinterProfile* p = Profile();
  for (int id : {int(kIdMonoColor), int(kIdTextColor)}) {
    view_.ClearList(id);
    if (p == nullptr) continue;
    view_.AddItem(id, p->first_colors.Selected());
    if (session_.second_color != kNoInk) view_.AddItem(id, p->second_colors.Selected());
  }
}

void MainWindow::SetUpColors() {
  if (Profile() == nullptr) return;
  SetInksFromProfile(session_);
  FillInkLists();
  view_.SetSelection(kIdMonoColor, 0);
  view_.SetSelection(kIdTextColor, 0);
  ApplyInkRule();
}

void MainWindow::UpdateColors() {
  PrinterProfile* p = Profile();
  if (p == nullptr) return;
  int first = view_.Selection(kIdFirstColor);
  int second = view_.Selection(kIdSecondColor);
  int mono = view_.Selection(kIdMonoColor);
  if (first != p->first_colors.sel || second != p->second_colors.sel) {
    if (second != p->second_colors.sel && ColorFromName(p->second_colors.At(second)) == kNoInk) {
      mono = 0;
      if (session_.source_kind == kSourceDocument) pipeline_.ResetSecondColorItems(session_);
    }
    p->first_colors.sel = first;
    p->second_colors.sel = second;
    SetInksFromProfile(session_);
    FillInkLists();
    view_.SetSelection(kIdMonoColor, mono);
    if (session_.source_kind == kSourceDocument) {
      int item = view_.Selection(kIdItemList);
      if (item >= 0) view_.SetSelection(kIdTextColor, pipeline_.Item(session_, item).color_index);
    }
  }
  ApplyInkRule();
}

void MainWindow::ApplyInkRule() { inkmark::ApplyInkRule(session_, view_.Selection(kIdMonoColor)); }

}  // namespace inkmark
