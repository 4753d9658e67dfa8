#include "ports/file_port.h"

#include <gtest/gtest.h>

#include "port_test_fixture.h"
#include "ports/open_port.h"

namespace inkmark::testing {
namespace {

using FilePortTest = PortTest;

std::int32_t WriteText(PortDriver& port, std::string_view text) {
  std::uint32_t written = 0, errors = 0;
  auto result =
      port.write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), written, errors);
  EXPECT_EQ(written, result ? text.size() : written);
  return result;
}

TEST_F(FilePortTest, CreatesFileAfreshAndAppendsEachWrite) {
  TempDir dir;
  auto path = dir.Write("logo.prn", "left over from an earlier run");
  for (const char* run : {"first", "second"}) {
    FilePort port(path.string());
    ASSERT_EQ(port.open(), 1);
    EXPECT_EQ(WriteText(port, run), 1);
    EXPECT_EQ(WriteText(port, "+tail"), 1);
    port.close();
    EXPECT_EQ(ReadFileText(path), std::string(run) + "+tail");
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
  EXPECT_EQ(WriteText(*port, "\x1D(L"), 1);
  // A file gives no replies.
  std::uint8_t buf[4];
  std::uint32_t got = 99;
  EXPECT_EQ(port->read(buf, 4, got), 0);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(port->readExact(buf, 4, got), 0);
  port->close();
  EXPECT_EQ(ReadFileText(session.save_path), "\x1D(L");
}

TEST_F(FilePortTest, FailsWhenFileCannotBeCreated) {
  TempDir dir;
  LogoSession session;
  session.save_as_command_file = 1;
  session.save_path = (dir.path() / "missing" / "cmd.prn").string();
  EXPECT_EQ(OpenPrinterPort(session), nullptr);

  // A path the system could open, but longer than a path may be here.
  std::string long_path = dir.path().string();
  while (long_path.size() < 260) long_path += "/.";
  FilePort too_long(long_path + "/cmd.prn");
  EXPECT_EQ(too_long.open(), 0);
  EXPECT_EQ(WriteText(too_long, "x"), 0);
}

}  // namespace
}  // namespace inkmark::testing
