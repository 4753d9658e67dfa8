// Message boxes shown as Qt message boxes, for the windowed programs.
#pragma once

#include "platform/message_box.h"

namespace inkmark {

class QtMessageBoxes final : public MessageBoxes {
 public:
  int Show(WindowHandle owner, const std::string& caption, const std::string& text,
           unsigned style) override;
};

}  // namespace inkmark
