// Message boxes: one interface, so that the program shows Qt boxes, tests record
// and answer them, and headless programs write them to standard error.
#pragma once

#include <string>

#include "platform/failure.h"

namespace inkmark {

// The window that owns a box; nullptr means no owner. In the program it is the
// address of the owning QWidget.
using WindowHandle = const void*;

// Passed as owner to mean "no owner window", as the module instance is.
extern const WindowHandle kAppInstance;

// Button sets (the low bits of a style).
enum MessageStyle : unsigned {
  kMbOk = 0x0,
  kMbYesNo = 0x4,
  kMbRetryCancel = 0x5,
  kMbButtonMask = 0xF,
};

// Which button ended the box.
enum MessageResult : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdRetry = 4,
  kIdYes = 6,
  kIdNo = 7,
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows one box and returns the button that ended it.
  virtual int Show(WindowHandle owner, const std::string& caption, const std::string& text,
                   unsigned style) = 0;
};

// Writes each box to standard error and answers it without asking: OK, No or
// Cancel, whichever the box offers, so that nothing irreversible happens unasked.
class StderrMessageBoxes final : public MessageBoxes {
 public:
  int Show(WindowHandle owner, const std::string& caption, const std::string& text,
           unsigned style) override;
};

// The boxes the program shows through; standard error until a program sets its own.
MessageBoxes& CurrentMessageBoxes();
// Sets the boxes to use (nullptr restores standard error); the caller keeps ownership.
void SetMessageBoxes(MessageBoxes* boxes);

// Shows string `id` (at most 127 characters), with `arg` put in place of its "%s"
// when `arg` is given (the result at most 255 characters), titled with the
// program caption. An owner of kAppInstance or nullptr gives a box with no owner.
int ShowMessage(WindowHandle owner, int id, const char* arg = nullptr, unsigned style = kMbOk);

// ShowMessage with the reason on a second line: the standard text first, then
// the words of whoever saw the fault.
int ShowFailure(WindowHandle owner, int id, const Failure& why, const char* arg = nullptr,
                unsigned style = kMbOk);

// Formats a string-table text with one argument as ShowMessage does.
std::string FormatMessageText(int id, const char* arg);

}  // namespace inkmark
