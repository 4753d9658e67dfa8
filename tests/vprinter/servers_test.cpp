#include "servers.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>

#include "io_helpers.h"
#include "support/temp_dir.h"
#include "test_bytes.h"

namespace inkmark::vprinter {
namespace {

using testing::Bytes;
using testing::Cat;

TEST(PtyServer, AnswersThroughTheLinkAndTakesLargeDefines) {
  inkmark::testing::TempDir dir;
  VirtualPrinter printer(PrinterOptions{});
  std::string error;
  auto link = dir.path() / "devices" / "com1";
  auto server = PtyServer::Start(printer, link, &error);
  ASSERT_TRUE(server) << error;
  ASSERT_TRUE(std::filesystem::is_symlink(link));

  UniqueFd port(::open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(port.valid());
  // 1024 × 64 dots in one colour: 8193 bytes, more than the terminal buffers at once.
  Bytes big = testing::RasterDefine('B', 'G', 1024, 64, {{0x31, Bytes(8192, 0x81)}});
  ASSERT_TRUE(
      testing::WriteAllTo(port.get(), Cat({testing::kInitialise, big, testing::kCapacityRequest})));
  Bytes expected = testing::Reply(0x31, std::to_string(kDefaultCapacity - 8193 - 30));
  EXPECT_EQ(testing::ReadFrom(port.get(), expected.size()), expected);
  EXPECT_EQ(printer.Keys(), (std::vector<NvKey>{{'B', 'G'}}));

  // The host closing its side and opening again finds the printer still there.
  port.Reset();
  port = UniqueFd(::open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(testing::WriteAllTo(port.get(), testing::kKeyListRequest));
  EXPECT_EQ(testing::ReadFrom(port.get(), 6), (Bytes{0x37, 0x72, 0x40, 'B', 'G', 0x00}));

  server->Stop();
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(PtyServer, RefusesToReplaceAFileThatIsNotALink) {
  inkmark::testing::TempDir dir;
  VirtualPrinter printer(PrinterOptions{});
  auto file = dir.Write("com1", "mine");
  std::string error;
  EXPECT_FALSE(PtyServer::Start(printer, file, &error));
  EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
  EXPECT_EQ(inkmark::testing::ReadFileText(file), "mine");
}

TEST(TcpServer, ConnectionsKeepTheirOwnParserButShareNvMemory) {
  VirtualPrinter printer(PrinterOptions{});
  std::string error;
  auto server = TcpServer::Start(printer, "127.0.0.1", 0, &error);
  ASSERT_TRUE(server) << error;
  ASSERT_NE(server->port(), 0);
  UniqueFd a = testing::ConnectTo(server->port());
  UniqueFd b = testing::ConnectTo(server->port());
  ASSERT_TRUE(a.valid() && b.valid());

  Bytes define_a = testing::RasterDefine('A', 'A', 8, 1, {{0x31, {0xFF}}});
  // Half a command on one connection must not disturb the other.
  ASSERT_TRUE(testing::WriteAllTo(a.get(), {define_a.begin(), define_a.begin() + 9}));
  ASSERT_TRUE(testing::WriteAllTo(
      b.get(),
      Cat({testing::RasterDefine('B', 'B', 8, 1, {{0x31, {0x0F}}}), testing::kKeyListRequest})));
  EXPECT_EQ(testing::ReadFrom(b.get(), 6), (Bytes{0x37, 0x72, 0x40, 'B', 'B', 0x00}));
  ASSERT_TRUE(testing::WriteAllTo(
      a.get(), Cat({{define_a.begin() + 9, define_a.end()}, testing::kKeyListRequest})));
  EXPECT_EQ(testing::ReadFrom(a.get(), 8), (Bytes{0x37, 0x72, 0x40, 'A', 'A', 'B', 'B', 0x00}));
  EXPECT_EQ(server->connections_accepted(), 2);

  // A spooler sends its job, half-closes and waits for the printer to close.
  UniqueFd job = testing::ConnectTo(server->port());
  ASSERT_TRUE(testing::WriteAllTo(job.get(), testing::RasterDefine('J', 'B', 8, 1, {{0x31, {1}}})));
  ::shutdown(job.get(), SHUT_WR);
  pollfd closed{job.get(), POLLIN, 0};
  ASSERT_EQ(::poll(&closed, 1, 3000), 1);
  std::uint8_t end_byte;
  EXPECT_EQ(::read(job.get(), &end_byte, 1), 0);
  EXPECT_EQ(printer.Keys().size(), 3u);

  // Stopping with connections still open ends them.
  server->Stop();
  std::uint8_t byte;
  EXPECT_EQ(::read(a.get(), &byte, 1), 0);
}

}  // namespace
}  // namespace inkmark::vprinter
