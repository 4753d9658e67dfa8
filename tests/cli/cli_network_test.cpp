// Network printers end to end: the built program reaches the virtual printer
// over TCP on IPv4 and IPv6 loopback with every command, whatever ports the
// printer file lists, and gives up in bounded time on a printer that accepts
// the connection but never answers.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QBuffer>
#include <QImage>
#include <chrono>
#include <cstring>
#include <thread>

#include "cli/inkmark_tool.h"
#include "servers.h"
#include "support/compose_fixture.h"
#include "support/tcp_test_printer.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

// A 24 x 8 PNG: black with a transparent right half.
std::string HalfTransparentPng() {
  QImage image(24, 8, QImage::Format_ARGB32);
  image.fill(qRgba(0, 0, 0, 255));
  for (int y = 0; y < 8; ++y)
    for (int x = 12; x < 24; ++x) image.setPixel(x, y, qRgba(0, 0, 0, 0));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "png");
  return bytes.toStdString();
}

constexpr char kSquareSvg[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="4mm" height="2mm" viewBox="0 0 2 1">)"
    R"(<rect width="1" height="1"/></svg>)";

class InkmarkNetworkTest : public InkmarkToolTest {
 protected:
  void SetUp() override {
    work.Write("logo.png", HalfTransparentPng());
    work.Write("logo.svg", kSquareSvg);
  }
  // DT-500/510 lists no network port: any model takes one.
  ToolResult On(const std::string& port, const std::vector<std::string>& args) {
    return OnModel({"--port", port}, args);
  }
  std::size_t WaitForPrinted(const vprinter::VirtualPrinter& printer, std::size_t count) {
    for (int i = 0; i < 200 && printer.Printed().size() < count; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return printer.Printed().size();
  }
};

TEST_F(InkmarkNetworkTest, EveryCommandOverIpv4AndIpv6Loopback) {
  for (const std::string host : {"127.0.0.1", "::1"}) {
    SCOPED_TRACE(host);
    vprinter::VirtualPrinter printer{vprinter::PrinterOptions{}};
    std::string error;
    auto server = vprinter::TcpServer::Start(printer, host, 0, &error);
    ASSERT_TRUE(server) << error;
    const std::string port = host == "::1" ? "tcp://[::1]:" + std::to_string(server->port())
                                           : "tcp://" + host + ":" + std::to_string(server->port());
    const long before = std::strtol(On(port, {"capacity"}).out.c_str(), nullptr, 10);
    EXPECT_GT(before, 0);
    ToolResult r = On(port, {"register", "logo.png", "-k", "PN"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(On(port, {"register", "logo.svg", "-k", "SV"}).status, 0);
    EXPECT_EQ(On(port, {"keys"}).out, "PN\nSV\n");
    EXPECT_LT(std::strtol(On(port, {"capacity"}).out.c_str(), nullptr, 10), before);
    r = On(port, {"register", "logo.png", "-k", "PN"});
    EXPECT_EQ(std::to_string(r.status) + r.err, "1inkmark: Specified key already exists.\n");
    ASSERT_EQ(On(port, {"print", "PN", "SV"}).status, 0);
    EXPECT_EQ(WaitForPrinted(printer, 2), 2u);
    ASSERT_EQ(On(port, {"test-print", "logo.png"}).status, 0);
    EXPECT_EQ(WaitForPrinted(printer, 3), 3u);
    ASSERT_EQ(On(port, {"delete", "--yes", "SV"}).status, 0);
    EXPECT_EQ(On(port, {"keys"}).out, "PN\n");
    // The transparent half printed as paper: the stored logo is half ink.
    r = On(port, {"preview", "logo.png"});
    EXPECT_EQ(r.out, "Size:3.39x1.13mm(24x8dot), Ink rate:1st=50.00% 2nd=0.00%\n") << r.err;
  }
}

TEST_F(InkmarkNetworkTest, SilentPrinterRefusedAddressAndNobodyListening) {
  TcpTestPrinter silent;  // accepts and never answers
  const std::string port = "tcp://127.0.0.1:" + std::to_string(silent.port());
  const auto start = std::chrono::steady_clock::now();
  ToolResult r = On(port, {"keys"});
  const auto took = std::chrono::steady_clock::now() - start;
  // The standard text, then why.
  const std::string silence =
      "inkmark: " + port + ": no reply within 3000 ms (0 of 1 bytes came)\n";
  EXPECT_EQ(std::to_string(r.status) + r.err, "1inkmark: Failed to get key code list.\n" + silence);
  EXPECT_LT(took, std::chrono::seconds(15));
  r = On(port, {"capacity"});
  EXPECT_EQ(std::to_string(r.status) + r.err,
            "1inkmark: Failed to get NV graphics capacity.\n" + silence);

  r = On("tcp://127.0.0.1:0", {"keys"});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, ::testing::HasSubstr("invalid network port 'tcp://127.0.0.1:0'"));
  r = On("tcp://[::1", {"keys"});
  EXPECT_EQ(r.status, 2);

  // A port nobody listens on refuses the connection at once.
  std::uint16_t closed = 0;
  {
    TcpTestPrinter gone;
    closed = gone.port();
  }
  r = On("tcp://localhost:" + std::to_string(closed), {"keys"});
  EXPECT_EQ(std::to_string(r.status) + r.err,
            "1inkmark: Failed to open printer port.\ninkmark: cannot connect to tcp://localhost:" +
                std::to_string(closed) + ": Connection refused\n");
}

// Runs `line` in a network namespace of our own whose only name server, on
// 127.0.0.1, takes every question and never answers. The exit status, or 77
// where namespaces cannot be made here.
int RunWithSilentNameServer(const std::string& line, const std::filesystem::path& resolv_conf) {
  const uid_t uid = ::getuid();
  const gid_t gid = ::getgid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    auto write_file = [](const char* path, const std::string& text) {
      const int fd = ::open(path, O_WRONLY);
      const bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
      if (fd >= 0) ::close(fd);
      return ok;
    };
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET | CLONE_NEWNS) != 0) ::_exit(77);
    write_file("/proc/self/setgroups", "deny");
    if (!write_file("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !write_file("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1") ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount(resolv_conf.c_str(), "/etc/resolv.conf", nullptr, MS_BIND, nullptr) != 0)
      ::_exit(77);
    // Loopback up, and a name server that reads nothing: questions wait in its queue.
    const int control = ::socket(AF_INET, SOCK_DGRAM, 0);
    ifreq lo{};
    std::strcpy(lo.ifr_name, "lo");
    lo.ifr_flags = IFF_UP;
    const int server = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(53);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::ioctl(control, SIOCSIFFLAGS, &lo) != 0 ||
        ::bind(server, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
      ::_exit(77);
    ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(InkmarkNetworkTest, ANameServerThatNeverAnswersIsGivenUpOnWithinTheConnectTime) {
  work.Write("resolv.conf", "nameserver 127.0.0.1\noptions timeout:30 attempts:1\n");
  const std::string w = work.path().string();
  const std::string line = "cd '" + w + "' && INKMARK_SETTINGS_DIR='" + w +
                           "/settings' '" INKMARK_BIN_DIR
                           "/inkmark' --printer DT-500/510 --port tcp://printer.example keys "
                           "</dev/null >out.txt 2>err.txt";
  const auto start = std::chrono::steady_clock::now();
  const int status = RunWithSilentNameServer(line, work.path() / "resolv.conf");
  if (status == 77) GTEST_SKIP() << "no network namespace of our own can be made here";
  // The resolver alone would wait 30 s.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  EXPECT_EQ(std::to_string(status) + Read("err.txt"),
            "1inkmark: Failed to open printer port.\ninkmark: cannot resolve printer.example: no "
            "answer within 3000 ms\n");
}

}  // namespace
}  // namespace inkmark::testing
