#include "support/recording_message_boxes.h"

namespace inkmark::testing {

RecordingMessageBoxes::RecordingMessageBoxes() { SetMessageBoxes(this); }
RecordingMessageBoxes::~RecordingMessageBoxes() { SetMessageBoxes(nullptr); }

int RecordingMessageBoxes::Show(WindowHandle owner, const std::string& caption,
                                const std::string& text, unsigned style) {
  boxes_.push_back({owner, caption, text, style});
  if (!answers_.empty()) {
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  switch (style & kMbButtonMask) {
    case kMbYesNo:
      return kIdNo;
    case kMbRetryCancel:
      return kIdCancel;
    default:
      return kIdOk;
  }
}

std::vector<std::string> RecordingMessageBoxes::texts() const {
  std::vector<std::string> out;
  for (const auto& b : boxes_) out.push_back(b.text);
  return out;
}

}  // namespace inkmark::testing
