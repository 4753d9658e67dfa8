#include "ports/driver_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "port_test_fixture.h"
#include "ports/open_port.h"
#include "support/private_cupsd.h"
#include "support/temp_dir.h"
#include "tcp_test_printer.h"

namespace inkmark::testing {
namespace {

using std::chrono::milliseconds;

TEST(DriverPortTest, MissingLibraryShowsStatLinkBoxAndFails) {
  RecordingMessageBoxes boxes;
  TempDir empty;
  DriverPort port(kDriverModel, empty.path());
  EXPECT_EQ(port.open(), 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
  EXPECT_EQ(boxes.boxes()[0].caption, "ERROR");
  EXPECT_EQ(boxes.boxes()[0].text, "StatLink is already used or not installed.");
  EXPECT_EQ(boxes.boxes()[0].style, unsigned(kMbOk));

  // Nothing reaches a library that is not there.
  std::uint8_t bytes[4] = {1, 2, 3, 4};
  std::uint32_t count = 4, errors = 0;
  EXPECT_EQ(port.write(bytes, 4, count, errors), 0);
  EXPECT_EQ(port.readExact(bytes, 4, count), 0);
  count = 4;
  EXPECT_EQ(port.transact(bytes, 1, bytes, count, 1), 0);
  EXPECT_EQ(count, 0u);
  port.close();

  // A file of that name that is no library counts as missing too, and the
  // program's own route to the port shows the box once.
  TempDir broken;
  broken.Write(kStatusLibraryFile, "not a shared object");
  SetStatusLibraryFolder(broken.path());
  LogoSession session;
  UseProfile(session, DriverProfile(kDriverModel));
  EXPECT_EQ(OpenPrinterPort(session), nullptr);
  SetStatusLibraryFolder({});
  EXPECT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.texts().back(), "StatLink is already used or not installed.");
}

class DriverPortCupsTest : public PrivateCupsdTest {
 protected:
  void SetUp() override {
    PrivateCupsdTest::SetUp();
    SetStatusLibraryFolder(INKMARK_STATMON_DIR);
  }
  void TearDown() override {
    SetStatusLibraryFolder({});
    EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts().front();
  }

  RecordingMessageBoxes boxes;
};

TEST_F(DriverPortCupsTest, JobGoesThroughSpoolerByteForByte) {
  TcpTestPrinter printer;
  ASSERT_TRUE(cupsd_.AddQueue("TM1", kDriverModel, printer.Uri()));
  DriverPort port(kDriverModel);
  ASSERT_EQ(port.open(), 1);
  const std::vector<std::uint8_t> data = Pattern(10000);
  ASSERT_EQ(port.beginJob(), 1);
  std::uint32_t written = 0, errors = 0;
  EXPECT_EQ(port.write(data.data(), std::uint32_t(data.size()), written, errors), 1);
  EXPECT_EQ(written, 10000u);
  port.endJob();
  port.close();
  EXPECT_TRUE(printer.WaitForConnectionBytes(AsText(data), milliseconds(5000)));

  // A printer the spooler does not have: no job starts.
  DriverPort missing("NoSuchQueue");
  EXPECT_EQ(missing.beginJob(), 0);
  missing.endJob();
}

// Records the size of every library call and passes it on.
std::vector<std::uint32_t> g_call_sizes;
StlDirectIoFn g_real_direct_io = nullptr;
std::int32_t RecordingDirectIo(std::int32_t handle, std::uint32_t write_length,
                               const std::uint8_t* write_bytes, std::uint32_t* read_length,
                               std::uint8_t* read_buffer, std::uint32_t timeout_ms,
                               std::int32_t flag, std::int32_t version) {
  g_call_sizes.push_back(write_length);
  return g_real_direct_io(handle, write_length, write_bytes, read_length, read_buffer, timeout_ms,
                          flag, version);
}

TEST_F(DriverPortCupsTest, WritesOutsideJobGoThroughLibraryInChunks) {
  auto printer = std::make_unique<TcpTestPrinter>();
  ASSERT_TRUE(cupsd_.AddQueue("TM1", kDriverModel, printer->Uri()));
  DriverPort port(kDriverModel);
  ASSERT_EQ(port.open(), 1);
  g_real_direct_io = port.direct_io;
  g_call_sizes.clear();
  port.direct_io = RecordingDirectIo;

  const std::vector<std::uint8_t> data = Pattern(10000);
  std::uint32_t written = 0, errors = 0;
  EXPECT_EQ(port.write(data.data(), std::uint32_t(data.size()), written, errors), 1);
  EXPECT_EQ(g_call_sizes, (std::vector<std::uint32_t>{4096, 4096, 1808}));
  EXPECT_TRUE(printer->WaitForConnectionBytes(AsText(data), milliseconds(2000)));

  // Once the printer hangs up, the library's failure fails the port's calls.
  printer.reset();
  std::this_thread::sleep_for(milliseconds(50));
  std::uint8_t reply[128];
  std::uint32_t length = sizeof reply;
  EXPECT_EQ(port.transact(data.data(), 7, reply, length, 1), 0);
  EXPECT_EQ(port.write(data.data(), 100, written, errors), 0);
  port.close();
}

}  // namespace
}  // namespace inkmark::testing
