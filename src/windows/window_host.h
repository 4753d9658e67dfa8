// What a modal window of the protocol needs from around it: the wait cursor,
// the owner of its message boxes, and its own end.
#pragma once

#include "platform/message_box.h"

namespace inkmark {

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void BeginBusy() = 0;
  virtual void EndBusy() = 0;
  // Ends the modal window with `result`.
  virtual void EndDialog(int result) = 0;
  // The window the boxes belong to.
  virtual WindowHandle Owner() const = 0;
};

// The wait cursor for the life of a scope; Release restores it early, so that
// a message can be shown under the normal cursor.
class WaitCursor {
 public:
  explicit WaitCursor(DialogHost& host) : host_(&host) { host_->BeginBusy(); }
  ~WaitCursor() { Release(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  void Release() {
    if (host_ != nullptr) host_->EndBusy();
    host_ = nullptr;
  }

 private:
  DialogHost* host_;
};

}  // namespace inkmark
