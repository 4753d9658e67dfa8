// A message-box fake: records every box and answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace inkmark::testing {

struct RecordedBox {
  WindowHandle owner;
  std::string caption;
  std::string text;
  unsigned style;
};

class RecordingMessageBoxes final : public MessageBoxes {
 public:
  // Installs itself as the program's boxes for its lifetime.
  RecordingMessageBoxes();
  ~RecordingMessageBoxes() override;

  int Show(WindowHandle owner, const std::string& caption, const std::string& text,
           unsigned style) override;

  // Answers the next boxes in order; once the script is used up, each box is
  // answered OK, No or Cancel as the standard-error boxes do.
  void Answer(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }

  const std::vector<RecordedBox>& boxes() const { return boxes_; }
  std::vector<std::string> texts() const;
  void clear() { boxes_.clear(); }

 private:
  std::vector<RecordedBox> boxes_;
  std::deque<int> answers_;
};

}  // namespace inkmark::testing
