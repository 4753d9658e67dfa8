// The ink colours: the colour lists, the ink rule and how the lists draw.
#include "platform/string_table.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "session/ink_rules.h"
#include "windows/main_ids.h"
#include "windows/main_window.h"

namespace inkmark {

namespace {

constexpr int kInkNames[] = {kStrBlack, kStrRed, kStrGreen, kStrBlue};

}  // namespace

ColorItemLook ColorItemLookFor(std::string_view name, bool disabled) {
  if (disabled) return {0, 108};
  struct Entry {
    int id;
    std::int32_t color;
    int swatch;
  };
  static constexpr Entry kEntries[] = {{kStrBlack, kColorBlack, 104},
                                       {kStrRed, kColorRed, 105},
                                       {kStrGreen, kColorGreen, 106},
                                       {kStrBlue, kColorBlue, 107}};
  // The item shows the name in the user's language or as the file has it.
  for (const Entry& e : kEntries)
    if (EqualsNoCase(name, EnglishString(e.id)) || name == LoadString(e.id, 15))
      return {e.color, e.swatch};
  return {kColorBlack, 108};
}

std::string ShownChoiceName(std::string_view name) {
  for (int id : kInkNames) {
    if (!EqualsNoCase(name, EnglishString(id))) continue;
    std::string shown = LoadString(id, 15);
    return shown == EnglishString(id) ? std::string(name) : shown;
  }
  for (const char* parity : {"None", "Even", "Odd"}) {
    if (!EqualsNoCase(name, parity)) continue;
    std::string shown = Translate("MAIN", parity);
    return shown == parity ? std::string(name) : shown;
  }
  return std::string(name);
}

// Lists 1015 and 1039 offer the 1st colour and, when there is one, the 2nd.
void MainWindow::FillInkLists() {
  const PrinterProfile* p = Profile();
  for (int id : {int(kIdMonoColor), int(kIdTextColor)}) {
    view_.ClearList(id);
    if (p == nullptr) continue;
    view_.AddItem(id, ShownChoiceName(p->first_colors.Selected()));
    if (session_.second_color != kNoInk)
      view_.AddItem(id, ShownChoiceName(p->second_colors.Selected()));
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
