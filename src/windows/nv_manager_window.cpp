#include "windows/nv_manager_window.h"

#include <string>
#include <vector>

#include "ledger/ledger.h"
#include "platform/string_table.h"
#include "ports/open_port.h"
#include "protocol/transaction.h"
#include "windows/ledger_record.h"
#include "windows/nv_manager_template.h"

namespace inkmark {
namespace {

// The key an item shows; items are only ever made from listed keys, and
// what the ledger knows of a key follows its two characters.
NvKey KeyOfItem(const std::string& text) {
  return MakeNvKey(text.size() > 0 ? text[0] : ' ', text.size() > 1 ? text[1] : ' ');
}

std::string KeyText(const std::string& item) { return item.substr(0, 2); }

}  // namespace

void NvManagerWindow::Open() {
  view_.Enable(kNvSelectAll, false);
  EnableSelectionButtons(false);
}

void NvManagerWindow::EnableSelectionButtons(bool enabled) {
  view_.Enable(kNvDelete, enabled);
  view_.Enable(kNvPrint, enabled);
  view_.Enable(kNvRemoveSelect, enabled);
}

void NvManagerWindow::OnControl(int id, Notification notification) {
  if (id == kNvKeyList) {
    if (notification == Notification::kSelectionChanged) OnSelectionChanged();
    return;
  }
  if (notification != Notification::kClicked) return;
  switch (id) {
    case kNvGetKeys:
      GetKeyList();
      return;
    case kNvSelectAll:
      SelectAll();
      return;
    case kNvRemoveSelect:
      RemoveSelection();
      return;
    case kNvPrint:
      PrintSelected();
      return;
    case kNvDelete:
      DeleteSelected();
      return;
    case kNvClose:
      host_.EndDialog(1);
      return;
  }
}

void NvManagerWindow::OnCloseBox() { host_.EndDialog(1); }

void NvManagerWindow::GetKeyList() {
  WaitCursor wait(host_);
  auto opened = OpenPrinterPort(session_);
  if (!opened) {
    wait.Release();
    ShowFailure(host_.Owner(), kStrPortOpenFailed, opened.failure());
    return;
  }
  std::unique_ptr<PortDriver> port = std::move(*opened);
  std::vector<NvKey> keys;
  auto listed = ListStoredKeys(*port, keys);
  ClosePrinterPort(std::move(port));
  wait.Release();
  if (!listed) {
    // The keys that came before the list broke off are shown, but the list is
    // not taken for all there is.
    if (!keys.empty()) ShowKeys(keys);
    ShowFailure(host_.Owner(), kStrKeyListFailed, listed.failure());
    return;
  }
  const std::int32_t count = *listed;
  if (count == 0) {
    // The list keeps what it showed, and the buttons their states.
    ShowMessage(host_.Owner(), kStrNoKeys);
    return;
  }
  ShowKeys(keys);
}

void NvManagerWindow::ShowKeys(const std::vector<NvKey>& keys) {
  keys_.Clear();
  // A ledger that cannot be read adds nothing: the keys are what matters here.
  std::optional<Ledger> ledger;
  const PrinterProfile* profile = session_.CurrentProfile();
  if (!ledger_.empty() && profile && profile->ports.HasSelection())
    ledger = Ledger::Open(ledger_, LedgerMode::kRead).ToOptional();
  for (const NvKey& key : keys) {
    std::string item(key.data(), 2);
    auto last = ledger ? ledger->Last(profile->ports.Selected(), item)
                       : Result<std::optional<LedgerEntry>>(std::nullopt);
    if (last && *last && (*last)->stores())
      item += "  " + (*last)->source_name + "  " + LedgerTimeText((*last)->time).substr(0, 10);
    keys_.Append(item);
  }
  EnableSelectionButtons(false);
  view_.Enable(kNvSelectAll, true);
}

void NvManagerWindow::OnSelectionChanged() { EnableSelectionButtons(keys_.SelectedCount() > 0); }

void NvManagerWindow::SelectAll() {
  int count = keys_.Count();
  if (count == 0) return;
  keys_.SetSelected(0, count - 1, true);
  EnableSelectionButtons(true);
}

void NvManagerWindow::RemoveSelection() {
  keys_.SetSelected(0, keys_.Count() - 1, false);
  EnableSelectionButtons(false);
}

void NvManagerWindow::PrintSelected() {
  if (keys_.SelectedCount() == 0) return;
  for (int i = 0; i < keys_.Count(); ++i) {
    if (!keys_.IsSelected(i)) continue;
    std::string text = KeyText(keys_.Item(i));
    WaitCursor wait(host_);
    std::int32_t result = PrintNvGraphics(session_, KeyOfItem(text));
    wait.Release();
    // One failed key does not keep the others from printing.
    if (result != 1) ShowMessage(host_.Owner(), kStrPrintFailed, text.c_str());
  }
}

void NvManagerWindow::DeleteSelected() {
  if (keys_.SelectedCount() == 0) return;
  int count = keys_.Count();
  int i = 0;
  while (i < count) {
    if (!keys_.IsSelected(i)) {
      ++i;
      continue;
    }
    std::string text = KeyText(keys_.Item(i));
    if (ShowMessage(host_.Owner(), kStrAskDelete, text.c_str(), kMbYesNo) != kIdYes) {
      ++i;
      continue;
    }
    WaitCursor wait(host_);
    if (DeleteNvGraphics(session_, KeyOfItem(text)) == 1) {
      // The key is gone whether or not the ledger takes the note of it.
      (void)RecordInLedger(ledger_, session_, LedgerAction::kDelete, KeyOfItem(text));
      // The next item moves into place i.
      keys_.Remove(i);
      --count;
      continue;
    }
    wait.Release();
    ShowMessage(host_.Owner(), kStrDeleteFailed, text.c_str());
    ++i;
  }
  if (keys_.SelectedCount() == 0) EnableSelectionButtons(false);
}

}  // namespace inkmark
