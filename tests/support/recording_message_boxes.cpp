#include "support/recording_message_boxes.h"

namespace inkmark::testing {

RecordingMessageBoxes::RecordingMessageBoxes() { SetMessageBoxes(this); }
RecordingMessageBoxes::~RecordingMessageBoxes() { SetMessageBoxes(nullptr); }

int RecordingMessageBoxes::Show(WindowHandle owner, const std::string& caption,
                                const std::string& text, unsigned style) {
  boxes_.push_back({owner, caption, text, style});
  const unsigned buttons = style & kMbButtonMask;
  const int standard = buttons == kMbYesNo ? kIdNo : buttons == kMbRetryCancel ? kIdCancel : kIdOk;
  if (answers_.empty()) return standard;
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<std::string> RecordingMessageBoxes::texts() const {
  std::vector<std::string> out;
  for (const auto& b : boxes_) out.push_back(b.text);
  return out;
}

}  // namespace inkmark::testing
