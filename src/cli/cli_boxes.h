// Message boxes of the command line: every text goes to standard error, and a
// question is asked on the terminal when there is one to answer it.
#pragma once

#include <cstdio>
#include <string>

#include "platform/message_box.h"

namespace inkmark::cli {

class TerminalMessageBoxes final : public MessageBoxes {
 public:
  // Questions are read from `in` when `interactive`; otherwise they are
  // answered No (or Cancel) and the answer is said on `err`.
  TerminalMessageBoxes(std::FILE* in, std::FILE* err, bool interactive)
      : in_(in), err_(err), interactive_(interactive) {}

  int Show(WindowHandle owner, const std::string& caption, const std::string& text,
           unsigned style) override;

  // Whether a question was answered without asking anyone.
  bool answered_unasked() const { return answered_unasked_; }

 private:
  std::FILE* in_;
  std::FILE* err_;
  bool interactive_;
  bool answered_unasked_ = false;
};

}  // namespace inkmark::cli
