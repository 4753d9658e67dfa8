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
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

const Bytes kRequest(std::begin(kKeyListRequest), std::end(kKeyListRequest));
const Bytes kAck = B({0x06});

std::vector<std::string> KeyTexts(const std::vector<NvKey>& keys) {
  std::vector<std::string> out;
  for (const NvKey& k : keys) out.emplace_back(k.data());
  return out;
}

std::string KeyListFailedText() { return FormatMessageText(kStrKeyListFailed, nullptr); }

class DirectKeyListTest : public ::testing::Test {
 protected:
  std::int32_t List() { return ReadKeyCodeList(port, nullptr, keys); }

  ScriptPort port;
  std::vector<NvKey> keys{MakeNvKey('z', 'z')};
  RecordingMessageBoxes boxes;
};

TEST_F(DirectKeyListTest, SkipsNoiseBeforeHeaderAndAcknowledgesTheBlock) {
  port.Reply(B({0x00, 0x37, 0x72, 0x40, 0x41, 0x42, 0x00}));
  EXPECT_EQ(List(), 1);
  EXPECT_EQ(KeyTexts(keys), std::vector<std::string>{"AB"});
  EXPECT_EQ(port.sent, kRequest + kAck);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DirectKeyListTest, AcknowledgesEveryBlockAndPairsBytesAcrossBlocks) {
  port.Reply(B({0x37, 0x72, 0x41, 0x41, 0x42, 0x00, 0x37, 0x72, 0x41, 0x43, 0x00}));
  port.Reply(B({0x37, 0x72, 0x40, 0x44, 0x45, 0x46, 0x00}));
  EXPECT_EQ(List(), 3);
  EXPECT_EQ(KeyTexts(keys), (std::vector<std::string>{"AB", "CD", "EF"}));
  EXPECT_EQ(port.sent, kRequest + kAck + kAck + kAck);
}

TEST_F(DirectKeyListTest, EmptyListAndUnpairedByteGiveNoKey) {
  port.Reply(B({0x37, 0x72, 0x40, 0x00}));
  EXPECT_EQ(List(), 0);
  EXPECT_TRUE(keys.empty());
  EXPECT_EQ(port.sent, kRequest + kAck);

  port.sent.clear();
  port.Reply(B({0x37, 0x72, 0x40, 'A', 'B', 'C', 0x00}));
  EXPECT_EQ(List(), 1);
  EXPECT_EQ(KeyTexts(keys), std::vector<std::string>{"AB"});
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DirectKeyListTest, BrokenLaterBlockKeepsKeysWithoutMessage) {
  // Wrong identifier in the second block; a header that is late is not searched for.
  port.Reply(B({0x37, 0x72, 0x41, 'A', 'B', 0x00, 0x37, 0x73, 0x40, 'C', 'D', 0x00}));
  EXPECT_EQ(List(), 1);
  port.replies.clear();
  port.Reply(B({0x37, 0x72, 0x41, 'A', 'B', 0x00, 0x00, 0x37, 0x72, 0x40, 'C', 'D', 0x00}));
  EXPECT_EQ(List(), 1);
  port.replies.clear();
  // The printer falls silent inside a block: no acknowledgement for it.
  port.sent.clear();
  port.Reply(B({0x37, 0x72, 0x40, 'A', 'B'}));
  EXPECT_EQ(List(), 1);
  EXPECT_EQ(port.sent, kRequest);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DirectKeyListTest, FailsWithMessageWhenNothingUsableComes) {
  EXPECT_EQ(List(), -1);  // silent printer
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{KeyListFailedText()});

  // Endless noise before any header is not waited out.
  port.Reply(Bytes(kMaxBytesBeforeHeader + 1, 0x55) + B({0x37, 0x72, 0x40, 'A', 'B', 0x00}));
  EXPECT_EQ(List(), -1);

  port.replies.clear();
  port.Reply(B({0x37, 0x72, 0x40, 'A', 'B', 0x00}));
  port.fail_from_write = 0;
  EXPECT_EQ(List(), -1);
  EXPECT_EQ(boxes.boxes().size(), 3u);
}

TEST_F(DirectKeyListTest, KeepsEveryKeyOfALongList) {
  std::vector<std::string> expected;
  for (int i = 0; i < 400; ++i) {
    const char a = char(0x21 + i / 90), b = char(0x21 + i % 90);
    expected.push_back({a, b});
    // Twenty keys to a block, as printers send them.
    if (i % 20 == 0) port.Reply(B({0x37, 0x72, i >= 380 ? 0x40 : 0x41}));
    port.Reply(B({a, b}));
    if (i % 20 == 19) port.Reply(B({0x00}));
  }
  EXPECT_EQ(List(), 400);
  EXPECT_EQ(KeyTexts(keys), expected);
}

// The driver route, with a scripted exchange standing in for the library.
class DriverKeyListTest : public ::testing::Test {
 protected:
  std::int32_t List() {
    return ReadKeyListDriver(
        port,
        [this](auto request, auto reply, std::uint32_t& received) {
          requests.emplace_back(request.begin(), request.end());
          if (blocks.empty()) return false;
          Bytes b = blocks.front();
          blocks.pop_front();
          received = std::uint32_t(std::min(b.size(), reply.size()));
          std::copy_n(b.begin(), received, reply.begin());
          return true;
        },
        keys);
  }

  ScriptPort port;
  std::vector<NvKey> keys;
  std::deque<Bytes> blocks;
  std::vector<Bytes> requests;
};

TEST_F(DriverKeyListTest, TransactsAcknowledgementsForMoreBlocksAndWritesTheLast) {
  blocks = {B({0x37, 0x72, 0x41, 'A', 'B', 'C', 0x00, 'X', 'Y'}), B({0x37, 0x72, 0x40, 'D', 0x00})};
  EXPECT_EQ(List(), 2);
  EXPECT_EQ(KeyTexts(keys), (std::vector<std::string>{"AB", "CD"}));
  EXPECT_EQ(requests, (std::vector<Bytes>{kRequest, kAck}));
  EXPECT_EQ(port.sent, kAck);
}

TEST_F(DriverKeyListTest, MalformedOrMissingBlockFailsTheWholeList) {
  blocks = {B({0x37, 0x72, 0x41, 'A', 'B', 0x00}), B({0x37, 0x71, 0x40, 0x00})};
  EXPECT_EQ(List(), -1);
  blocks = {B({0x37, 0x72, 0x40})};  // shorter than a block
  EXPECT_EQ(List(), -1);
  blocks = {B({0x37, 0x72, 0x41, 'A', 'B', 0x00})};  // the next block never comes
  EXPECT_EQ(List(), -1);
  // A block without its NUL still gives its keys.
  blocks = {B({0x37, 0x72, 0x40, 'A', 'B'})};
  EXPECT_EQ(List(), 1);
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

class OwnPortCommandTest : public ::testing::Test {
 protected:
  OwnPortCommandTest() {
    UseProfile(session, ProfileFor("QP-80"));
    session.save_as_command_file = 1;
    session.save_path = (dir.path() / "out.bin").string();
  }

  TempDir dir;
  LogoSession session;
};

TEST_F(OwnPortCommandTest, PrintAndDeleteSendKeyCommands) {
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
