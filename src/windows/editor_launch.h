// The hand-off to the companion editor: its command lines, and running it
// while the owner window is disabled but keeps painting.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace inkmark {

// The editor's command line for a blank logo `width_dots` wide:
// the editor, "-w<width>", "-sub".
std::vector<std::string> NewEditorArgs(const std::string& editor_path, int width_dots);
// The editor's command line for the document at `path`: the editor,
// "-f<path>" (one argument, however many blanks the path holds), "-sub".
std::vector<std::string> EditEditorArgs(const std::string& editor_path, const std::string& path);

// The window that waits for the editor.
class EditorOwner {
 public:
  virtual ~EditorOwner() = default;
  virtual void Enable(bool enabled) = 0;
  // Handles every event waiting for the window, so that it keeps painting.
  virtual void ProcessEvents() = 0;
  virtual void BringToFront() = 0;
  virtual WindowHandle Handle() const = 0;
};

// Starts args[0] with `args` as its argument vector (no shell), with this
// program's environment and current folder, and waits for it to end while the
// owner is disabled. 1 when the editor ran and ended; 0 after string 26 when it
// could not be started.
int RunEditor(EditorOwner& owner, const std::vector<std::string>& args);

}  // namespace inkmark
