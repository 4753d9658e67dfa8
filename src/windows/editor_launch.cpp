#include "windows/editor_launch.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/string_table.h"

extern char** environ;

namespace inkmark {
namespace {

// How long one wait for the editor may keep the window from its events.
constexpr int kPollMs = 10;

// Starts the program; -1 when it cannot be started.
pid_t Spawn(const std::vector<std::string>& args) {
  if (args.empty()) return -1;
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  // The editor inherits no descriptor of ours beyond the standard three.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  pid_t pid = -1;
  int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

// Whether the child has ended (and is reaped).
bool HasEnded(pid_t pid) {
  int status = 0;
  pid_t r = waitpid(pid, &status, WNOHANG);
  if (r == pid) return true;
  // Someone else reaped it: it has ended all the same.
  return r < 0 && errno == ECHILD;
}

}  // namespace

std::vector<std::string> NewEditorArgs(const std::string& editor_path, int width_dots) {
  return {editor_path, "-w" + std::to_string(width_dots), "-sub"};
}

std::vector<std::string> EditEditorArgs(const std::string& editor_path, const std::string& path) {
  return {editor_path, "-f" + path, "-sub"};
}

int RunEditor(EditorOwner& owner, const std::vector<std::string>& args) {
  owner.Enable(false);
  pid_t pid = Spawn(args);
  if (pid < 0) {
    owner.Enable(true);
    ShowMessage(owner.Handle(), kStrCannotInitialize);
    return 0;
  }
  // The window keeps handling its events; between rounds a short wait instead
  // of a busy loop, so that the editor gets the processor.
  for (;;) {
    owner.ProcessEvents();
    if (HasEnded(pid)) break;
    poll(nullptr, 0, kPollMs);
  }
  owner.Enable(true);
  owner.BringToFront();
  return 1;
}

}  // namespace inkmark
