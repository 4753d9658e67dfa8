#include "ports/file_port.h"

#include <gtest/gtest.h>

#include "port_test_fixture.h"
#include "ports/open_port.h"

namespace inkmark::testing {
namespace {

using FilePortTest = PortTest;

TEST_F(FilePortTest, CreatesFileAfreshAppendsEachWriteAndFailsWhereNoFileCanBe) {
  TempDir dir;
  auto path = dir.Write("logo.prn", "left over from an earlier run");
  for (std::string run : {"first", "second"}) {
    FilePort port(path.string());
    ASSERT_EQ(port.open(), 1);
    std::uint32_t written = 0;
    EXPECT_EQ(WriteAll(port, run, &written) + WriteAll(port, "+tail"), 2);
    EXPECT_EQ(written, run.size());
    port.close();
    EXPECT_EQ(ReadFileText(path), run + "+tail");
  }
  // A missing folder, and a path the system could open but longer than a path may be here.
  std::string long_path = dir.path().string();
  while (long_path.size() < 260) long_path += "/.";
  for (auto bad :
       {dir.path() / "missing" / "cmd.prn", std::filesystem::path(long_path + "/cmd.prn")}) {
    FilePort port(bad.string());
    EXPECT_EQ(port.open() + WriteAll(port, "x"), 0);
  }
}

TEST_F(FilePortTest, CommandFileHoldsCallersBytesOnlyAndReadsNothing) {
  TempDir dir;
  LogoSession session;
  session.save_as_command_file = 1;
  session.save_path = (dir.path() / "cmd.prn").string();
  auto port = OpenPrinterPort(session);
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(clock.NowMs(), 0u);  // a file needs no settling time
  EXPECT_EQ(WriteAll(*port, "\x1D(L"), 1);
  std::uint8_t buf[4];
  std::uint32_t got = 99;
  EXPECT_EQ(port->read(buf, 4, got) + port->readExact(buf, 4, got), 0);
  EXPECT_EQ(got, 0u);
  port->close();
  EXPECT_EQ(ReadFileText(session.save_path), "\x1D(L");
  session.save_path = (dir.path() / "missing" / "cmd.prn").string();
  EXPECT_EQ(OpenPrinterPort(session), nullptr);
}

}  // namespace
}  // namespace inkmark::testing
