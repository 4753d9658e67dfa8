#include "statmon/stl_api.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ports/unique_fd.h"
#include "status_library.h"
#include "support/private_cupsd.h"
#include "tcp_test_printer.h"

namespace inkmark::testing {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

const std::string kModel = "Corlane Printer Driver DT-300/310";
const std::string kCapacityRequest("\x1d\x28\x4c\x02\x00\x30\x33", 7);

class StatusLibraryTest : public PrivateCupsdTest {
 protected:
  void SetUp() override {
    PrivateCupsdTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(lib.loaded());
  }

  // One exchange; the reply as text, or the failure code in `result`.
  std::string Exchange(std::int32_t handle, const std::string& request, std::uint32_t room,
                       std::int32_t kind, std::int32_t* result, std::uint32_t timeout_ms = 3000) {
    std::vector<std::uint8_t> reply(room + 16, 0xEE);
    std::uint32_t length = room;
    *result = lib.direct_io(handle, std::uint32_t(request.size()),
                            reinterpret_cast<const std::uint8_t*>(request.data()), &length,
                            reply.data(), timeout_ms, kind, kStlCallVersion);
    for (std::size_t i = room; i < reply.size(); ++i)
      EXPECT_EQ(reply[i], 0xEE) << "byte written past the room at " << i;
    EXPECT_LE(length, room);
    return std::string(reply.begin(), reply.begin() + std::min(length, room));
  }

  StatusLibrary lib;
};

TEST_F(StatusLibraryTest, OpensQueueByNameOrMakeAndModelAndExchanges) {
  TcpTestPrinter printer([](std::string_view got) -> std::string {
    if (got == kCapacityRequest)
      return std::string(
          "\x01\x02"
          "71"
          "12345\0",
          10);
    if (got == "HELLO?") return "hello";
    return "";
  });
  ASSERT_TRUE(cupsd_.AddQueue("TM1", kModel, printer.Uri()));

  std::int32_t by_name = lib.open(kStlAccessDirect, "TM1");
  std::int32_t by_model = lib.open(kStlAccessDirect, kModel.c_str());
  ASSERT_GE(by_name, 0);
  ASSERT_GE(by_model, 0);
  EXPECT_NE(by_name, by_model);

  std::int32_t r = 0;
  EXPECT_EQ(Exchange(by_name, kCapacityRequest, 128, kStlReplyStatusBlock, &r),
            std::string("7112345\0", 8));
  EXPECT_EQ(r, kStlOk);
  EXPECT_EQ(Exchange(by_model, "HELLO?", 128, kStlReplyRaw, &r), "hello");
  EXPECT_EQ(r, kStlOk);

  // A write alone reaches the printer and asks for nothing back.
  const std::uint8_t init[] = {0x1B, 0x40};
  std::uint32_t length = 77;
  EXPECT_EQ(lib.direct_io(by_model, 2, init, &length, nullptr, 3000, 0, kStlCallVersion), kStlOk);
  EXPECT_EQ(length, 0u);
  EXPECT_TRUE(printer.WaitForConnectionBytes("HELLO?\x1b@", milliseconds(2000)));

  EXPECT_EQ(lib.close(by_name), kStlOk);
  EXPECT_EQ(lib.close(by_model), kStlOk);
  EXPECT_EQ(Exchange(by_name, "HELLO?", 16, kStlReplyRaw, &r), "");
  EXPECT_EQ(r, kStlUnknownHandle);
  EXPECT_LT(lib.close(by_name), 0);  // closing twice is harmless
}

TEST_F(StatusLibraryTest, RefusesUnknownPrinterAndMalformedCalls) {
  TcpTestPrinter printer;
  ASSERT_TRUE(cupsd_.AddQueue("TM1", kModel, printer.Uri()));
  EXPECT_EQ(lib.open(kStlAccessDirect, "NoSuchQueue"), kStlNoSuchPrinter);
  EXPECT_EQ(lib.open(kStlAccessDirect, "Corlane Printer Driver DT-300"), kStlNoSuchPrinter);
  EXPECT_EQ(lib.open(1, "TM1"), kStlBadArgument);
  EXPECT_EQ(lib.open(kStlAccessDirect, nullptr), kStlBadArgument);
  EXPECT_EQ(lib.open(kStlAccessDirect, ""), kStlBadArgument);

  std::int32_t h = lib.open(kStlAccessDirect, "TM1");
  ASSERT_GE(h, 0);
  std::uint8_t buffer[8];
  std::uint32_t length = sizeof buffer;
  EXPECT_EQ(lib.direct_io(h, 1, buffer, &length, buffer, 100, 0, 2), kStlBadArgument);
  EXPECT_EQ(lib.direct_io(h, 1, buffer, &length, buffer, 100, 7, 1), kStlBadArgument);
  EXPECT_EQ(lib.direct_io(h, 4, nullptr, &length, buffer, 100, 0, 1), kStlBadArgument);
  EXPECT_EQ(lib.direct_io(h, 1, buffer, nullptr, buffer, 100, 0, 1), kStlBadArgument);
  for (std::int32_t other : {-1, h + 1, h + kStlCallVersion * 8, 0x7FFFFFFF})
    EXPECT_EQ(lib.direct_io(other, 1, buffer, &length, nullptr, 100, 0, 1), kStlUnknownHandle);
  EXPECT_LT(lib.close(-5), 0);
  EXPECT_EQ(lib.close(h), kStlOk);
}

TEST_F(StatusLibraryTest, SilentOrAbsentPrinterFailsWithinTimeOut) {
  TcpTestPrinter silent;
  ASSERT_TRUE(cupsd_.AddQueue("Silent", kModel, silent.Uri()));
  std::int32_t h = lib.open(kStlAccessDirect, "Silent");
  ASSERT_GE(h, 0);
  std::int32_t r = 0;
  auto start = Clock::now();
  EXPECT_EQ(Exchange(h, kCapacityRequest, 128, kStlReplyStatusBlock, &r, 300), "");
  auto took = Clock::now() - start;
  EXPECT_EQ(r, kStlTimedOut);
  EXPECT_GE(took, milliseconds(290));
  EXPECT_LT(took, milliseconds(1500));
  lib.close(h);

  // A port nobody listens on: the monitor cannot open.
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof addr;
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), size), 0);
  ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &size), 0);
  ::close(fd);
  ASSERT_TRUE(cupsd_.AddQueue("Absent", kModel,
                              "socket://127.0.0.1:" + std::to_string(ntohs(addr.sin_port))));
  start = Clock::now();
  EXPECT_EQ(lib.open(kStlAccessDirect, "Absent"), kStlDeviceUnreachable);
  EXPECT_LT(Clock::now() - start, milliseconds(3500));
}

TEST_F(StatusLibraryTest, ReplyLongerThanRoomIsRefusedAndNextReplyStaysInStep) {
  TcpTestPrinter printer([](std::string_view got) -> std::string {
    if (got == "A") return "7" + std::string(20, '1') + std::string(1, '\0');
    if (got == "B") return std::string("7B\0", 3);
    return "";
  });
  ASSERT_TRUE(cupsd_.AddQueue("TM1", kModel, printer.Uri()));
  std::int32_t h = lib.open(kStlAccessDirect, "TM1");
  ASSERT_GE(h, 0);
  std::int32_t r = 0;
  EXPECT_EQ(Exchange(h, "A", 8, kStlReplyStatusBlock, &r), "");
  EXPECT_EQ(r, kStlReplyTooLong);
  EXPECT_EQ(Exchange(h, "B", 8, kStlReplyStatusBlock, &r), std::string("7B\0", 3));
  EXPECT_EQ(r, kStlOk);
  lib.close(h);
}

TEST_F(StatusLibraryTest, HandleTableIsBoundedAndClosedHandlesStayClosed) {
  TcpTestPrinter printer([](std::string_view got) { return std::string(got); });
  ASSERT_TRUE(cupsd_.AddQueue("TM1", kModel, printer.Uri()));
  std::vector<std::int32_t> handles;
  for (;;) {
    std::int32_t h = lib.open(kStlAccessDirect, "TM1");
    if (h < 0) {
      EXPECT_EQ(h, kStlNoRoom);
      break;
    }
    handles.push_back(h);
    ASSERT_LT(handles.size(), 100u) << "the table has no bound";
  }
  EXPECT_GE(handles.size(), 4u);

  const std::int32_t closed = handles.front();
  ASSERT_EQ(lib.close(closed), kStlOk);
  std::int32_t reopened = lib.open(kStlAccessDirect, "TM1");
  ASSERT_GE(reopened, 0);
  EXPECT_NE(reopened, closed);
  std::int32_t r = 0;
  Exchange(closed, "x", 4, kStlReplyRaw, &r);
  EXPECT_EQ(r, kStlUnknownHandle);
  EXPECT_LT(lib.close(closed), 0);
  EXPECT_EQ(Exchange(reopened, "echo", 4, kStlReplyRaw, &r), "echo");
  EXPECT_EQ(r, kStlOk);

  handles.front() = reopened;
  for (std::int32_t h : handles) EXPECT_EQ(lib.close(h), kStlOk);
}

TEST_F(StatusLibraryTest, SerialQueueIsReachedThroughItsDevice) {
  int master = -1;
  int slave = -1;
  ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  UniqueFd controller(master);
  UniqueFd terminal(slave);  // held so the line stays up between opens
  const std::string path = ::ttyname(slave);
  ASSERT_TRUE(cupsd_.AddQueue("Serial", kModel, "serial:" + path + "?baud=19200+bits=8"));

  std::int32_t h = lib.open(kStlAccessDirect, "Serial");
  ASSERT_GE(h, 0);
  std::thread answer([&] {
    std::string got;
    char c;
    pollfd p{master, POLLIN, 0};
    while (got.size() < kCapacityRequest.size() && ::poll(&p, 1, 3000) == 1 &&
           ::read(master, &c, 1) == 1)
      got += c;
    if (got == kCapacityRequest)
      (void)!::write(master,
                     "\xff"
                     "71"
                     "42\0",
                     6);
  });
  std::int32_t r = 0;
  EXPECT_EQ(Exchange(h, kCapacityRequest, 128, kStlReplyStatusBlock, &r), std::string("7142\0", 5));
  EXPECT_EQ(r, kStlOk);
  answer.join();
  EXPECT_EQ(lib.close(h), kStlOk);
}

}  // namespace
}  // namespace inkmark::testing
