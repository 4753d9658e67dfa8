// Two copies of the program side by side, each in a process of its own with
// the same temporary folder: neither disturbs the other's previews, and each
// takes its own temporary files away when it ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "picture/picture_io.h"
#include "support/compose_fixture.h"

extern char** environ;

namespace inkmark::testing {
namespace {

// A pipeline copy (pipeline_copy.cpp) with its input and output on pipes.
class Copy {
 public:
  Copy(const std::string& picture, const std::filesystem::path& tmpdir) {
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]}) posix_spawn_file_actions_addclose(&actions, fd);
    const std::string env_tmp = "TMPDIR=" + tmpdir.string();
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("TMPDIR=", 0) != 0) env.push_back(*e);
    env.push_back(const_cast<char*>(env_tmp.c_str()));
    env.push_back(nullptr);
    const char* program = INKMARK_PIPELINE_COPY;
    char* argv[] = {const_cast<char*>(program), const_cast<char*>(picture.c_str()), nullptr};
    if (posix_spawn(&pid_, program, &actions, nullptr, argv, env.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    to_ = ::fdopen(in[1], "w");
    from_ = ::fdopen(out[0], "r");
  }
  // A copy still running is killed before its pipes close: an end of input
  // lets it finish as the program does, deleting its files (a closed output
  // does not stop it where SIGPIPE is ignored), and under load it got there
  // before the kill, leaving nothing to show that it died.
  ~Copy() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (to_) std::fclose(to_);
    if (from_) std::fclose(from_);
  }
  std::string Line() {
    char buffer[128] = {};
    if (!from_ || !std::fgets(buffer, sizeof buffer, from_)) return "";
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
  }
  // Lets the copy convert; the converted preview's first pixel.
  std::string Convert() {
    std::fputs("go\n", to_);
    std::fflush(to_);
    return Line();
  }
  int Wait() {
    int status = 0;
    ::waitpid(std::exchange(pid_, -1), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  std::FILE* to_ = nullptr;
  std::FILE* from_ = nullptr;
};

TEST(TwoCopies, ConvertDifferentPicturesSideBySideAndEachDeletesOnlyItsOwnFiles) {
  TempDir work;
  const std::string black = (work.path() / "black.bmp").string();
  const std::string red = (work.path() / "red.bmp").string();
  ASSERT_TRUE(WriteWholeFile(black, SolidBitmap(40, 10, kBlack24)));
  ASSERT_TRUE(WriteWholeFile(red, SolidBitmap(40, 10, kRed24)));
  const auto folder = work.path() / ("inkmark-" + std::to_string(::getuid()));

  // The first copy has made its previews; the second opens, previews and
  // converts in the meantime; then the first one's slider moves.
  Copy first(black, work.path());
  ASSERT_EQ(first.Line(), "ready");
  Copy second(red, work.path());
  ASSERT_EQ(second.Line(), "ready");
  EXPECT_EQ(second.Convert(), "0 0 255");
  EXPECT_EQ(first.Convert(), "0 0 0") << "the first copy converted the second one's picture";
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(folder));

  // A copy that dies leaves its files, but under names no other copy reads.
  {
    Copy dead(black, work.path());
    ASSERT_EQ(dead.Line(), "ready");
  }  // killed
  EXPECT_FALSE(std::filesystem::is_empty(folder));
  Copy after(red, work.path());
  ASSERT_EQ(after.Line(), "ready");
  EXPECT_EQ(after.Convert(), "0 0 255");
}

}  // namespace
}  // namespace inkmark::testing
