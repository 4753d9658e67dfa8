// Network printers end to end: the built program reaches the virtual printer
// over TCP on IPv4 and IPv6 loopback with every command, whatever ports the
// printer file lists, and gives up in bounded time on a printer that accepts
// the connection but never answers.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <chrono>
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
  ToolResult On(const std::string& port, std::vector<std::string> args) {
    // DT-500/510 lists no network port: any model takes one.
    args.insert(args.begin(), {"--printer", "DT-500/510", "--second", "None", "--port", port});
    return Run(args, false);
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
  EXPECT_NE(r.err.find("invalid network port 'tcp://127.0.0.1:0'"), std::string::npos) << r.err;
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

}  // namespace
}  // namespace inkmark::testing
