// The printer's reading of a byte stream: commands framed by their counts,
// oversized ones passed over unread, stray bytes unable to swallow the next
// command, and fields that do not hold together refused.
#include "command_parser.h"

#include <gtest/gtest.h>

#include "command_decode.h"
#include "test_bytes.h"

namespace inkmark::vprinter {
namespace {

using namespace testing;

// Each frame as kind, count and body.
using Frames = std::vector<std::tuple<FrameKind, std::uint32_t, Bytes>>;

Frames Parse(CommandParser& parser, const Bytes& bytes) {
  Frames frames;
  parser.Feed(bytes, [&](const Frame& f) {
    frames.emplace_back(f.kind, f.count, Bytes(f.body.begin(), f.body.end()));
  });
  return frames;
}

TEST(CommandParser, PassesOverOversizedBodiesUnbufferedAndResumesAfterThem) {
  CommandParser parser(/*max_body=*/100);
  const Bytes oversized = {0x1D, 0x38, 0x4C, 0xE8, 0x03, 0x00, 0x00};  // count 1000
  EXPECT_EQ(Parse(parser, Cat({oversized, Bytes(1000, 0x1D), kCapacityRequest})),
            (Frames{{FrameKind::kOversized, 1000, {}}, {FrameKind::kGraphics, 2, {0x30, 0x33}}}));
  EXPECT_TRUE(parser.idle());

  // A count near 4 GiB is refused as soon as it is read.
  CommandParser huge;
  EXPECT_EQ(std::get<0>(Parse(huge, {0x1D, 0x38, 0x4C, 0xFF, 0xFF, 0xFF, 0xFF, 0x30}).at(0)),
            FrameKind::kOversized);
  EXPECT_FALSE(huge.idle());  // still passing over the announced bytes
  EXPECT_EQ(DecodeFrame(Frame{FrameKind::kOversized, true, 0xFFFFFFFF, {}}).kind,
            CommandKind::kRefused);
}

TEST(CommandParser, StrayPrefixBytesDoNotSwallowTheNextCommand) {
  CommandParser parser;
  // ESC without @, GS without ( or 8, GS ( without L, a zero-count command.
  EXPECT_EQ(Parse(parser, Cat({{0x1B, 0x1B, 0x40},
                               {0x1D, 0x1B, 0x40},
                               {0x1D, 0x28, 0x1D, 0x28, 0x4C, 0x00, 0x00},
                               {0x41, 0x06}})),
            (Frames{{FrameKind::kInitialise, 0, {}},
                    {FrameKind::kInitialise, 0, {}},
                    {FrameKind::kGraphics, 0, {}},
                    {FrameKind::kAcknowledge, 0, {}}}));
  EXPECT_EQ(DecodeFrame(Frame{FrameKind::kGraphics, false, 0, {}}).kind, CommandKind::kUnknown);
}

TEST(CommandDecode, ReadsTheFieldsOfEachRequestAndRefusesBadOnes) {
  auto decode = [](const Bytes& bytes) {
    CommandParser parser;
    Command c;
    parser.Feed(bytes, [&](const Frame& f) { c = DecodeFrame(f); });
    return c;
  };
  Bytes short_count = RasterDefine('A', 'B', 8, 2, {{0x31, {0xF0, 0x0F}}});
  short_count[3] = 0x0C;  // the data no longer matches the size
  const std::pair<Bytes, CommandKind> cases[] = {
      {kKeyListRequest, CommandKind::kKeyListRequest},
      {{0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x40, 0x4B, 0x44}, CommandKind::kRefused},
      {{0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 0x41, 0x42, 0x03, 0x01}, CommandKind::kRefused},
      {DeleteNv('\x7F', 'A'), CommandKind::kRefused},
      {Store(false, 0x31, 16, 2, {0xFF, 0xFF, 0xFF}), CommandKind::kRefused},
      {short_count, CommandKind::kRefused},
      {RasterDefine('\x1F', 'A', 8, 1, {{0x31, {0xFF}}}), CommandKind::kRefused},
      {RasterDefine('Q', 'Q', 8, 1, {{0x33, {0xFF}}}), CommandKind::kRefused},
      {RasterDefine('T', 'T', 8, 1, {{0x31, {1}}, {0x32, {1}}, {0x31, {1}}}),
       CommandKind::kRefused},
      {RasterDefine('Z', 'Z', 8, 0, {{0x31, {}}}), CommandKind::kRefused},
      {{0x1D, 0x28, 0x4C, 0x03, 0x00, 0x30, 0x7F, 0x01}, CommandKind::kUnknown},
  };
  for (const auto& [bytes, kind] : cases)
    EXPECT_EQ(decode(bytes).kind, kind) << ::testing::PrintToString(bytes);

  const Command print = decode({0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 0x41, 0x42, 0x02, 0x01});
  EXPECT_EQ(std::tie(print.kind, print.key, print.scale_x),
            std::tuple(CommandKind::kPrintNv, NvKey{'A', 'B'}, 2));
  const Command del = decode(DeleteNv('~', ' '));
  EXPECT_EQ(std::tie(del.kind, del.key), std::tuple(CommandKind::kDelete, NvKey{'~', ' '}));
}

}  // namespace
}  // namespace inkmark::vprinter
