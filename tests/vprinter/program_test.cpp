// The inkmark-vprinter program: its command line, and the program end to end
// as a separate process, reached over TCP and through its pseudo-terminal link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <QColor>
#include <QImage>
#include <QProcess>

#include "program_options.h"
#include "support/temp_dir.h"
#include "test_bytes.h"

namespace inkmark::vprinter {
namespace {

using namespace testing;
using inkmark::testing::TempDir;

TEST(ProgramOptions, ReadsEveryOptionInBothSpellingsAndRefusesBadValues) {
  auto parsed = ParseCommandLine({"--pty",
                                  "/tmp/com1",
                                  "--tcp=[::1]:9100",
                                  "--capacity=1000",
                                  "--keys-per-block",
                                  "3",
                                  "--reply-delay",
                                  "50",
                                  "--no-reply",
                                  "--garbage=2",
                                  "--busy",
                                  "700",
                                  "--bad-blocks",
                                  "--second-ink",
                                  "#00FF00",
                                  "--quiet",
                                  "--stall-after",
                                  "100:2500",
                                  "--drop-after=4096",
                                  "--lose-byte=4",
                                  "--break-reply",
                                  "0",
                                  "--drip",
                                  "20",
                                  "--late-block=3600"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const auto& o = *parsed.options;
  const FaultOptions& f = o.printer.faults;
  EXPECT_EQ(std::tie(*o.pty_link, *o.tcp_host, o.tcp_port, o.printer.capacity,
                     o.printer.keys_per_block, o.printer.second_ink_rgb, o.quiet),
            std::tuple(std::filesystem::path("/tmp/com1"), "::1", 9100, 1000u, 3, 0x00FF00u, true));
  EXPECT_EQ(std::tie(f.reply_delay_ms, f.no_reply, f.garbage, f.busy_ms, f.bad_blocks),
            std::tuple(50, true, 2, 700, true));
  EXPECT_EQ(std::tie(f.stall_after, f.stall_ms, *f.drop_after), std::tuple(100u, 2500, 4096u));
  EXPECT_EQ(std::tie(*f.lose_byte, *f.break_after, f.drip_ms, f.late_block_ms),
            std::tuple(4u, 0u, 20, 3600));

  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},  // nothing to serve
           {"--tcp", "127.0.0.1:65536"},
           {"--pty"},
           {"--pty", "x", "--capacity", "99999999999999999999999"},
           {"--pty", "x", "--keys-per-block", "0"},
           {"--pty", "x", "--first-ink", "purple"},
           {"--pty", "x", "--frobnicate"},
           {"--pty", "x", "--stall-after", "100"},
           {"--pty", "x", "--stall-after", "100:0"},
           {"--pty", "x", "--stall-after", ":5"},
           {"--pty", "x", "--drop-after", "-1"},
           {"--pty", "x", "--lose-byte", "x"},
           {"--pty", "x", "--drip", "600001"},
           {"--render", "f", "--tcp", "127.0.0.1:0"}}) {
    parsed = ParseCommandLine(args);
    EXPECT_FALSE(parsed.options.has_value() || parsed.error.empty())
        << ::testing::PrintToString(args);
  }
}

// The program with its standard output read line by line; killed on leaving.
class Program : public QProcess {
 public:
  explicit Program(const QStringList& args) {
    setStandardErrorFile(QProcess::nullDevice());
    start(INKMARK_BIN_DIR "/inkmark-vprinter", args);
  }
  ~Program() override {
    kill();
    waitForFinished();
  }
  std::string ReadLine() {
    while (!canReadLine() && waitForReadyRead(5000)) continue;
    return readLine().trimmed().toStdString();
  }
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
  return Define(k1, k2, 16, 16, {{0x31, first}, {0x32, second}});
}

void ExpectTwoInkPicture(const std::filesystem::path& png) {
  QImage image(QString::fromStdString(png.string()));
  ASSERT_EQ(image.size(), QSize(16, 16)) << png;
  EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(0, 0, 0));
  EXPECT_EQ(QColor(image.pixel(12, 12)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(image.pixel(12, 2)), QColor(255, 255, 255));
}

TEST(VprinterProgram, ServesTcpThenItsPtyWithTheNvMemoryKeptBetweenRuns) {
  TempDir dir;
  const auto link = dir.path() / "devices" / "com1", nv = dir.path() / "nv.bin";
  {
    Program program({"--tcp", "127.0.0.1:0", "--out", (dir.path() / "pages").c_str(), "--nv",
                     nv.c_str(), "--quiet", "--capacity", "5000"});
    // The port of the "listening on host:port" line.
    const auto port = QString::fromStdString(program.ReadLine()).section(':', -1).toUShort();
    UniqueFd host = ConnectTo(port), other = ConnectTo(port);
    ASSERT_TRUE(host.valid() && other.valid());
    // Half a command on one connection does not disturb the other, which
    // shares the NV memory.
    const Bytes logo = TwoInkLogo('L', 'G');
    ASSERT_TRUE(WriteAllTo(host.get(), Cat({kInitialise, {logo.begin(), logo.begin() + 9}})));
    ASSERT_TRUE(WriteAllTo(other.get(), Cat({TwoInkLogo('X', 'X'), kKeyListRequest})));
    EXPECT_EQ(ReadFrom(other.get(), 6), (Bytes{0x37, 0x72, 0x40, 'X', 'X', 0x00}));
    ASSERT_TRUE(WriteAllTo(host.get(), Cat({{logo.begin() + 9, logo.end()},
                                            DeleteNv('X', 'X'),
                                            PrintNv('L', 'G'),
                                            kCapacityRequest})));
    const Bytes expected = Reply(0x31, std::to_string(5000 - 2 * (1 + 32) - 30));
    EXPECT_EQ(ReadFrom(host.get(), expected.size()), expected);
    ExpectTwoInkPicture(dir.path() / "pages" / "page-0001.png");
    EXPECT_EQ(program.Finish(SIGTERM), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "nv.bin.tmp"));
  Program again({"--pty", link.c_str(), "--nv", nv.c_str(), "--quiet"});
  ASSERT_NE(again.ReadLine().find("pty"), std::string::npos);
  UniqueFd port(::open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(port.valid());
  // 1024 x 64 dots: 8193 bytes, more than the terminal buffers at once.
  ASSERT_TRUE(WriteAllTo(
      port.get(), Cat({Define('B', 'G', 1024, 64, {{0x31, Bytes(8192, 0x81)}}), kKeyListRequest})));
  EXPECT_EQ(ReadFrom(port.get(), 8), (Bytes{0x37, 0x72, 0x40, 'B', 'G', 'L', 'G', 0x00}));
  EXPECT_EQ(again.Finish(SIGINT), 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(VprinterProgram, RenderWritesEachDefinedGraphicsAndFailuresEndIt) {
  TempDir dir;
  const Bytes columns = {0x80, 0x80, 0x80, 0x80, 0x40, 0x40, 0x40, 0x40};
  const Bytes commands = Cat({Density(0x32), Define('A', 'B', 8, 8, {{0x31, columns}}, kColumnForm),
                              TwoInkLogo('C', 'D')});
  const auto file = dir.Write("logo.cmd", commands);
  const auto out = dir.path() / "out";
  Program program({"--render", file.c_str(), "--out", out.c_str(), "--quiet"});
  EXPECT_EQ(program.ReadLine(), (out / "nv-0001.png").string());
  EXPECT_EQ(program.ReadLine(), (out / "nv-0002.png").string());
  EXPECT_EQ(program.Finish(), 0);
  ExpectTwoInkPicture(out / "nv-0002.png");

  const auto empty = dir.Write("empty.cmd", "no graphics here");
  EXPECT_EQ(Program({"--render", empty.c_str(), "--quiet"}).Finish(), 1);
  EXPECT_EQ(Program({"--tcp", "127.0.0.1:http"}).Finish(), 2);
  // A file where the link would go is left as it is.
  EXPECT_EQ(Program({"--pty", empty.c_str(), "--quiet"}).Finish(), 1);
  EXPECT_EQ(inkmark::testing::ReadFileText(empty), "no graphics here");
}

}  // namespace
}  // namespace inkmark::vprinter
