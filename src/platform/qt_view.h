// A dialog built from a template with Qt widgets, and the control view over it.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control_view.h"
#include "platform/dialog_template.h"

class QAbstractButton;
class QPainter;
class QRect;

namespace inkmark {

// Under a Japanese `language` ("ja"), the interface's texts take a
// proportional Japanese font where one is installed (Noto Sans CJK JP, else
// IPAPGothic): the application's font, and the windows built from templates
// for the characters their template font lacks. The font the system would pick
// is fixed-pitch, which makes Latin text look typed. "" restores the defaults.
// The face taken, or "" for none.
QString PreferInterfaceFont(std::string_view language);

// Draws one item of an owner-drawn list: the list's ID, the item rectangle, the
// item text, whether it is selected and whether the list is disabled.
using ItemPainter = std::function<void(int id, QPainter& painter, const QRect& rect,
                                       const QString& text, bool selected, bool disabled)>;

// The dialog itself: Escape presses the cancel button (control 2) if there is
// one, acts as the close box where the window asks for it, and does nothing
// otherwise; and the close box is reported to the events
// instead of closing the window.
class TemplateDialog : public QDialog {
 public:
  void SetEvents(ControlEvents* events) { events_ = events; }
  void SetCancelButton(QAbstractButton* button) { cancel_ = button; }
  // Escape acts as the close box in a window without a cancel button.
  void SetEscapeCloses(bool closes) { escape_closes_ = closes; }
  // Files dropped anywhere on the window go to `on_drop` (the first local
  // file of the drop, in the file system's encoding); the controls take no
  // drops of their own then.
  void SetFileDrop(std::function<void(const std::string& path)> on_drop);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  std::function<void(const std::string& path)> on_drop_;
  ControlEvents* events_ = nullptr;
  QAbstractButton* cancel_ = nullptr;
  bool escape_closes_ = false;
};

class QtDialogView final : public ControlView {
 public:
  // Builds every control of `dialog` in the template font; `painter` draws the
  // owner-drawn lists. Notifications go to `events` once it is set.
  QtDialogView(const DialogTemplate& dialog, ItemPainter painter, QWidget* parent = nullptr);
  ~QtDialogView() override;

  void SetEvents(ControlEvents* events);
  TemplateDialog& dialog() { return *dialog_; }
  QWidget* widget(int id) const;
  // Sets the tab order of every control that takes the focus, those added
  // after the template's included, to the layout: top to bottom, then left to
  // right, each group box's controls together in the place of the box.
  void OrderTabsByLayout();
  const DialogUnits& units() const { return units_; }

  std::string Text(int id) const override;
  void SetText(int id, std::string_view text) override;
  void SetTextLimit(int id, int chars) override;
  void SetCodePage(int id, int code_page) override;
  std::optional<std::string> EncodedText(int id) const override;
  void SelectText(int id) override;
  void ClearList(int id) override;
  int AddItem(int id, std::string_view text) override;
  int ItemCount(int id) const override;
  std::string ItemText(int id, int index) const override;
  int Selection(int id) const override;
  void SetSelection(int id, int index) override;
  void SetItemData(int id, int index, std::intptr_t data) override;
  std::intptr_t ItemData(int id, int index) const override;
  bool IsChecked(int id) const override;
  void SetCheck(int id, bool checked) override;
  void SetRange(int id, int min, int max) override;
  void SetPageSize(int id, int page) override;
  int Position(int id) const override;
  void SetPosition(int id, int position) override;
  bool IsShown(int id) const override;
  void Show(int id, bool shown) override;
  bool IsEnabled(int id) const override;
  void Enable(int id, bool enabled) override;
  int ClientWidth(int id) const override;
  void SetPicture(int id, std::span<const std::uint8_t> bitmap_file) override;

 private:
  QWidget* Build(const ControlTemplate& control);
  static void SetBuddies(const DialogTemplate& dialog, const std::vector<QWidget*>& built);
  void Notify(int id, Notification notification);
  template <typename T>
  T* As(int id) const;
  // An edit's code page (0 the file system's encoding) and its limit (-1 none).
  struct EditEncoding {
    int code_page = 0;
    int limit = -1;
  };
  void ApplyEncoding(int id);

  std::unique_ptr<TemplateDialog> dialog_;
  ItemPainter painter_;
  DialogUnits units_;
  std::string context_;  // the template's name, which its translations go by
  std::map<int, QWidget*> controls_;
  std::map<int, EditEncoding> encodings_;
  ControlEvents* events_ = nullptr;
  int quiet_ = 0;  // > 0 while the program itself moves a track bar
};

}  // namespace inkmark
