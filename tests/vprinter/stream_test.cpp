// The printer's side of the exchange: commands framed by their counts,
// oversized ones passed over unread, stray bytes unable to swallow the next
// command, fields that do not hold together refused; the key list waits for
// each acknowledgement, capacity is charged and refused, a stream reads the
// same however it is cut, and the NV memory file loads as far as it is whole.
#include <gtest/gtest.h>

#include "command_decode.h"
#include "command_parser.h"
#include "nv_memory.h"
#include "printer_session.h"
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

TEST(CommandParser, PassesOverOversizedBodiesAndStrayBytesAndResumesAfterThem) {
  CommandParser parser(/*max_body=*/100);
  const Bytes oversized = {0x1D, 0x38, 0x4C, 0xE8, 0x03, 0x00, 0x00};  // count 1000
  // ESC without @, GS without ( or 8, GS ( without L, a zero-count command.
  EXPECT_EQ(Parse(parser, Cat({oversized,
                               Bytes(1000, 0x1D),
                               kCapacityRequest,
                               {0x1B, 0x1B, 0x40},
                               {0x1D, 0x1B, 0x40},
                               {0x1D, 0x28, 0x1D, 0x28, 0x4C, 0x00, 0x00},
                               {0x41, 0x06}})),
            (Frames{{FrameKind::kOversized, 1000, {}},
                    {FrameKind::kGraphics, 2, {0x30, 0x33}},
                    {FrameKind::kInitialise, 0, {}},
                    {FrameKind::kInitialise, 0, {}},
                    {FrameKind::kGraphics, 0, {}},
                    {FrameKind::kAcknowledge, 0, {}}}));
  EXPECT_TRUE(parser.idle());

  // A count near 4 GiB is refused as soon as it is read.
  CommandParser huge;
  EXPECT_EQ(std::get<0>(Parse(huge, {0x1D, 0x38, 0x4C, 0xFF, 0xFF, 0xFF, 0xFF, 0x30}).at(0)),
            FrameKind::kOversized);
  EXPECT_FALSE(huge.idle());  // still passing over the announced bytes
  EXPECT_EQ(DecodeFrame(Frame{FrameKind::kOversized, true, 0xFFFFFFFF, {}}).kind,
            CommandKind::kRefused);
}

TEST(CommandDecode, RefusesFieldsThatDoNotHoldTogether) {
  const auto kind = [](const Bytes& bytes) {
    CommandKind k = CommandKind::kInitialise;
    CommandParser().Feed(bytes, [&](const Frame& f) { k = DecodeFrame(f).kind; });
    return k;
  };
  Bytes short_count = Define('A', 'B', 8, 2, {{0x31, {0xF0, 0x0F}}});
  short_count[3] = 0x0C;  // the data no longer matches the size
  for (const Bytes& bytes :
       {Gs(0x40, {0x4B, 0x44}), Gs(0x45, {'A', 'B', 3, 1}), DeleteNv('\x7F', 'A'),
        Store(false, 0x31, 16, 2, {0xFF, 0xFF, 0xFF}), short_count,
        Define('\x1F', 'A', 8, 1, {{0x31, {0xFF}}}), Define('Q', 'Q', 8, 1, {{0x33, {0xFF}}}),
        Define('T', 'T', 8, 1, {{0x31, {1}}, {0x32, {1}}, {0x31, {1}}}),
        Define('Z', 'Z', 8, 0, {{0x31, {}}})})
    EXPECT_EQ(kind(bytes), CommandKind::kRefused) << ::testing::PrintToString(bytes);
  EXPECT_EQ(kind(Gs(0x7F, {0x01})), CommandKind::kUnknown);
}

// One session on its own printer, with every reply collected.
struct Rig {
  explicit Rig(int keys_per_block, std::uint64_t capacity = kDefaultCapacity)
      : printer(PrinterOptions{capacity, keys_per_block, {}, {}, 0, 0xFF0000, false, {}, {}, {}}) {}
  Bytes Send(const Bytes& bytes) {
    session.Feed(bytes);
    return std::exchange(replies, {});
  }

  VirtualPrinter printer;
  Bytes replies;
  PrinterSession session{printer, [this](std::span<const std::uint8_t> b) {
                           replies.insert(replies.end(), b.begin(), b.end());
                           return true;
                         }};
};

// A one-ink logo 8 dots wide, 2 rows high.
Bytes Logo(char k1, char k2) { return Define(k1, k2, 8, 2, {{0x31, {0xF0, 0x0F}}}); }

TEST(PrinterSession, KeyListWaitsForEachAcknowledgeAndOtherCommandsAbandonIt) {
  Rig rig(2);
  EXPECT_EQ(rig.Send(kKeyListRequest), (Bytes{0x37, 0x72, 0x40, 0x00}));
  EXPECT_TRUE(rig.Send(kAck).empty());  // the last block's acknowledgement
  rig.Send(Cat({Logo('C', 'x'), Logo('A', 'x'), Logo('E', 'x')}));
  EXPECT_EQ(rig.Send(kKeyListRequest), (Bytes{0x37, 0x72, 0x41, 'A', 'x', 'C', 'x', 0x00}));
  EXPECT_EQ(rig.Send(kAck), (Bytes{0x37, 0x72, 0x40, 'E', 'x', 0x00}));
  EXPECT_TRUE(rig.Send(kAck).empty());

  rig.Send(Cat({kKeyListRequest, kInitialise}));
  EXPECT_FALSE(rig.session.awaiting_acknowledge());
  EXPECT_TRUE(rig.Send(kAck).empty());
}

TEST(PrinterSession, CapacityRefusesWhatDoesNotFitAndFreesOnReplace) {
  // 504 x 10 dots in two inks: 2 x (1 + 630) = 1262 bytes, and the entry's 30.
  const Bytes big = Define('B', 'G', 504, 10, {{0x31, Bytes(630, 0x55)}, {0x32, Bytes(630, 0x55)}});
  const Bytes small = Define('B', 'G', 8, 1, {{0x31, {0xFF}}});
  Rig fits(1, 1262 + 30);
  EXPECT_EQ(fits.Send(Cat({big, kCapacityRequest})), Reply(0x31, "0"));
  // In the big one's place.
  EXPECT_EQ(fits.Send(Cat({small, kCapacityRequest})), Reply(0x31, std::to_string(1262 - 2)));

  Rig short_by_one(1, 1262 + 29);
  short_by_one.Send(Cat({big, small}));
  EXPECT_EQ(short_by_one.printer.Keys(), (std::vector<NvKey>{{'B', 'G'}}));
  EXPECT_EQ(short_by_one.printer.Remaining(), 1262u + 29 - 32);
}

TEST(PrinterSession, AStreamFedByteByByteGivesTheSameResult) {
  Bytes refused = Logo('R', 'R');
  refused[3] = 0x0C;  // a count one short
  const Bytes stream = Cat({kInitialise,
                            Logo('A', 'B'),
                            {0x00, 0x1B, 0x1D, 0x41},
                            refused,
                            Density(0x33),
                            Density(0x40),
                            Define('C', 'D', 16, 16, {{0x31, Bytes(32, 0x81)}}, kColumnForm),
                            kKeyListRequest,
                            kAck,
                            kAck,
                            kCapacityRequest,
                            Store(false, 0x32, 8, 1, {0xAA}),
                            kPrintBuffer,
                            PrintNv('C', 'D'),
                            DeleteNv('A', 'B'),
                            kCapacityRequest});
  Rig whole(1), bytewise(1);
  const Bytes expected = whole.Send(stream);
  ASSERT_EQ(expected.size(), 6u + 6 + 2 * 9);  // two key blocks, two capacity replies
  EXPECT_EQ(whole.printer.Keys(), (std::vector<NvKey>{{'C', 'D'}}));
  EXPECT_EQ(whole.session.density(), 0x33);  // 0x40 is no density
  Bytes got;
  for (std::uint8_t b : stream) got = Cat({got, bytewise.Send({b})});
  EXPECT_EQ(got, expected);
  const auto printed = whole.printer.Printed(), printed_bytewise = bytewise.printer.Printed();
  ASSERT_EQ(printed.size(), 2u);
  ASSERT_EQ(printed_bytewise.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(printed_bytewise[i].inks, printed[i].inks);
}

Graphics OneRow(std::uint8_t bits) {
  return {GraphicsForm::kRaster, 8, 1, {{kFirstInkCode, {bits}}}};
}

TEST(NvMemory, LoadsWhatIsWholeAndFitsAndReportsTheRest) {
  NvMemory source(1000);
  source.Define({'A', 'A'}, OneRow(1));
  source.Define({'B', 'B'}, OneRow(2));
  auto bytes = source.Serialize();
  NvMemory small(NvMemory::Charge(OneRow(0)));
  EXPECT_TRUE(small.Load(bytes).has_value());
  EXPECT_EQ(small.Keys(), (std::vector<NvKey>{{'A', 'A'}}));
  EXPECT_EQ(small.remaining(), 0u);
  NvMemory cut(1000);
  bytes.pop_back();
  EXPECT_TRUE(cut.Load(bytes).has_value());
  EXPECT_EQ(cut.size(), 1u);  // the whole first entry, nothing of the cut one
  NvMemory foreign(1000);
  EXPECT_TRUE(foreign.Load(std::vector<std::uint8_t>{'n', 'o', 't', ' ', 'n', 'v'}).has_value());
  EXPECT_EQ(foreign.size(), 0u);
}

}  // namespace
}  // namespace inkmark::vprinter
