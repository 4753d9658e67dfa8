// The inkmark-vprinter program end to end: started as a separate process,
// reached over TCP and through its pseudo-terminal link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QColor>
#include <QImage>
#include <chrono>
#include <cstdlib>

#include "io_helpers.h"
#include "support/temp_dir.h"
#include "test_bytes.h"
#include "unique_fd.h"

extern char** environ;

namespace inkmark::vprinter {
namespace {

using testing::Bytes;
using testing::Cat;

std::string ProgramPath() { return std::string(INKMARK_BIN_DIR) + "/inkmark-vprinter"; }

// The program running with its standard output on a pipe; ended on leaving.
class Program {
 public:
  explicit Program(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    out_ = UniqueFd(out[0]);
    UniqueFd write_end(out[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> all = {ProgramPath()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // One line of standard output, waiting at most a few seconds.
  std::string ReadLine() {
    std::string line;
    while (true) {
      auto b = testing::ReadFrom(out_.get(), 1, 5000);
      if (b.empty() || b[0] == '\n') return line;
      line.push_back(char(b[0]));
    }
  }

  // Sends `signal` (none: just waits) and returns the exit status, -1 if it
  // did not exit normally within a few seconds.
  int Finish(int signal = 0) {
    if (pid_ <= 0) return -1;
    if (signal != 0) ::kill(pid_, signal);
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      ::usleep(10000);
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
  UniqueFd out_;
};

std::uint16_t PortFromLine(const std::string& line) {
  auto colon = line.rfind(':');
  return colon == std::string::npos ? 0 : std::uint16_t(std::atoi(line.c_str() + colon + 1));
}

// 16 × 16 dots: first ink in the left half of the top 8 rows, second ink in
// the right half of the bottom 8 rows.
Bytes TwoInkLogo(char k1, char k2) {
  Bytes first(32, 0), second(32, 0);
  for (int y = 0; y < 8; ++y) first[std::size_t(y * 2)] = 0xFF;
  for (int y = 8; y < 16; ++y) second[std::size_t(y * 2 + 1)] = 0xFF;
  return testing::RasterDefine(k1, k2, 16, 16, {{0x31, first}, {0x32, second}});
}

void ExpectTwoInkPicture(const std::filesystem::path& png) {
  QImage image(QString::fromStdString(png.string()));
  ASSERT_FALSE(image.isNull()) << png;
  ASSERT_EQ(image.size(), QSize(16, 16));
  EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(0, 0, 0));
  EXPECT_EQ(QColor(image.pixel(12, 12)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(image.pixel(12, 2)), QColor(255, 255, 255));
}

TEST(VprinterProgram, OverTcpStoresPrintsAsPngAndStopsOnTerm) {
  inkmark::testing::TempDir dir;
  Program program({"--tcp", "127.0.0.1:0", "--out", (dir.path() / "pages").string(), "--quiet",
                   "--capacity", "5000"});
  std::uint16_t port = PortFromLine(program.ReadLine());
  ASSERT_NE(port, 0);
  UniqueFd host = testing::ConnectTo(port);
  ASSERT_TRUE(host.valid());
  ASSERT_TRUE(testing::WriteAllTo(
      host.get(), Cat({testing::kInitialise, TwoInkLogo('L', 'G'), testing::PrintNv('L', 'G'),
                       testing::kCapacityRequest})));
  // 2 × (1 + 32) data bytes and the entry.
  Bytes expected = testing::Reply(0x31, std::to_string(5000 - 66 - 30));
  EXPECT_EQ(testing::ReadFrom(host.get(), expected.size()), expected);
  ExpectTwoInkPicture(dir.path() / "pages" / "page-0001.png");
  EXPECT_EQ(program.Finish(SIGTERM), 0);
}

TEST(VprinterProgram, OverPtyKeepsNvMemoryAcrossRuns) {
  inkmark::testing::TempDir dir;
  auto link = dir.path() / "devices" / "com1";
  std::vector<std::string> args = {"--pty", link.string(), "--nv", (dir.path() / "nv.bin").string(),
                                   "--quiet"};
  {
    Program program(args);
    ASSERT_NE(program.ReadLine().find("pty"), std::string::npos);
    UniqueFd port(::open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(port.valid());
    ASSERT_TRUE(testing::WriteAllTo(
        port.get(), Cat({testing::kInitialise, TwoInkLogo('P', 'T'), testing::kKeyListRequest})));
    EXPECT_EQ(testing::ReadFrom(port.get(), 6), (Bytes{0x37, 0x72, 0x40, 'P', 'T', 0x00}));
    EXPECT_EQ(program.Finish(SIGINT), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
  Program again(args);
  ASSERT_NE(again.ReadLine().find("pty"), std::string::npos);
  UniqueFd port(::open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(testing::WriteAllTo(port.get(), testing::kKeyListRequest));
  EXPECT_EQ(testing::ReadFrom(port.get(), 6), (Bytes{0x37, 0x72, 0x40, 'P', 'T', 0x00}));
}

TEST(VprinterProgram, FaultOptionsDelayAndPrefixReplies) {
  Program program({"--tcp", "127.0.0.1:0", "--quiet", "--reply-delay", "200", "--garbage", "2",
                   "--busy", "300"});
  std::uint16_t port = PortFromLine(program.ReadLine());
  UniqueFd host = testing::ConnectTo(port);
  ASSERT_TRUE(host.valid());
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(testing::WriteAllTo(host.get(), testing::kInitialise));
  ::usleep(50000);  // the request comes while the printer is busy
  ASSERT_TRUE(testing::WriteAllTo(host.get(), testing::kKeyListRequest));
  Bytes reply = testing::ReadFrom(host.get(), 6);
  auto waited = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(reply.size(), 6u);
  EXPECT_NE(reply[0], 0x37);
  EXPECT_NE(reply[1], 0x37);
  EXPECT_EQ((Bytes{reply.begin() + 2, reply.end()}), (Bytes{0x37, 0x72, 0x40, 0x00}));
  EXPECT_GE(waited, std::chrono::milliseconds(500));  // busy, then the reply delay
}

TEST(VprinterProgram, RenderWritesEachDefinedGraphicsAndEnds) {
  inkmark::testing::TempDir dir;
  Bytes column = {0x80, 0x80, 0x80, 0x80, 0x40, 0x40, 0x40, 0x40};
  auto file = dir.Write("logo.cmd", "");
  Bytes commands =
      Cat({testing::Density(0x32), testing::ColumnDefine('A', 'B', 8, 8, {{0x31, column}}),
           TwoInkLogo('C', 'D')});
  inkmark::testing::TempDir::WriteFile(file, std::string(commands.begin(), commands.end()));
  auto out = dir.path() / "out";
  Program program({"--render", file.string(), "--out", out.string(), "--quiet"});
  EXPECT_EQ(program.ReadLine(), (out / "nv-0001.png").string());
  EXPECT_EQ(program.ReadLine(), (out / "nv-0002.png").string());
  EXPECT_EQ(program.Finish(), 0);
  ExpectTwoInkPicture(out / "nv-0002.png");

  auto empty = dir.Write("empty.cmd", "no graphics here");
  EXPECT_EQ(Program({"--render", empty.string(), "--quiet"}).Finish(), 1);
  EXPECT_EQ(Program({"--tcp", "127.0.0.1:http"}).Finish(), 2);
}

}  // namespace
}  // namespace inkmark::vprinter
