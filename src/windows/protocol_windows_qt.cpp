#include "windows/protocol_windows_qt.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "ledger/ledger.h"
#include "windows/key_entry_template.h"
#include "windows/key_entry_window.h"
#include "windows/nv_manager_template.h"
#include "windows/nv_manager_window.h"
#include "windows/window_utils.h"

namespace inkmark {

void QtDialogHost::BeginBusy() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

void QtDialogHost::EndBusy() { QGuiApplication::restoreOverrideCursor(); }

int QtListBox::Append(std::string_view text) {
  list_.addItem(QString::fromLocal8Bit(text.data(), qsizetype(text.size())));
  return list_.count() - 1;
}

void QtListBox::Remove(int index) {
  if (index < 0 || index >= list_.count()) return;
  QSignalBlocker quiet(&list_);
  std::unique_ptr<QListWidgetItem> item(list_.takeItem(index));
}

std::string QtListBox::Item(int index) const {
  QListWidgetItem* item = list_.item(index);
  return item ? item->text().toLocal8Bit().toStdString() : std::string();
}

bool QtListBox::IsSelected(int index) const {
  QListWidgetItem* item = list_.item(index);
  return item && item->isSelected();
}

void QtListBox::SetSelected(int first, int last, bool selected) {
  // The program's own changes are not reported as the user's.
  QSignalBlocker quiet(&list_);
  for (int i = std::max(0, first); i <= last && i < list_.count(); ++i)
    list_.item(i)->setSelected(selected);
  list_.viewport()->update();
}

int RunKeyEntryWindow(QWidget* owner, LogoSession& session) {
  QtDialogView view(KeyEntryTemplate(), {}, owner);
  QtDialogHost host(view.dialog());
  KeyEntryWindow window(session, view, host);
  window.SetLedger(DefaultLedgerPath());
  view.SetEvents(&window);
  SetToolTips(view, KeyEntryToolTips());
  window.Open();
  // The key is typed at once: the field has the focus, its text selected.
  view.SelectText(kKeyEntryEdit);
  CenterWindowOnScreen(&view.dialog());
  int result = view.dialog().exec();
  view.SetEvents(nullptr);
  return result;
}

int RunNvManagerWindow(QWidget* owner, const LogoSession& session) {
  QtDialogView view(NvManagerTemplate(), {}, owner);
  const ControlTemplate& place = kNvKeyListPlacement;
  auto* list = new QListWidget(&view.dialog());
  list->setSelectionMode(QAbstractItemView::MultiSelection);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  PixelRect r = DialogToPixels(view.units(), place.x, place.y, place.width, place.height);
  list->setGeometry(r.x, r.y, r.width, r.height);
  SetToolTips(view, NvManagerToolTips());
  list->setToolTip(ToolTipText(NvManagerToolTips(), kNvKeyList));
  view.OrderTabsByLayout();
  // The label above the list names it: its mnemonic focuses the list.
  for (auto* label : view.dialog().findChildren<QLabel*>())
    if (label->text().contains('&')) label->setBuddy(list);
  QtListBox keys(*list);
  QtDialogHost host(view.dialog());
  NvManagerWindow window(session, view, keys, host);
  window.SetLedger(DefaultLedgerPath());
  view.SetEvents(&window);
  // The window has no cancel button: Escape closes it as its close box does.
  view.dialog().SetEscapeCloses(true);
  auto connection = QObject::connect(list, &QListWidget::itemSelectionChanged, list, [&window] {
    window.OnControl(kNvKeyList, Notification::kSelectionChanged);
  });
  window.Open();
  CenterWindowOnScreen(&view.dialog());
  int result = view.dialog().exec();
  // The list outlives the window logic it reports to.
  QObject::disconnect(connection);
  view.SetEvents(nullptr);
  return result;
}

}  // namespace inkmark
