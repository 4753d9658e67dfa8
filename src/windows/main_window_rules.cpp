// The picture and conversion controls: what is shown and enabled for each
// source and item, the level sliders, and the reactions to these controls.
#include "document/text_limit.h"
#include "platform/paths.h"
#include "platform/translation.h"
#include "session/ink_rules.h"
#include "windows/main_ids.h"
#include "windows/main_window.h"

namespace inkmark {
namespace {

constexpr int kTextControls[] = {kIdItemTextLabel, kIdItemText, kIdTextColorLabel, kIdTextColor};
constexpr int kImageControls[] = {kIdMonochrome, kIdMonoColor, kIdProcessingLabel, kIdCoarseLabel,
                                  kIdProcessing, kIdFineLabel, kIdReviseGroup,     kIdRLabel,
                                  kIdAdjustR,    kIdGLabel,    kIdAdjustG,         kIdBLabel,
                                  kIdAdjustB};
constexpr int kAttachColumnLabels[] = {kIdAttachFirstLabel, kIdAttachSecondLabel,
                                       kIdAttachWhiteLabel};
constexpr int kSourceCommands[] = {kIdPreview, kIdPrintToFile, kIdTestPrint, kIdRegister};

template <std::size_t N>
void ShowAll(ControlView& view, const int (&ids)[N], bool shown) {
  for (int id : ids) view.Show(id, shown);
}

}  // namespace

void MainWindow::ShowAttach(bool shown) {
  for (int id : {int(kIdAttachGroup), int(kIdAutomatic), int(kIdManual)}) view_.Show(id, shown);
  ShowAll(view_, kAttachColumnLabels, shown);
  ShowAll(view_, kLevelLabelIds, shown);
  ShowAll(view_, kLevelSliderIds, shown);
}

void MainWindow::ApplySourceKindRules() {
  view_.Enable(kIdEdit, false);
  for (int id : kSourceCommands) view_.Enable(id, false);
  const int kind = session_.source_kind;
  if (kind == kSourceDocument && session_.item_count() > 0) {
    view_.Show(kIdItemList, true);
    view_.ClearList(kIdItemList);
    view_.Show(kIdFitToWidth, true);
    for (int i = 0; i < session_.item_count(); ++i) {
      std::string entry =
          Translate("MAIN", pipeline_.Item(session_, i).is_text ? "Text %1" : "Image %1");
      entry.replace(entry.find("%1"), 2, std::to_string(i + 1));
      view_.AddItem(kIdItemList, entry);
    }
    session_.item_index = 0;
    view_.SetSelection(kIdItemList, 0);
    ApplyItemRules();
    if (!editor_path_.empty()) view_.Enable(kIdEdit, true);
    for (int id : kSourceCommands) view_.Enable(id, true);
  } else if (kind >= kSourceBitmap && kind <= kSourceOtherPicture) {
    view_.Show(kIdItemList, false);
    ApplyItemRules();
    for (int id : kSourceCommands) view_.Enable(id, true);
    ShowAll(view_, kImageControls, true);
    // A picture keeps the grade, R, G, B and Monochrome of the last conversion;
    // the controls may still show a text item's zeros, so they take them again.
    ShowConversionControls();
    view_.Show(kIdFitToWidth, true);
    ShowAttachControls();
    session_.params.attach_manual = 0;
    const ConversionParams startup = StartupConversionParams();
    std::copy(std::begin(startup.level_attach), std::end(startup.level_attach),
              std::begin(session_.params.level_attach));
    UpdateLevelSliders();
  } else {
    // No usable source, and also a document without items: nothing to edit.
    view_.Show(kIdItemList, false);
    ShowAll(view_, kTextControls, false);
    ShowAll(view_, kImageControls, false);
    view_.Show(kIdFitToWidth, false);
    HideAttachControls();
  }
}

void MainWindow::ApplyItemRules() {
  ShowAll(view_, kTextControls, false);
  ShowAll(view_, kImageControls, false);
  HideAttachControls();
  if (session_.source_kind != kSourceDocument || session_.item_count() < 1) return;
  ItemState item = pipeline_.Item(session_, session_.item_index);
  if (item.is_text) {
    ShowAll(view_, kTextControls, true);
    ShowItemText(item);
    // The list shows the item's own colour, which the next conversion copies back.
    view_.SetSelection(kIdTextColor, item.color_index);
  } else {
    ShowAll(view_, kImageControls, true);
    ShowAttachControls();
    session_.params = item.params;
    LoadItemControls(item);
    session_.monochrome = item.monochrome;
    UpdateLevelSliders();
  }
}

// The sliders and the Monochrome box show the values the next conversion uses.
void MainWindow::ShowConversionControls() {
  const ConversionParams& params = session_.params;
  view_.SetPosition(kIdProcessing, int(params.processing));
  view_.SetPosition(kIdAdjustR, int(params.adjust_r));
  view_.SetPosition(kIdAdjustG, int(params.adjust_g));
  view_.SetPosition(kIdAdjustB, int(params.adjust_b));
  const bool mono = session_.monochrome != 0;
  view_.SetCheck(kIdMonochrome, mono);
  view_.Enable(kIdMonoColor, mono);
}

// The sliders and the Monochrome box take an item's stored values.
void MainWindow::LoadItemControls(const ItemState& item) {
  view_.SetPosition(kIdProcessing, int(item.params.processing));
  view_.SetPosition(kIdAdjustR, int(item.params.adjust_r));
  view_.SetPosition(kIdAdjustG, int(item.params.adjust_g));
  view_.SetPosition(kIdAdjustB, int(item.params.adjust_b));
  bool mono = !item.is_text && item.monochrome != 0;
  view_.SetCheck(kIdMonochrome, mono);
  view_.Enable(kIdMonoColor, mono);
  if (mono) view_.SetSelection(kIdMonoColor, item.color_index);
}

void MainWindow::UpdateLevelSliders() {
  const ConversionParams& params = session_.params;
  const bool mono = session_.monochrome != 0;
  for (int level = 0; level < 8; ++level) {
    int id = kLevelSliderIds[level];
    view_.SetRange(id, 0, mono ? 1 : 2);
    view_.SetPageSize(id, 1);
    std::uint16_t entry = params.level_attach[level];
    view_.SetPosition(id, mono ? entry >> 8 : entry & 0xFF);
  }
  bool coarse = params.processing == 0;
  view_.Enable(kIdAutomatic, coarse);
  view_.Enable(kIdManual, coarse);
  bool manual = params.attach_manual == 1;
  if (coarse) {
    view_.SetCheck(kIdManual, manual);
    view_.SetCheck(kIdAutomatic, !manual);
  }
  bool levels = coarse && manual;
  for (int id : kAttachColumnLabels) view_.Enable(id, levels);
  for (int id : kLevelLabelIds) view_.Enable(id, levels);
  for (int id : kLevelSliderIds) view_.Enable(id, levels);
}

int MainWindow::StoreLevelAttach(int slider_id, int position) {
  int level = LevelOfSlider(slider_id);
  if (level < 0) return 0;
  std::uint16_t entry = LevelAttachFor(position, session_.monochrome != 0);
  if (session_.params.level_attach[level] == entry) return 0;
  session_.params.level_attach[level] = entry;
  return 1;
}

void MainWindow::OnPictureControl(int id) {
  ConversionParams& params = session_.params;
  switch (id) {
    case kIdMonochrome: {
      bool checked = view_.IsChecked(kIdMonochrome);
      session_.monochrome = checked ? 1 : 0;
      view_.Enable(kIdMonoColor, checked);
      UpdateColors();
      UpdateLevelSliders();
      RefreshConverted();
      return;
    }
    case kIdFitToWidth: {
      bool checked = view_.IsChecked(kIdFitToWidth);
      session_.fit_to_width = checked ? 1 : 0;
      if (session_.source_kind == kSourceDocument) {
        pipeline_.MakeSourcePreviews(session_);
      } else {
        session_.source_shown = checked ? ShownSource::kFit : ShownSource::kCut;
      }
      RefreshConverted();
      PaintLeft();
      return;
    }
    case kIdProcessing: {
      int position = view_.Position(kIdProcessing);
      std::uint32_t grade = position <= 0 ? 0 : position == 1 ? 1 : 2;
      if (grade == params.processing) return;
      params.processing = grade;
      UpdateLevelSliders();
      RefreshConverted();
      return;
    }
    case kIdAdjustR:
      params.adjust_r = std::uint32_t(view_.Position(id));
      RefreshConverted();
      return;
    case kIdAdjustG:
      params.adjust_g = std::uint32_t(view_.Position(id));
      RefreshConverted();
      return;
    case kIdAdjustB:
      params.adjust_b = std::uint32_t(view_.Position(id));
      RefreshConverted();
      return;
    case kIdAutomatic:
    case kIdManual: {
      if (view_.IsChecked(id)) {
        params.attach_manual = id == kIdManual ? 1 : 0;
        view_.SetCheck(id == kIdManual ? kIdAutomatic : kIdManual, false);
      }
      UpdateLevelSliders();
      RefreshConverted();
      return;
    }
    default:
      if (LevelOfSlider(id) >= 0 && StoreLevelAttach(id, view_.Position(id)) == 1)
        RefreshConverted();
      return;
  }
}

void MainWindow::SelectItem(int index) {
  if (index < 0 || index >= session_.item_count() || index == session_.item_index) return;
  ItemState previous = pipeline_.Item(session_, session_.item_index);
  ItemState item = pipeline_.Item(session_, index);
  session_.item_index = index;
  if (item.is_text != previous.is_text) ApplyItemRules();
  LoadItemControls(item);
  if (!item.is_text) {
    session_.params = item.params;
    session_.monochrome = item.monochrome;
    ShowAttachControls();
    UpdateLevelSliders();
    BusyCursor busy(host_);
    RefreshConverted();
  } else {
    ShowItemText(item);
    HideAttachControls();
    view_.SetSelection(kIdTextColor, item.color_index);
  }
}

// The edit shows the item's text in the item's own code page. Filling it is
// not an edit: bytes that do not decode must not come back changed.
void MainWindow::ShowItemText(const ItemState& item) {
  showing_item_text_ = true;
  view_.SetCodePage(kIdItemText, item.code_page);
  view_.SetText(kIdItemText, item.text);
  showing_item_text_ = false;
}

void MainWindow::ChangeItemText() {
  if (showing_item_text_) return;
  int index = view_.Selection(kIdItemList);
  if (session_.source_kind != kSourceDocument || index < 0 || index >= session_.item_count())
    return;
  ItemState item = pipeline_.Item(session_, index);
  if (!item.is_text) return;
  std::optional<std::string> text = view_.EncodedText(kIdItemText);
  if (!text || !CheckTextLength(text->size())) {
    // An edit the item cannot hold (a character without a code in its page, or
    // a text past the limit) is refused whole: the item's text comes back.
    ShowItemText(item);
    return;
  }
  if (*text == item.text) return;
  pipeline_.SetItemText(session_, index, *text);
  text_changed_ = true;
  BusyCursor busy(host_);
  RefreshAll();
}

}  // namespace inkmark
