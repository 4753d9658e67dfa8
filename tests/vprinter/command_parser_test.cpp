#include "command_parser.h"

#include <gtest/gtest.h>

#include "command_decode.h"
#include "test_bytes.h"

namespace inkmark::vprinter {
namespace {

using testing::Bytes;
using testing::Cat;

struct Seen {
  FrameKind kind;
  std::uint32_t count;
  Bytes body;
};

std::vector<Seen> Parse(CommandParser& parser, const Bytes& bytes) {
  std::vector<Seen> seen;
  parser.Feed(bytes, [&](const Frame& f) {
    seen.push_back({f.kind, f.count, Bytes(f.body.begin(), f.body.end())});
  });
  return seen;
}

TEST(CommandParser, SkipsOversizedBodyWithoutBufferingAndResumesAfterIt) {
  CommandParser parser(/*max_body=*/100);
  Bytes oversized = {0x1D, 0x38, 0x4C, 0xE8, 0x03, 0x00, 0x00};  // count 1000
  Bytes stream = Cat({oversized, Bytes(1000, 0x1D), testing::kCapacityRequest});
  auto seen = Parse(parser, stream);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].kind, FrameKind::kOversized);
  EXPECT_EQ(seen[0].count, 1000u);
  EXPECT_EQ(seen[1].kind, FrameKind::kGraphics);
  EXPECT_EQ(seen[1].body, (Bytes{0x30, 0x33}));
  EXPECT_TRUE(parser.idle());
}

TEST(CommandParser, HugeLongShapeCountIsRefusedUpFront) {
  CommandParser parser;
  auto seen = Parse(parser, {0x1D, 0x38, 0x4C, 0xFF, 0xFF, 0xFF, 0xFF, 0x30, 0x43});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kind, FrameKind::kOversized);
  EXPECT_EQ(DecodeFrame(Frame{FrameKind::kOversized, true, 0xFFFFFFFF, {}}).kind,
            CommandKind::kRefused);
  EXPECT_FALSE(parser.idle());  // still passing over the announced bytes
}

TEST(CommandParser, StrayPrefixBytesDoNotSwallowTheNextCommand) {
  CommandParser parser;
  // ESC without @, GS without ( or 8, GS ( without L, a zero-count command.
  Bytes stream = Cat({{0x1B, 0x1B, 0x40},
                      {0x1D, 0x1B, 0x40},
                      {0x1D, 0x28, 0x1D, 0x28, 0x4C, 0x00, 0x00},
                      {0x41, 0x06}});
  auto seen = Parse(parser, stream);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].kind, FrameKind::kInitialise);
  EXPECT_EQ(seen[1].kind, FrameKind::kInitialise);
  EXPECT_EQ(seen[2].kind, FrameKind::kGraphics);
  EXPECT_TRUE(seen[2].body.empty());
  EXPECT_EQ(seen[3].kind, FrameKind::kAcknowledge);
  EXPECT_EQ(DecodeFrame(Frame{FrameKind::kGraphics, false, 0, {}}).kind, CommandKind::kUnknown);
}

TEST(CommandDecode, ReadsTheFieldsOfEachRequestAndRefusesBadOnes) {
  auto decode = [](const Bytes& bytes) {
    CommandParser parser;
    Command c;
    parser.Feed(bytes, [&](const Frame& f) { c = DecodeFrame(f); });
    return c;
  };
  const std::pair<Bytes, CommandKind> cases[] = {
      {testing::kKeyListRequest, CommandKind::kKeyListRequest},
      {{0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x40, 0x4B, 0x44}, CommandKind::kRefused},
      {{0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 0x41, 0x42, 0x03, 0x01}, CommandKind::kRefused},
      {testing::DeleteNv('\x7F', 'A'), CommandKind::kRefused},
      // A store whose count leaves the data short.
      {testing::Store(false, 0x31, 16, 2, {0xFF, 0xFF, 0xFF}), CommandKind::kRefused},
  };
  for (const auto& [bytes, kind] : cases)
    EXPECT_EQ(decode(bytes).kind, kind) << ::testing::PrintToString(bytes);

  Command print = decode({0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 0x41, 0x42, 0x02, 0x01});
  EXPECT_EQ(print.kind, CommandKind::kPrintNv);
  EXPECT_EQ(print.key, (NvKey{0x41, 0x42}));
  EXPECT_EQ(print.scale_x, 2);
  Command del = decode(testing::DeleteNv('~', ' '));
  EXPECT_EQ(del.kind, CommandKind::kDelete);
  EXPECT_EQ(del.key, (NvKey{0x7E, 0x20}));
}

}  // namespace
}  // namespace inkmark::vprinter
