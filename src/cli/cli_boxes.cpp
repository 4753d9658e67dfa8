#include "cli/cli_boxes.h"

#include "cli/cli_json.h"
#include "platform/string_table.h"
#include "platform/translation.h"

namespace inkmark::cli {

int TerminalMessageBoxes::Show(WindowHandle, const std::string& caption,
                               const std::string& raw_message, unsigned style) {
  // Names and keys in a message come from files and printers: no control reaches the terminal.
  const std::string message = TerminalText(raw_message, true);
  // The program's own caption says nothing here; the port layer's own captions do.
  const std::string prefix = caption == LoadString(kStrAppCaption, 31)
                                 ? "inkmark: "
                                 : "inkmark: " + TerminalText(caption) + ": ";
  // A reason on a second line gets the prefix too, so that each line says whose it is.
  std::string text;
  for (char c : message) {
    text += c;
    if (c == '\n') text += prefix;
  }
  const unsigned buttons = style & kMbButtonMask;
  if (buttons != kMbYesNo && buttons != kMbRetryCancel) {
    std::fprintf(err_, "%s%s\n", prefix.c_str(), text.c_str());
    return kIdOk;
  }
  const bool yes_no = buttons == kMbYesNo;
  const int refuse = yes_no ? kIdNo : kIdCancel;
  if (!interactive_) {
    answered_unasked_ = true;
    const std::string taken = Fill(Translate("inkmark", "no terminal to answer; taken as %1"),
                                   {Translate("inkmark", yes_no ? "No" : "Cancel")});
    std::fprintf(err_, "%s%s\ninkmark: %s\n", prefix.c_str(), text.c_str(), taken.c_str());
    return refuse;
  }
  for (;;) {
    std::fprintf(err_, "%s%s [%s] ", prefix.c_str(), text.c_str(),
                 yes_no ? "y/N" : "r(etry)/C(ancel)");
    std::fflush(err_);
    char line[64];
    if (std::fgets(line, sizeof line, in_) == nullptr) {
      std::fprintf(err_, "\n");
      return refuse;
    }
    const char c = line[0];
    if (c == '\n' || c == 'n' || c == 'N' || c == 'c' || c == 'C') return refuse;
    if (yes_no && (c == 'y' || c == 'Y')) return kIdYes;
    if (!yes_no && (c == 'r' || c == 'R')) return kIdRetry;
  }
}

}  // namespace inkmark::cli
