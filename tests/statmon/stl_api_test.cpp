// The built status-monitor library, loaded as the driver port loads it, on
// queues of a private scheduler whose printers are loopback test printers or
// a pseudo-terminal.
#include "statmon/stl_api.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/unique_fd.h"
#include "support/private_cupsd.h"
#include "tcp_test_printer.h"

namespace inkmark::testing {
namespace {

using namespace std::string_literals;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

const std::string kModel = "Corlane Printer Driver DT-300/310";
constexpr std::int32_t kBlock = kStlReplyStatusBlock, kRaw = kStlReplyRaw;
using Got = std::pair<std::int32_t, std::string>;  // an exchange's result and reply
const std::string kCapacityRequest = "\x1d\x28\x4c\x02\x00\x30\x33"s;

class StatusLibraryTest : public PrivateCupsdTest {
 protected:
  void SetUp() override {
    PrivateCupsdTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const std::string file = std::string(INKMARK_STATMON_DIR) + "/" + kStatusLibraryFile;
    handle_ = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(handle_) << ::dlerror();
    open = reinterpret_cast<StlOpenMonitorFn>(::dlsym(handle_, kStlOpenMonitorName));
    close = reinterpret_cast<StlCloseMonitorFn>(::dlsym(handle_, kStlCloseMonitorName));
    direct_io = reinterpret_cast<StlDirectIoFn>(::dlsym(handle_, kStlDirectIoName));
    ASSERT_TRUE(open && close && direct_io);
  }
  void TearDown() override {
    if (handle_) ::dlclose(handle_);
  }

  // Adds a queue printing to `uri` and opens a monitor on it.
  std::int32_t OpenQueue(const std::string& queue, const std::string& uri) {
    EXPECT_TRUE(cupsd_.AddQueue(queue, kModel, uri));
    return open(kStlAccessDirect, queue.c_str());
  }
  // One exchange: its result and the reply as text.
  Got Exchange(std::int32_t handle, const std::string& request, std::uint32_t room,
               std::int32_t kind, std::uint32_t timeout_ms = 3000) {
    std::vector<std::uint8_t> reply(room + 16, 0xEE);
    std::uint32_t length = room;
    const std::int32_t result = direct_io(handle, std::uint32_t(request.size()),
                                          reinterpret_cast<const std::uint8_t*>(request.data()),
                                          &length, reply.data(), timeout_ms, kind, kStlCallVersion);
    for (std::size_t i = room; i < reply.size(); ++i)
      EXPECT_EQ(reply[i], 0xEE) << "byte written past the room at " << i;
    EXPECT_LE(length, room);
    return {result, std::string(reply.begin(), reply.begin() + std::min(length, room))};
  }

  StlOpenMonitorFn open = nullptr;
  StlCloseMonitorFn close = nullptr;
  StlDirectIoFn direct_io = nullptr;
  void* handle_ = nullptr;
};

TEST_F(StatusLibraryTest, OpensQueueByNameOrMakeAndModelAndExchanges) {
  TcpTestPrinter printer([](std::string_view got) {
    if (got == kCapacityRequest)
      return "\x01\x02"
             "7112345\0"s;
    if (got == "long") return "7" + std::string(20, '1') + "\0"s;
    return got == "short" ? "7B\0"s : got == "HELLO?" ? "hello"s : ""s;
  });
  const std::int32_t by_name = OpenQueue("TM1", printer.Uri());
  const std::int32_t by_model = open(kStlAccessDirect, kModel.c_str());
  ASSERT_GE(by_name, 0);
  ASSERT_GE(by_model, 0);
  EXPECT_NE(by_name, by_model);

  EXPECT_EQ(Exchange(by_name, kCapacityRequest, 128, kBlock), Got(kStlOk, "7112345\0"s));
  EXPECT_EQ(Exchange(by_model, "HELLO?", 128, kRaw), Got(kStlOk, "hello"));
  // A block longer than the room is refused, and read to its end all the same.
  EXPECT_EQ(Exchange(by_name, "long", 8, kBlock), Got(kStlReplyTooLong, ""));
  EXPECT_EQ(Exchange(by_name, "short", 8, kBlock), Got(kStlOk, "7B\0"s));
  // A write alone reaches the printer and asks for nothing back.
  const std::uint8_t init[] = {0x1B, 0x40};
  std::uint32_t length = 77;
  EXPECT_EQ(direct_io(by_model, 2, init, &length, nullptr, 3000, 0, kStlCallVersion), kStlOk);
  EXPECT_EQ(length, 0u);
  EXPECT_TRUE(printer.WaitForConnectionBytes("HELLO?\x1b@", milliseconds(2000)));

  EXPECT_EQ(close(by_name), kStlOk);
  EXPECT_EQ(close(by_model), kStlOk);
  EXPECT_EQ(Exchange(by_name, "HELLO?", 16, kRaw), Got(kStlUnknownHandle, ""));
  EXPECT_LT(close(by_name), 0);  // closing twice is harmless
}

TEST_F(StatusLibraryTest, RefusesUnknownPrinterAndMalformedCalls) {
  TcpTestPrinter printer;
  const std::int32_t h = OpenQueue("TM1", printer.Uri());
  ASSERT_GE(h, 0);
  EXPECT_EQ(open(kStlAccessDirect, "NoSuchQueue"), kStlNoSuchPrinter);
  EXPECT_EQ(open(kStlAccessDirect, "Corlane Printer Driver DT-300"), kStlNoSuchPrinter);
  EXPECT_EQ(open(1, "TM1"), kStlBadArgument);
  EXPECT_EQ(open(kStlAccessDirect, nullptr), kStlBadArgument);
  EXPECT_EQ(open(kStlAccessDirect, ""), kStlBadArgument);

  std::uint8_t buffer[8];
  std::uint32_t length = sizeof buffer;
  EXPECT_EQ(direct_io(h, 1, buffer, &length, buffer, 100, 0, 2), kStlBadArgument);
  EXPECT_EQ(direct_io(h, 1, buffer, &length, buffer, 100, 7, 1), kStlBadArgument);
  EXPECT_EQ(direct_io(h, 4, nullptr, &length, buffer, 100, 0, 1), kStlBadArgument);
  EXPECT_EQ(direct_io(h, 1, buffer, nullptr, buffer, 100, 0, 1), kStlBadArgument);
  for (std::int32_t other : {-1, h + 1, h + kStlCallVersion * 8, 0x7FFFFFFF})
    EXPECT_EQ(direct_io(other, 1, buffer, &length, nullptr, 100, 0, 1), kStlUnknownHandle);
  EXPECT_LT(close(-5), 0);
  EXPECT_EQ(close(h), kStlOk);
}

TEST_F(StatusLibraryTest, SilentOrAbsentPrinterFailsWithinTimeOut) {
  std::string absent;
  {
    TcpTestPrinter gone;  // a port nobody listens on once it is gone
    absent = gone.Uri();
  }
  TcpTestPrinter silent;
  const std::int32_t h = OpenQueue("Silent", silent.Uri());
  ASSERT_GE(h, 0);
  auto start = Clock::now();
  EXPECT_EQ(Exchange(h, kCapacityRequest, 128, kBlock, 300), Got(kStlTimedOut, ""));
  EXPECT_GE(Clock::now() - start, milliseconds(290));
  EXPECT_LT(Clock::now() - start, milliseconds(1500));
  close(h);

  start = Clock::now();
  EXPECT_EQ(OpenQueue("Absent", absent), kStlDeviceUnreachable);
  EXPECT_LT(Clock::now() - start, milliseconds(3500));
}

TEST_F(StatusLibraryTest, HandleTableIsBoundedAndClosedHandlesStayClosed) {
  TcpTestPrinter printer([](std::string_view got) { return std::string(got); });
  std::vector<std::int32_t> handles = {OpenQueue("TM1", printer.Uri())};
  for (std::int32_t h = handles[0]; h >= 0 && handles.size() < 100; handles.push_back(h))
    h = open(kStlAccessDirect, "TM1");
  EXPECT_EQ(handles.back(), kStlNoRoom) << "the table has no bound";
  handles.pop_back();
  EXPECT_GE(handles.size(), 4u);

  const std::int32_t closed = handles.front();
  ASSERT_EQ(close(closed), kStlOk);
  handles.front() = open(kStlAccessDirect, "TM1");
  ASSERT_GE(handles.front(), 0);
  EXPECT_NE(handles.front(), closed);
  EXPECT_EQ(Exchange(closed, "x", 4, kRaw).first, kStlUnknownHandle);
  EXPECT_LT(close(closed), 0);
  EXPECT_EQ(Exchange(handles.front(), "echo", 4, kRaw), Got(kStlOk, "echo"));
  for (std::int32_t h : handles) EXPECT_EQ(close(h), kStlOk);
}

TEST_F(StatusLibraryTest, SerialQueueIsReachedThroughItsDevice) {
  int master = -1, slave = -1;
  ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  UniqueFd controller(master), terminal(slave);  // the terminal held so the line stays up
  const std::int32_t h = OpenQueue("Serial", "serial:"s + ::ttyname(slave) + "?baud=19200+bits=8");
  ASSERT_GE(h, 0);
  std::thread answer([&] {
    std::string got;
    char c;
    for (pollfd p{master, POLLIN, 0}; got.size() < kCapacityRequest.size() &&
                                      ::poll(&p, 1, 3000) == 1 && ::read(master, &c, 1) == 1;)
      got += c;
    if (got == kCapacityRequest)
      (void)!::write(master,
                     "\xff"
                     "7142\0",
                     6);
  });
  EXPECT_EQ(Exchange(h, kCapacityRequest, 128, kBlock), Got(kStlOk, "7142\0"s));
  answer.join();
  EXPECT_EQ(close(h), kStlOk);
}

}  // namespace
}  // namespace inkmark::testing
