// The view a window's logic works through: its controls, keyed by control ID.
// The program implements it over Qt widgets; tests implement it in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace inkmark {

// What a control reports when the user acts on it.
enum class Notification {
  kClicked,           // push button, check box, radio button
  kSelectionChanged,  // drop-down list
  kTextChanged,       // edit, also when the program sets its text
  kScrolled,          // track bar: each move and the end of a drag
  kFocusChanged,      // notifying check box gained or lost the focus
};

// The receiver of a window's notifications.
class ControlEvents {
 public:
  virtual ~ControlEvents() = default;
  virtual void OnControl(int id, Notification notification) = 0;
  // The close box was pressed.
  virtual void OnCloseBox() = 0;
};

// Every call naming an ID the window lacks is ignored (queries answer empty,
// -1 or false), as the platform's dialog calls are.
class ControlView {
 public:
  virtual ~ControlView() = default;

  // Caption of a button or label, text of an edit, selected text of a list.
  virtual std::string Text(int id) const = 0;
  // Setting an edit's text reports kTextChanged, as the user's typing does.
  virtual void SetText(int id, std::string_view text) = 0;
  virtual void SetTextLimit(int id, int chars) = 0;
  // An edit whose text is held in `code_page` (1252 or a double-byte page):
  // Text and SetText carry bytes of that page and the limit counts those bytes,
  // never splitting a character. 0, the default, is the file system's encoding.
  virtual void SetCodePage(int id, int code_page) = 0;
  // The text of an edit in its code page; nullopt when it holds a character
  // the page has no code for.
  virtual std::optional<std::string> EncodedText(int id) const = 0;
  // Gives an edit the focus with its whole text selected, so that typing
  // replaces it.
  virtual void SelectText(int id) = 0;

  // Drop-down lists. A selection outside the items leaves none (-1).
  virtual void ClearList(int id) = 0;
  virtual int AddItem(int id, std::string_view text) = 0;  // index of the new item
  virtual int ItemCount(int id) const = 0;
  virtual std::string ItemText(int id, int index) const = 0;
  virtual int Selection(int id) const = 0;
  virtual void SetSelection(int id, int index) = 0;
  virtual void SetItemData(int id, int index, std::intptr_t data) = 0;
  virtual std::intptr_t ItemData(int id, int index) const = 0;

  // Check boxes and radio buttons.
  virtual bool IsChecked(int id) const = 0;
  virtual void SetCheck(int id, bool checked) = 0;

  // Track bars. Setting them reports nothing.
  virtual void SetRange(int id, int min, int max) = 0;
  virtual void SetPageSize(int id, int page) = 0;
  virtual int Position(int id) const = 0;
  virtual void SetPosition(int id, int position) = 0;

  virtual bool IsShown(int id) const = 0;
  virtual void Show(int id, bool shown) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void Enable(int id, bool enabled) = 0;

  // The width in pixels of a control's client area (inside its frame).
  virtual int ClientWidth(int id) const = 0;

  // The picture a preview frame paints (a whole bitmap file image; empty paints
  // the frame white). The view keeps its own copy.
  virtual void SetPicture(int id, std::span<const std::uint8_t> bitmap_file) = 0;
};

}  // namespace inkmark
