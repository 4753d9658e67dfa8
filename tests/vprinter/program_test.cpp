// The inkmark-vprinter program end to end: started as a separate process,
// reached over TCP and through its pseudo-terminal link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <QColor>
#include <QImage>
#include <QProcess>

#include "io_helpers.h"
#include "support/temp_dir.h"
#include "test_bytes.h"

namespace inkmark::vprinter {
namespace {

using namespace testing;
using inkmark::testing::TempDir;

// The program with its standard output read line by line; killed on leaving.
class Program : public QProcess {
 public:
  explicit Program(const std::vector<std::string>& args) {
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    setStandardErrorFile(QProcess::nullDevice());
    start(INKMARK_BIN_DIR "/inkmark-vprinter", list);
  }
  ~Program() override {
    kill();
    waitForFinished();
  }
  std::string ReadLine() {
    while (!canReadLine() && waitForReadyRead(5000)) continue;
    return readLine().trimmed().toStdString();
  }
  // The port of the "listening on host:port" line.
  std::uint16_t TcpPort() { return QString::fromStdString(ReadLine()).section(':', -1).toUShort(); }
  // Sends `signal` (none: just waits) and returns the exit status, -1 if it
  // did not exit normally within a few seconds.
  int Finish(int signal = 0) {
    if (signal != 0) ::kill(pid_t(processId()), signal);
    return waitForFinished(5000) && exitStatus() == NormalExit ? exitCode() : -1;
  }
};

// 16 x 16 dots: first ink in the left half of the top 8 rows, second ink in
// the right half of the bottom 8 rows.
Bytes TwoInkLogo(char k1, char k2) {
  Bytes first(32, 0), second(32, 0);
  for (int y = 0; y < 8; ++y) first[y * 2] = second[16 + y * 2 + 1] = 0xFF;
  return RasterDefine(k1, k2, 16, 16, {{0x31, first}, {0x32, second}});
}

void ExpectTwoInkPicture(const std::filesystem::path& png) {
  QImage image(QString::fromStdString(png.string()));
  ASSERT_EQ(image.size(), QSize(16, 16)) << png;
  EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(0, 0, 0));
  EXPECT_EQ(QColor(image.pixel(12, 12)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(image.pixel(12, 2)), QColor(255, 255, 255));
}

TEST(VprinterProgram, OverTcpStoresPrintsAsPngAndStopsOnTerm) {
  TempDir dir;
  Program program({"--tcp", "127.0.0.1:0", "--out", (dir.path() / "pages").string(), "--quiet",
                   "--capacity", "5000"});
  UniqueFd host = ConnectTo(program.TcpPort());
  ASSERT_TRUE(host.valid());
  ASSERT_TRUE(WriteAllTo(
      host.get(), Cat({kInitialise, TwoInkLogo('L', 'G'), PrintNv('L', 'G'), kCapacityRequest})));
  const Bytes expected = Reply(0x31, std::to_string(5000 - 2 * (1 + 32) - 30));
  EXPECT_EQ(ReadFrom(host.get(), expected.size()), expected);
  ExpectTwoInkPicture(dir.path() / "pages" / "page-0001.png");
  EXPECT_EQ(program.Finish(SIGTERM), 0);
}

TEST(VprinterProgram, OverPtyTakesLargeDefinesAndKeepsNvMemoryAcrossRuns) {
  TempDir dir;
  const auto link = dir.path() / "devices" / "com1";
  const std::vector<std::string> args = {"--pty", link.string(), "--nv",
                                         (dir.path() / "nv.bin").string(), "--quiet"};
  const Bytes listed = {0x37, 0x72, 0x40, 'B', 'G', 0x00};
  {
    Program program(args);
    ASSERT_NE(program.ReadLine().find("pty"), std::string::npos);
    UniqueFd port(::open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(port.valid());
    // 1024 x 64 dots: 8193 bytes, more than the terminal buffers at once.
    ASSERT_TRUE(WriteAllTo(
        port.get(), Cat({kInitialise, RasterDefine('B', 'G', 1024, 64, {{0x31, Bytes(8192, 0x81)}}),
                         kKeyListRequest})));
    EXPECT_EQ(ReadFrom(port.get(), 6), listed);
    EXPECT_EQ(program.Finish(SIGINT), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
  Program again(args);
  ASSERT_NE(again.ReadLine().find("pty"), std::string::npos);
  UniqueFd port(::open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(WriteAllTo(port.get(), kKeyListRequest));
  EXPECT_EQ(ReadFrom(port.get(), 6), listed);
}

TEST(VprinterProgram, RenderWritesEachDefinedGraphicsAndEnds) {
  TempDir dir;
  const Bytes columns = {0x80, 0x80, 0x80, 0x80, 0x40, 0x40, 0x40, 0x40};
  const Bytes commands =
      Cat({Density(0x32), ColumnDefine('A', 'B', 8, 8, {{0x31, columns}}), TwoInkLogo('C', 'D')});
  const auto file = dir.Write("logo.cmd", std::string(commands.begin(), commands.end()));
  const auto out = dir.path() / "out";
  Program program({"--render", file.string(), "--out", out.string(), "--quiet"});
  EXPECT_EQ(program.ReadLine(), (out / "nv-0001.png").string());
  EXPECT_EQ(program.ReadLine(), (out / "nv-0002.png").string());
  EXPECT_EQ(program.Finish(), 0);
  ExpectTwoInkPicture(out / "nv-0002.png");

  const auto empty = dir.Write("empty.cmd", "no graphics here");
  EXPECT_EQ(Program({"--render", empty.string(), "--quiet"}).Finish(), 1);
  EXPECT_EQ(Program({"--tcp", "127.0.0.1:http"}).Finish(), 2);
}

}  // namespace
}  // namespace inkmark::vprinter
