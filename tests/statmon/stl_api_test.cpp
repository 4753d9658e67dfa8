// The status-monitor library's entry points on queues of a private scheduler
// whose printers are a loopback test printer or a pseudo-terminal.
#include "statmon/stl_api.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "support/private_cupsd.h"
#include "support/tcp_test_printer.h"

namespace inkmark::testing {
namespace {

using namespace std::string_literals;
using std::chrono::milliseconds;
using Got = std::pair<std::int32_t, std::string>;  // an exchange's result and reply

const std::string kModel = "Corlane Printer Driver DT-300/310";
const std::string kCapacityRequest = "\x1d\x28\x4c\x02\x00\x30\x33"s;
constexpr std::int32_t kBlock = kStlReplyStatusBlock, kRaw = kStlReplyRaw;

class StatusLibraryTest : public PrivateCupsdTest {
 protected:
  // Adds a queue printing to `uri` and opens a monitor on it.
  std::int32_t OpenQueue(const std::string& queue, const std::string& uri) {
    EXPECT_TRUE(cupsd_.AddQueue(queue, kModel, uri));
    return StlOpenMonitor(kStlAccessDirect, queue.c_str());
  }
  // One exchange, checking that nothing is written past the room.
  Got Exchange(std::int32_t handle, const std::string& request, std::uint32_t room,
               std::int32_t kind, std::uint32_t timeout_ms = 3000) {
    std::string reply(room + 16, '\xEE');
    std::uint32_t length = room;
    const std::int32_t result = StlDirectIO(handle, std::uint32_t(request.size()),
                                            reinterpret_cast<const std::uint8_t*>(request.data()),
                                            &length, reinterpret_cast<std::uint8_t*>(reply.data()),
                                            timeout_ms, kind, kStlCallVersion);
    EXPECT_EQ(reply.substr(room), std::string(16, '\xEE')) << "written past the room";
    return {result, reply.substr(0, std::min(length, room))};
  }
};

TEST_F(StatusLibraryTest, ExchangesOverTcpAndSerialQueuesAndRefusesBadCalls) {
  TcpTestPrinter printer([](std::string_view got) {
    if (got == kCapacityRequest) return "\x01\x02" + "7112345\0"s;
    if (got == "long") return "7" + std::string(20, '1') + "\0"s;
    return got == "short" ? "7B\0"s : got == "HELLO?" ? "hello"s : ""s;
  });
  const std::int32_t h = OpenQueue("TM1", printer.Uri());
  ASSERT_GE(h, 0);
  EXPECT_EQ(Exchange(h, kCapacityRequest, 128, kBlock), Got(kStlOk, "7112345\0"s));
  EXPECT_EQ(Exchange(h, "HELLO?", 128, kRaw), Got(kStlOk, "hello"));
  // A block longer than the room is refused, and read to its end all the same.
  EXPECT_EQ(Exchange(h, "long", 8, kBlock), Got(kStlReplyTooLong, ""));
  EXPECT_EQ(Exchange(h, "short", 8, kBlock), Got(kStlOk, "7B\0"s));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Exchange(h, "unanswered", 128, kBlock, 300), Got(kStlTimedOut, ""));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(waited >= milliseconds(290) && waited < milliseconds(1500));

  EXPECT_EQ(OpenQueue("Absent", "socket://127.0.0.1:1"), kStlDeviceUnreachable);
  EXPECT_EQ(StlOpenMonitor(kStlAccessDirect, "NoSuchQueue"), kStlNoSuchPrinter);
  EXPECT_EQ(StlOpenMonitor(kStlAccessDirect, nullptr), kStlBadArgument);
  std::uint8_t buffer[8];
  std::uint32_t length = sizeof buffer;
  EXPECT_EQ(StlDirectIO(h, 4, nullptr, &length, buffer, 100, 0, 1), kStlBadArgument);
  EXPECT_EQ(StlDirectIO(h, 1, buffer, nullptr, buffer, 100, 0, 1), kStlBadArgument);
  EXPECT_EQ(StlDirectIO(h, 1, buffer, &length, buffer, 100, 7, 1), kStlBadArgument);
  for (std::int32_t other : {-1, h + 1, h + 8, 0x7FFFFFFF})
    EXPECT_EQ(StlDirectIO(other, 1, buffer, &length, nullptr, 100, 0, 1), kStlUnknownHandle);

  // A serial queue's device is opened as its options say.
  int master = -1, slave = -1;
  ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  UniqueFd controller(master), terminal(slave);  // the terminal held so the line stays up
  const std::int32_t tty = OpenQueue("Tty", "serial:"s + ::ttyname(slave) + "?baud=19200+bits=8");
  ASSERT_EQ(::write(master, "7142", 4), 4);  // answered before it is asked
  EXPECT_EQ(Exchange(tty, kCapacityRequest, 128, kRaw), Got(kStlOk, "7142"));
  std::string sent(16, '\0');
  sent.resize(std::size_t(std::max<ssize_t>(0, ::read(master, sent.data(), sent.size()))));
  EXPECT_EQ(sent, kCapacityRequest);
  EXPECT_EQ(StlCloseMonitor(tty), kStlOk);

  EXPECT_EQ(StlCloseMonitor(h), kStlOk);
  EXPECT_EQ(Exchange(h, "HELLO?", 16, kRaw), Got(kStlUnknownHandle, ""));
  EXPECT_LT(StlCloseMonitor(h), 0);  // closing twice is harmless
  // The table is bounded, and a closed handle's slot comes back under another handle.
  std::vector<std::int32_t> handles;
  do handles.push_back(StlOpenMonitor(kStlAccessDirect, "TM1"));
  while (handles.back() >= 0 && handles.size() < 100);
  EXPECT_EQ(handles.back(), kStlNoRoom);
  handles.pop_back();
  EXPECT_EQ(std::count(handles.begin(), handles.end(), h), 0);
  EXPECT_EQ(Exchange(handles.back(), "HELLO?", 16, kRaw), Got(kStlOk, "hello"));
  for (std::int32_t other : handles) EXPECT_EQ(StlCloseMonitor(other), kStlOk);
}

}  // namespace
}  // namespace inkmark::testing
