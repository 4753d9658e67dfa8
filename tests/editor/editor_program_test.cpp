// Starts InkmarkEdit as the tool does, under the offscreen platform, and ends
// it with SIGTERM once it is up.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "editor/editor_document.h"
#include "editor_fixture.h"
#include "support/temp_dir.h"

extern char** environ;

namespace inkmark {
namespace {

using namespace std::chrono_literals;

const std::string kEditor = std::string(INKMARK_BIN_DIR) + "/InkmarkEdit";

pid_t Start(std::vector<std::string> args) {
  args.insert(args.begin(), kEditor);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  pid_t pid = 0;
  if (posix_spawn(&pid, kEditor.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// True once the program catches SIGTERM: its handler is in place, so the
// signal ends it through its own closing path from then on.
bool CatchesTerm(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) == 0) {
      const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
      return (mask >> (SIGTERM - 1)) & 1;
    }
  }
  return false;
}

// The exit status, or nullopt when it has not ended within the time.
std::optional<int> WaitExit(pid_t pid, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(20ms);
  }
  return std::nullopt;
}

// Starts the editor, lets it bring its window up, asks it to end, and gives
// how it ended.
int RunAndTerminate(std::vector<std::string> args) {
  const pid_t pid = Start(std::move(args));
  EXPECT_GT(pid, 0);
  if (pid <= 0) return -1;
  for (int i = 0; i < 500 && !CatchesTerm(pid); ++i) std::this_thread::sleep_for(10ms);
  // Time for the window to come up; a signal before it is kept until then.
  std::this_thread::sleep_for(500ms);
  kill(pid, SIGTERM);
  auto status = WaitExit(pid, 20s);
  if (!status) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    ADD_FAILURE() << "the editor did not end on SIGTERM";
    return -1;
  }
  return *status;
}

TEST(EditorProgramTest, BlankPageStartsAndEndsCleanly) {
  const int status = RunAndTerminate({"-w512", "-sub"});
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(EditorProgramTest, DocumentWithBlanksInItsPathOpensAndIsLeftAsItWas) {
  testing::TempDir dir;
  const auto path = (dir.path() / "my logos" / "shop logo.QLF").string();
  std::filesystem::create_directories(dir.path() / "my logos");
  ASSERT_TRUE(
      SaveLogoDocument(path, 256, 80,
                       {TextObject(4, 40, "Shop", "Liberation Sans", -24, 0),
                        ImageObject(100, 10, 140, 50, testing::SolidBmp(4, 4, 0, 0, 255))}));
  const std::string before = testing::ReadFileText(path);
  const int status = RunAndTerminate({"-f" + path, "-sub"});
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(testing::ReadFileText(path), before);
}

TEST(EditorProgramTest, BadCommandLineEndsAtOnceWithoutAWindow) {
  for (std::vector<std::string> args :
       {std::vector<std::string>{"-w0", "-sub"}, std::vector<std::string>{"-sub"},
        std::vector<std::string>{"-w512", "extra"}}) {
    const pid_t pid = Start(args);
    ASSERT_GT(pid, 0);
    auto status = WaitExit(pid, 20s);
    if (!status) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    ASSERT_TRUE(status);
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 2);
  }
}

}  // namespace
}  // namespace inkmark
