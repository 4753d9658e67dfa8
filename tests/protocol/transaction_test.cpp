// The key list and capacity replies on both routes, and the commands that
// print and delete a stored graphics.
#include "protocol/transaction.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/string_table.h"
#include "protocol/capacity_reply.h"
#include "protocol/key_list_reply.h"
#include "protocol/nv_commands.h"
#include "protocol_fixtures.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {
namespace {

const Bytes kRequest(std::begin(kKeyListRequest), std::end(kKeyListRequest));
const Bytes kAck = B({0x06});
const Bytes kEnd = B({0x37, 0x72, 0x40}), kMore = B({0x37, 0x72, 0x41});
using Keys = std::vector<std::string>;

TEST(DirectKeyListTest, ReadsEachBlockAfterItsHeaderAndAcknowledgesIt) {
  struct Case {
    const char* what;
    Bytes reply;
    std::int32_t count;
    Keys keys;
    int acks;  // -1: not checked
    bool write_fails = false;
  } cases[] = {
      {"noise before the header", B({0x00}) + kEnd + B({'A', 'B', 0}), 1, {"AB"}, 1},
      {"bytes pair across blocks",
       kMore + B({'A', 'B', 0}) + kMore + B({'C', 0}) + kEnd + B({'D', 'E', 'F', 0}),
       3,
       {"AB", "CD", "EF"},
       3},
      {"empty list", kEnd + B({0}), 0, {}, 1},
      {"unpaired byte", kEnd + B({'A', 'B', 'C', 0}), 1, {"AB"}, 1},
      // A broken later block keeps the keys read so far, without a message.
      {"wrong identifier", kMore + B({'A', 'B', 0, 0x37, 0x73, 0x40, 'C', 'D', 0}), 1, {"AB"}, -1},
      {"late header is not searched for",
       kMore + B({'A', 'B', 0, 0}) + kEnd + B({'C', 'D', 0}),
       1,
       {"AB"},
       -1},
      {"silent inside a block", kEnd + B({'A', 'B'}), 1, {"AB"}, 0},
      {"silent printer", {}, -1, {}, -1},
      {"endless noise",
       Bytes(kMaxBytesBeforeHeader + 1, 0x55) + kEnd + B({'A', 'B', 0}),
       -1,
       {},
       -1},
      {"request not sent", kEnd + B({'A', 'B', 0}), -1, {}, -1, true},
  };
  for (const Case& c : cases) {
    ScriptPort port;
    RecordingMessageBoxes boxes;
    port.Reply(c.reply);
    if (c.write_fails) port.fail_from_write = 0;
    std::vector<NvKey> keys{MakeNvKey('z', 'z')};
    EXPECT_EQ(ReadKeyCodeList(port, nullptr, keys), c.count) << c.what;
    if (c.count >= 0) {
      EXPECT_EQ(KeyTexts(keys), c.keys) << c.what;
    }
    if (c.acks >= 0) {
      Bytes sent = kRequest;
      for (int i = 0; i < c.acks; ++i) sent = sent + kAck;
      EXPECT_EQ(port.sent, sent) << c.what;
    }
    EXPECT_EQ(boxes.texts(),
              c.count < 0 ? Keys{FormatMessageText(kStrKeyListFailed, nullptr)} : Keys{})
        << c.what;
  }
}

TEST(DirectKeyListTest, KeepsEveryKeyOfALongList) {
  ScriptPort port;
  Keys expected;
  for (int i = 0; i < 400; ++i) {
    const char a = char(0x21 + i / 90), b = char(0x21 + i % 90);
    expected.push_back({a, b});
    // Twenty keys to a block, as printers send them.
    if (i % 20 == 0) port.Reply(i >= 380 ? kEnd : kMore);
    port.Reply(B({a, b}));
    if (i % 20 == 19) port.Reply(B({0x00}));
  }
  std::vector<NvKey> keys;
  EXPECT_EQ(ReadKeyCodeList(port, nullptr, keys), 400);
  EXPECT_EQ(KeyTexts(keys), expected);
}

// The driver route, with a scripted exchange standing in for the library:
// acknowledgements for more blocks are exchanged, the last one only written.
TEST(DriverKeyListTest, ExchangesEveryBlockAndFailsWholeOnABadOne) {
  struct Case {
    std::deque<Bytes> blocks;
    std::int32_t count;
    Keys keys;
  } cases[] = {
      {{kMore + B({'A', 'B', 'C', 0, 'X', 'Y'}), kEnd + B({'D', 0})}, 2, {"AB", "CD"}},
      {{kMore + B({'A', 'B', 0}), B({0x37, 0x71, 0x40, 0x00})}, -1, {}},
      {{kEnd}, -1, {}},                      // shorter than a block
      {{kMore + B({'A', 'B', 0})}, -1, {}},  // the next block never comes
      {{kEnd + B({'A', 'B'})}, 1, {"AB"}},   // a block without its NUL still gives its keys
  };
  for (Case& c : cases) {
    ScriptPort port;
    std::vector<Bytes> requests;
    std::vector<NvKey> keys;
    const auto exchange = [&](auto request, auto reply, std::uint32_t& received) {
      requests.emplace_back(request.begin(), request.end());
      if (c.blocks.empty()) return false;
      Bytes b = c.blocks.front();
      c.blocks.pop_front();
      received = std::uint32_t(std::min(b.size(), reply.size()));
      std::copy_n(b.begin(), received, reply.begin());
      return true;
    };
    EXPECT_EQ(ReadKeyListDriver(port, exchange, keys), c.count);
    if (c.count < 0) continue;
    EXPECT_EQ(KeyTexts(keys), c.keys);
    if (c.count == 2) {
      EXPECT_EQ(requests, (std::vector<Bytes>{kRequest, kAck}));
      EXPECT_EQ(port.sent, kAck);
    }
  }
}

TEST(CapacityReplyTest, DirectRouteReadsDigitsUpToNul) {
  struct Case {
    Bytes reply;
    std::int32_t capacity;
  } cases[] = {
      {B({0x37, 0x31, '1', '2', '3', '4', '5', 0x00}), 12345},
      {B({0x06, 0x00, 0x37, 0x31, '0', 0x00}), 0},
      {B({0x37, 0x31, '9', '9', '9', '9', '9', '9', '9', '9', 0x00}), 99999999},
      {B({0x37, 0x31, '1', '2'}), 12},  // silent after the digits
      {B({0x37, 0x30, '1', '2', 0x00}), -1},
      {B({0x37, 0x31, 0x00}), -1},
      {B({0x37, 0x31, '1', '0', '0', '0', '0', '0', '0', '0', '0', 0x00}), -1},
      {B({0x37, 0x31, '1', 'x', '2', 0x00}), -1},
      {B({}), -1},
  };
  for (const Case& c : cases) {
    ScriptPort port;
    port.Reply(c.reply);
    EXPECT_EQ(ReadNvCapacity(port), c.capacity) << ::testing::PrintToString(c.reply);
    EXPECT_EQ(port.writes.front(), Bytes(std::begin(kCapacityRequest), std::end(kCapacityRequest)));
  }
  ScriptPort refused;
  refused.fail_from_write = 0;
  refused.Reply(B({0x37, 0x31, '5', 0x00}));
  EXPECT_EQ(ReadNvCapacity(refused), -1);
}

TEST(CapacityReplyTest, DriverRouteAllowsAtMostEightDigits) {
  EXPECT_EQ(ParseCapacityReply(B({0x37, 0x31, '3', '9', '3', '2', '1', '6', 0x00, '7'})), 393216);
  EXPECT_EQ(ParseCapacityReply(B({0x37, 0x31, '1', '2', '3', '4', '5', '6', '7', '8'})), 12345678);
  EXPECT_EQ(ParseCapacityReply(B({0x37, 0x31, '1', '2', '3', '4', '5', '6', '7', '8', '9', 0})),
            -1);
  EXPECT_EQ(ParseCapacityReply(B({0x37, 0x72, '1', 0x00})), -1);
  EXPECT_EQ(ParseCapacityReply(B({0x37})), -1);
  EXPECT_EQ(ReadCapacityDriver([](auto, auto, std::uint32_t&) { return false; }), -1);
}

using OwnPortCommandTest = CommandFileTest;

TEST_F(OwnPortCommandTest, PrintAndDeleteSendKeyCommands) {
  UseProfile(session, ProfileFor("QP-80"));
  EXPECT_EQ(PrintNvGraphics(session, MakeNvKey('A', 'B')), 1);
  EXPECT_EQ(ReadFileText(session.save_path), std::string("\x1D\x28\x4C\x06\x00\x30\x45"
                                                         "AB\x01\x01",
                                                         11));
  EXPECT_EQ(DeleteNvGraphics(session, MakeNvKey(' ', '~')), 1);
  EXPECT_EQ(ReadFileText(session.save_path), std::string("\x1D\x28\x4C\x04\x00\x30\x42 ~", 9));

  session.save_path = (dir.path() / "missing" / "out.bin").string();
  EXPECT_EQ(PrintNvGraphics(session, MakeNvKey('A', 'B')), 0);
  EXPECT_EQ(DeleteNvGraphics(session, MakeNvKey('A', 'B')), 0);
}

}  // namespace
}  // namespace inkmark::testing
