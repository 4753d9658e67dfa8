// Starts InkmarkEdit as the tool does, under the offscreen platform.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "support/compose_fixture.h"

extern char** environ;

namespace inkmark::testing {
namespace {

using namespace std::chrono_literals;

// True once the program's SIGTERM handler is in place.
bool CatchesTerm(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("SigCgt:", 0) == 0)
      return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
  return false;
}

// Starts the editor; with `terminate` lets its window come up and sends
// SIGTERM. The exit code, or -1 when it did not exit by itself within 20 s.
int RunEditor(std::vector<std::string> args, bool terminate) {
  args.insert(args.begin(), std::string(INKMARK_BIN_DIR) + "/InkmarkEdit");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  for (int i = 0; terminate && i < 500 && !CatchesTerm(pid); ++i) std::this_thread::sleep_for(10ms);
  if (terminate) {
    std::this_thread::sleep_for(500ms);  // a signal before the window is up is kept until then
    kill(pid, SIGTERM);
  }
  int status = 0;
  for (int i = 0; i < 1000; ++i, std::this_thread::sleep_for(20ms)) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

TEST(EditorProgramTest, BlankPageAndDocumentEndCleanlyOnSigtermAndABadLineEndsAtOnce) {
  EXPECT_EQ(RunEditor({"-w512", "-sub"}, true), 0);
  TempDir dir;
  const auto path = (dir.path() / "shop logo.QLF").string();
  ASSERT_TRUE(SaveLogoDocument(path, 256, 80,
                               {TextObject(4, 40, "Shop", "Liberation Sans", -24, 0),
                                ImageObject(100, 10, 140, 50, SolidBitmap(4, 4, kRed24))}));
  const std::string before = ReadFileText(path);
  EXPECT_EQ(RunEditor({"-f" + path, "-sub"}, true), 0);
  EXPECT_EQ(ReadFileText(path), before);
  EXPECT_EQ(RunEditor({"-w0", "-sub"}, false), 2) << "without a window";
}

}  // namespace
}  // namespace inkmark::testing
