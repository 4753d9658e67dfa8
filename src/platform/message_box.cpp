#include "platform/message_box.h"

#include <cstdio>

#include "platform/string_table.h"

namespace inkmark {
namespace {

StderrMessageBoxes g_stderr_boxes;
MessageBoxes* g_boxes = nullptr;
const char g_app_instance_tag = 0;

}  // namespace

const WindowHandle kAppInstance = &g_app_instance_tag;

int StderrMessageBoxes::Show(WindowHandle, const std::string& caption, const std::string& text,
                             unsigned style) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  switch (style & kMbButtonMask) {
    case kMbYesNo:
      return kIdNo;
    case kMbRetryCancel:
      return kIdCancel;
    default:
      return kIdOk;
  }
}

MessageBoxes& CurrentMessageBoxes() { return g_boxes ? *g_boxes : g_stderr_boxes; }

void SetMessageBoxes(MessageBoxes* boxes) { g_boxes = boxes; }

std::string FormatMessageText(int id, const char* arg) {
  std::string text = LoadString(id, 127);
  if (arg == nullptr) return text;
  // The argument is put in by hand, never through printf: keys and file names
  // may hold '%' themselves.
  if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, arg);
  if (text.size() > 255) text.resize(255);
  return text;
}

int ShowMessage(WindowHandle owner, int id, const char* arg, unsigned style) {
  if (owner == kAppInstance) owner = nullptr;
  return CurrentMessageBoxes().Show(owner, LoadString(kStrAppCaption, 31),
                                    FormatMessageText(id, arg), style);
}

int ShowFailure(WindowHandle owner, int id, const Failure& why, const char* arg, unsigned style) {
  if (owner == kAppInstance) owner = nullptr;
  return CurrentMessageBoxes().Show(owner, LoadString(kStrAppCaption, 31),
                                    FormatMessageText(id, arg) + "\n" + why.Describe(), style);
}

}  // namespace inkmark
