// The printer's side of the exchange: the key list waits for each
// acknowledgement, capacity is charged and refused, a stream reads the same
// however it is cut, and the fault options shape the replies.
#include "printer_session.h"

#include <gtest/gtest.h>

#include "test_bytes.h"

namespace inkmark::vprinter {
namespace {

using namespace testing;

// One session on its own printer, with every reply collected.
struct Rig {
  explicit Rig(int keys_per_block = kDefaultKeysPerBlock, std::uint64_t capacity = kDefaultCapacity,
               FaultOptions faults = {})
      : printer([&] {
          PrinterOptions o;
          std::tie(o.keys_per_block, o.capacity, o.faults) =
              std::tie(keys_per_block, capacity, faults);
          return o;
        }()) {}
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
Bytes Logo(char k1, char k2) { return RasterDefine(k1, k2, 8, 2, {{0x31, {0xF0, 0x0F}}}); }

TEST(PrinterSession, KeyListWaitsForEachAcknowledgeAndOtherCommandsAbandonIt) {
  Rig rig(2);
  EXPECT_EQ(rig.Send(kKeyListRequest), (Bytes{0x37, 0x72, 0x40, 0x00}));
  EXPECT_TRUE(rig.Send(kAck).empty());  // the last block's acknowledgement
  rig.Send(Cat({Logo('C', 'x'), Logo('A', 'x'), Logo('E', 'x')}));
  EXPECT_EQ(rig.Send(kKeyListRequest), (Bytes{0x37, 0x72, 0x41, 'A', 'x', 'C', 'x', 0x00}));
  EXPECT_EQ(rig.Send(kAck), (Bytes{0x37, 0x72, 0x40, 'E', 'x', 0x00}));
  EXPECT_TRUE(rig.Send(kAck).empty());

  rig.Send(kKeyListRequest);
  rig.Send(kInitialise);
  EXPECT_FALSE(rig.session.awaiting_acknowledge());
  EXPECT_TRUE(rig.Send(kAck).empty());
}

TEST(PrinterSession, CapacityRefusesWhatDoesNotFitAndFreesOnReplace) {
  // 504 x 10 dots in two inks: 2 x (1 + 630) = 1262 bytes, and the entry's 30.
  const Bytes plane(630, 0x55);
  const Bytes big = RasterDefine('B', 'G', 504, 10, {{0x31, plane}, {0x32, plane}});
  const Bytes small = RasterDefine('B', 'G', 8, 1, {{0x31, {0xFF}}});
  Rig fits(kDefaultKeysPerBlock, 1262 + 30);
  fits.Send(big);
  EXPECT_EQ(fits.Send(kCapacityRequest), Reply(0x31, "0"));
  fits.Send(small);  // in the big one's place
  EXPECT_EQ(fits.Send(kCapacityRequest), Reply(0x31, std::to_string(1262 - 2)));

  Rig short_by_one(kDefaultKeysPerBlock, 1262 + 29);
  short_by_one.Send(Cat({big, small}));
  EXPECT_EQ(short_by_one.printer.Keys(), (std::vector<NvKey>{{'B', 'G'}}));
  EXPECT_EQ(short_by_one.printer.Remaining(), 1262u + 29 - 32);
}

TEST(PrinterSession, EverySplitOfTheStreamGivesTheSameResult) {
  Bytes refused = Logo('R', 'R');
  refused[3] = 0x0C;  // a count one short
  const Bytes stray = {0x00, 0x1B, 0x1D, 0x41};
  const Bytes stream =
      Cat({kInitialise, Logo('A', 'B'), stray, refused, Density(0x33), Density(0x40),
           ColumnDefine('C', 'D', 16, 16, {{0x31, Bytes(32, 0x81)}}), kKeyListRequest, kAck, kAck,
           kCapacityRequest, Store(false, 0x32, 8, 1, {0xAA}), kPrintBuffer, PrintNv('C', 'D'),
           DeleteNv('A', 'B'), kCapacityRequest});
  Rig whole(1);
  const Bytes expected = whole.Send(stream);
  ASSERT_EQ(expected.size(), 6u + 6 + 2 * 9);  // two key blocks, two capacity replies
  const auto printed = whole.printer.Printed();
  ASSERT_EQ(printed.size(), 2u);
  EXPECT_EQ(whole.printer.Keys(), (std::vector<NvKey>{{'C', 'D'}}));
  EXPECT_EQ(whole.session.density(), 0x33);  // 0x40 is no density

  Rig bytewise(1);
  Bytes got;
  for (std::uint8_t b : stream) got = Cat({got, bytewise.Send({b})});
  EXPECT_EQ(got, expected);
  ASSERT_EQ(bytewise.printer.Printed().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_EQ(bytewise.printer.Printed()[i].inks, printed[i].inks);
  for (auto cut = stream.begin() + 1; cut < stream.end(); ++cut) {
    Rig split(1);
    const Bytes first = split.Send({stream.begin(), cut});
    ASSERT_EQ(Cat({first, split.Send({cut, stream.end()})}), expected)
        << "cut at " << cut - stream.begin();
  }
}

TEST(PrinterSession, FaultsShapeTheReplies) {
  Rig noisy(kDefaultKeysPerBlock, kDefaultCapacity, {0, false, 3});
  const Bytes reply = noisy.Send(kCapacityRequest);
  ASSERT_EQ(reply.size(), 3 + 2 + std::to_string(kDefaultCapacity).size() + 1);
  EXPECT_EQ(Bytes(reply.begin() + 3, reply.end()), Reply(0x31, std::to_string(kDefaultCapacity)));
  for (int i = 0; i < 3; ++i) EXPECT_NE(reply[i], 0x37);

  Rig silent(kDefaultKeysPerBlock, kDefaultCapacity, {0, true});
  EXPECT_TRUE(silent.Send(Cat({kKeyListRequest, kCapacityRequest})).empty());
  silent.Send(Logo('A', 'B'));  // still takes graphics
  EXPECT_EQ(silent.printer.Keys().size(), 1u);

  Rig bad(1, kDefaultCapacity, {0, false, 0, 0, true});
  bad.Send(Cat({Logo('A', 'B'), Logo('C', 'D')}));
  EXPECT_EQ(bad.Send(kKeyListRequest), (Bytes{0x37, 0x72, 0x41, 'A', 'B', 0x00}));
  const Bytes last = bad.Send(kAck);
  ASSERT_EQ(last.size(), 6u);
  EXPECT_NE(last[1], 0x72);
}

}  // namespace
}  // namespace inkmark::vprinter
