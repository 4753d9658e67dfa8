#include "servers.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "io_helpers.h"
#include "support/temp_dir.h"
#include "test_bytes.h"

namespace inkmark::vprinter {
namespace {

using namespace testing;

TEST(PtyServer, RefusesToReplaceAFileThatIsNotALink) {
  inkmark::testing::TempDir dir;
  VirtualPrinter printer(PrinterOptions{});
  const auto file = dir.Write("com1", "mine");
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
  UniqueFd a = ConnectTo(server->port()), b = ConnectTo(server->port());
  ASSERT_TRUE(a.valid() && b.valid());

  // Half a command on one connection does not disturb the other.
  const Bytes define_a = RasterDefine('A', 'A', 8, 1, {{0x31, {0xFF}}});
  ASSERT_TRUE(WriteAllTo(a.get(), {define_a.begin(), define_a.begin() + 9}));
  ASSERT_TRUE(
      WriteAllTo(b.get(), Cat({RasterDefine('B', 'B', 8, 1, {{0x31, {0x0F}}}), kKeyListRequest})));
  EXPECT_EQ(ReadFrom(b.get(), 6), (Bytes{0x37, 0x72, 0x40, 'B', 'B', 0x00}));
  ASSERT_TRUE(WriteAllTo(a.get(), Cat({{define_a.begin() + 9, define_a.end()}, kKeyListRequest})));
  EXPECT_EQ(ReadFrom(a.get(), 8), (Bytes{0x37, 0x72, 0x40, 'A', 'A', 'B', 'B', 0x00}));

  // Stopping with connections still open ends them.
  server->Stop();
  std::uint8_t byte;
  EXPECT_EQ(::read(a.get(), &byte, 1), 0);
}

}  // namespace
}  // namespace inkmark::vprinter
