// The key list and capacity replies on both routes, and the commands that
// print and delete a stored graphics.
#include "protocol/transaction.h"

#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "protocol/capacity_reply.h"
#include "protocol/key_list_reply.h"
#include "protocol/nv_commands.h"
#include "protocol_fixtures.h"

namespace inkmark::testing {
namespace {

const Bytes kRequest(std::begin(kKeyListRequest), std::end(kKeyListRequest));
const Bytes kAck = B({0x06});

// A key-list block: its header, the key bytes and the closing NUL.
Bytes Block(bool last, std::string_view keys) {
  return B(last ? "7r@"sv : "7rA"sv) + B(keys) + B({0});
}

TEST(DirectKeyListTest, ReadsEachBlockAfterItsHeaderAndAcknowledgesIt) {
  const Bytes three_blocks = Block(false, "AB") + Block(false, "C") + Block(true, "DEF");
  struct Case {
    const char* what;
    Bytes reply;
    std::int32_t count;
    Texts keys = {};
    int acks = -1;  // not checked when -1
    bool write_fails = false;
  } cases[] = {
      {"noise before the header", B({0}) + Block(true, "AB"), 1, {"AB"}, 1},
      {"pairs across blocks", three_blocks, 3, {"AB", "CD", "EF"}, 3},
      {"empty list", Block(true, ""), 0, {}, 1},
      {"unpaired byte", Block(true, "ABC"), 1, {"AB"}, 1},
      // A broken later block keeps the keys read so far, without a message.
      {"wrong identifier", Block(false, "AB") + B("7s@CD\0"sv), 1, {"AB"}},
      {"late header", Block(false, "AB") + B({0}) + Block(true, "CD"), 1, {"AB"}},
      {"silent inside a block", B("7r@AB"sv), 1, {"AB"}, 0},
      {"silent printer", {}, -1},
      {"endless noise", Bytes(kMaxBytesBeforeHeader + 1, 0x55) + Block(true, "AB"), -1},
      {"request not sent", Block(true, "AB"), -1, {}, -1, true},
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
    Bytes sent = kRequest;
    for (int i = 0; i < c.acks; ++i) sent = sent + kAck;
    if (c.acks >= 0) {
      EXPECT_EQ(port.Sent(), sent) << c.what;
    }
    EXPECT_EQ(boxes.texts(),
              c.count < 0 ? Texts{FormatMessageText(kStrKeyListFailed, nullptr)} : Texts{})
        << c.what;
  }
}

// The driver route, with a scripted exchange standing in for the library:
// acknowledgements for more blocks are exchanged, the last one only written.
TEST(DriverKeyListTest, ExchangesEveryBlockAndFailsWholeOnABadOne) {
  struct Case {
    std::vector<Bytes> blocks;
    std::int32_t count;
    Texts keys = {};
  } cases[] = {
      {{Block(false, "ABC") + B("XY"sv), Block(true, "D")}, 2, {"AB", "CD"}},
      {{Block(false, "AB"), B("7q@\0"sv)}, -1},
      {{B("7r@"sv)}, -1},           // shorter than a block
      {{Block(false, "AB")}, -1},   // the next block never comes
      {{B("7r@AB"sv)}, 1, {"AB"}},  // a block without its NUL still gives its keys
  };
  for (const Case& c : cases) {
    ScriptPort port;
    std::vector<Bytes> requests;
    std::vector<NvKey> keys;
    const auto exchange = [&](auto request, auto reply, std::uint32_t& received) {
      requests.emplace_back(request.begin(), request.end());
      if (requests.size() > c.blocks.size()) return false;
      const Bytes& b = c.blocks[requests.size() - 1];
      received = std::uint32_t(std::min(b.size(), reply.size()));
      std::copy_n(b.begin(), received, reply.begin());
      return true;
    };
    EXPECT_EQ(ReadKeyListDriver(port, exchange, keys), c.count);
    if (c.count >= 0) {
      EXPECT_EQ(KeyTexts(keys), c.keys);
    }
    if (c.count == 2) {
      EXPECT_EQ(requests, (std::vector<Bytes>{kRequest, kAck}));
      EXPECT_EQ(port.Sent(), kAck);
    }
  }
}

TEST(CapacityReplyTest, DirectRouteReadsDigitsUpToNul) {
  const std::pair<Bytes, std::int32_t> cases[] = {
      {B("7112345\0"sv), 12345},
      {B({0x06, 0}) + B("710\0"sv), 0},
      {B("7199999999\0"sv), 99999999},
      {B("7112"sv), 12},  // silent after the digits
      {B("7012\0"sv), -1},
      {B("71\0"sv), -1},
      {B("71100000000\0"sv), -1},
      {B("711x2\0"sv), -1},
      {Bytes{}, -1},
  };
  for (const auto& [reply, capacity] : cases) {
    ScriptPort port;
    port.Reply(reply);
    EXPECT_EQ(ReadNvCapacity(port), capacity) << ::testing::PrintToString(reply);
    EXPECT_EQ(port.writes.front(), Bytes(std::begin(kCapacityRequest), std::end(kCapacityRequest)));
  }
  ScriptPort refused;
  refused.fail_from_write = 0;
  refused.Reply(B("715\0"sv));
  EXPECT_EQ(ReadNvCapacity(refused), -1);
}

TEST(CapacityReplyTest, DriverRouteAllowsAtMostEightDigits) {
  EXPECT_EQ(ParseCapacityReply(B("71393216\0"sv) + B("7"sv)), 393216);
  EXPECT_EQ(ParseCapacityReply(B("7112345678"sv)), 12345678);
  EXPECT_EQ(ParseCapacityReply(B("71123456789\0"sv)), -1);
  EXPECT_EQ(ParseCapacityReply(B("7r1\0"sv)), -1);
  EXPECT_EQ(ParseCapacityReply(B("7"sv)), -1);
  EXPECT_EQ(ReadCapacityDriver([](auto, auto, std::uint32_t&) { return false; }), -1);
}

TEST_F(CommandFileTest, PrintAndDeleteSendKeyCommands) {
  UseProfile(session, ProfileFor("QP-80"));
  EXPECT_EQ(PrintNvGraphics(session, MakeNvKey('A', 'B')), 1);
  EXPECT_EQ(Sent(), B({0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 'A', 'B', 0x01, 0x01}));
  EXPECT_EQ(DeleteNvGraphics(session, MakeNvKey(' ', '~')), 1);
  EXPECT_EQ(Sent(), B({0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x42, ' ', '~'}));

  session.save_path = (dir.path() / "missing" / "out.bin").string();
  EXPECT_EQ(PrintNvGraphics(session, MakeNvKey('A', 'B')), 0);
  EXPECT_EQ(DeleteNvGraphics(session, MakeNvKey('A', 'B')), 0);
}

}  // namespace
}  // namespace inkmark::testing
