// The key-entry and NV manager windows on screen, each run modally over the
// session and owned by the main window.
#pragma once

#include <QListWidget>
#include <memory>

#include "platform/qt_view.h"
#include "session/session.h"
#include "windows/list_box_view.h"
#include "windows/window_host.h"

namespace inkmark {

// A template dialog as the protocol windows' host: the wait cursor, the owner
// of their boxes and their end.
class QtDialogHost final : public DialogHost {
 public:
  explicit QtDialogHost(TemplateDialog& dialog) : dialog_(dialog) {}
  void BeginBusy() override;
  void EndBusy() override;
  void EndDialog(int result) override { dialog_.done(result); }
  WindowHandle Owner() const override { return static_cast<const QWidget*>(&dialog_); }

 private:
  TemplateDialog& dialog_;
};

// A list widget in which each click toggles one item, as a ListBoxView.
class QtListBox final : public ListBoxView {
 public:
  explicit QtListBox(QListWidget& list) : list_(list) {}
  void Clear() override { list_.clear(); }
  int Append(std::string_view text) override;
  void Remove(int index) override;
  int Count() const override { return list_.count(); }
  std::string Item(int index) const override;
  bool IsSelected(int index) const override;
  void SetSelected(int first, int last, bool selected) override;

 private:
  QListWidget& list_;
};

// Runs "KEYIN" with the session; it registers the logo, or writes the command
// file when the session's save_as_command_file is 1.
int RunKeyEntryWindow(QWidget* owner, LogoSession& session);
// Runs "NVMANAGE" with the session.
int RunNvManagerWindow(QWidget* owner, const LogoSession& session);

}  // namespace inkmark
