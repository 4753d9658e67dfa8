#include "ports/driver_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "port_test_fixture.h"
#include "ports/open_port.h"
#include "support/private_cupsd.h"
#include "tcp_test_printer.h"

namespace inkmark::testing {
namespace {

using std::chrono::milliseconds;

TEST(DriverPortTest, MissingOrBrokenLibraryShowsStatLinkBoxAndFails) {
  RecordingMessageBoxes boxes;
  TempDir empty;
  DriverPort port(kDriverModel, empty.path());
  EXPECT_EQ(port.open(), 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  const RecordedBox& box = boxes.boxes()[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption + "|" + box.text, "ERROR|StatLink is already used or not installed.");
  EXPECT_EQ(box.style, unsigned(kMbOk));
  // Nothing reaches a library that is not there.
  std::uint8_t bytes[4] = {1, 2, 3, 4};
  std::uint32_t count = 4;
  EXPECT_EQ(WriteAll(port, "data") + port.readExact(bytes, 4, count), 0);
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
  UseChoices(session, {.port = "Corlane Printer Driver"}, {kDriverModel});
  EXPECT_EQ(OpenPrinterPort(session), nullptr);
  SetStatusLibraryFolder({});
  EXPECT_EQ(boxes.texts(), std::vector<std::string>(2, kStatLinkMissingText));
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

class DriverPortCupsTest : public PrivateCupsdTest {
 protected:
  void TearDown() override { SetStatusLibraryFolder({}); }
};

// The route of a printer on the spooler's driver: a private cupsd whose queue
// prints over TCP, with requests through the built status library.
TEST_F(DriverPortCupsTest, JobsGoThroughSpoolerOtherWritesThroughLibraryInChunks) {
  RecordingMessageBoxes boxes;
  SetStatusLibraryFolder(INKMARK_STATMON_DIR);
  auto printer = std::make_unique<TcpTestPrinter>();
  ASSERT_TRUE(cupsd_.AddQueue("TM1", kDriverModel, printer->Uri()));
  LogoSession session;
  UseChoices(session, {.port = "Corlane Printer Driver"}, {kDriverModel});
  std::unique_ptr<PortDriver> opened = OpenPrinterPort(session);
  auto* port = dynamic_cast<DriverPort*>(opened.get());
  ASSERT_NE(port, nullptr);
  const std::string job = Pattern(10000);
  ASSERT_EQ(port->beginJob(), 1);
  EXPECT_EQ(WriteAll(*port, job), 1);
  port->endJob();
  EXPECT_TRUE(printer->WaitForConnectionBytes(job, milliseconds(5000)));

  g_real_direct_io = port->direct_io;
  g_call_sizes.clear();
  port->direct_io = RecordingDirectIo;
  const std::string direct = Pattern(10001).substr(1);
  EXPECT_EQ(WriteAll(*port, direct), 1);
  EXPECT_EQ(g_call_sizes, (std::vector<std::uint32_t>{4096, 4096, 1808}));
  // The initialise command went the same way, before the job.
  EXPECT_TRUE(printer->WaitForConnectionBytes("\x1B@" + direct, milliseconds(2000)));

  // Once the printer hangs up, the library's failure fails the port's calls.
  printer.reset();
  std::this_thread::sleep_for(milliseconds(50));
  std::uint8_t reply[128];
  std::uint32_t length = sizeof reply;
  EXPECT_EQ(port->transact(reply, 7, reply, length, 1), 0);
  EXPECT_EQ(WriteAll(*port, direct.substr(0, 100)), 0);
  port->close();
  EXPECT_TRUE(boxes.boxes().empty());

  // A printer the spooler does not have: no job starts.
  DriverPort missing("NoSuchQueue");
  EXPECT_EQ(missing.beginJob(), 0);
  missing.endJob();
}

}  // namespace
}  // namespace inkmark::testing
