#include "printer_session.h"

#include <gtest/gtest.h>

#include "test_bytes.h"

namespace inkmark::vprinter {
namespace {

using testing::Bytes;
using testing::Cat;

// One session on its own printer, with every reply collected.
struct Rig {
  explicit Rig(PrinterOptions options = {})
      : printer(std::move(options)), session(printer, [this](std::span<const std::uint8_t> b) {
          replies.insert(replies.end(), b.begin(), b.end());
          return true;
        }) {}

  Bytes Send(const Bytes& bytes) {
    session.Feed(bytes);
    return Take();
  }
  Bytes Take() { return std::exchange(replies, {}); }

  VirtualPrinter printer;
  PrinterSession session;
  Bytes replies;
};

PrinterOptions With(int keys_per_block, std::uint64_t capacity = kDefaultCapacity,
                    FaultOptions faults = {}) {
  PrinterOptions options;
  options.keys_per_block = keys_per_block;
  options.capacity = capacity;
  options.faults = faults;
  return options;
}

// The one-colour logo 8 dots wide, 2 rows high: top row F0, second row 0F.
const Bytes kLogoAB = {0x1D, 0x38, 0x4C, 0x0D, 0x00, 0x00, 0x00, 0x30, 0x43, 0x30,
                       0x41, 0x42, 0x01, 0x08, 0x00, 0x02, 0x00, 0x31, 0xF0, 0x0F};

TEST(PrinterSession, KeyListAnswersInBlocksAndWaitsForEachAcknowledge) {
  Rig rig(With(2));
  EXPECT_EQ(rig.Send(testing::kKeyListRequest), (Bytes{0x37, 0x72, 0x40, 0x00}));
  EXPECT_TRUE(rig.Send(testing::kAck).empty());  // the last block's acknowledgement

  for (char k : {'C', 'A', 'E'}) {
    rig.Send(testing::RasterDefine(k, 'x', 8, 1, {{0x31, {0xFF}}}));
  }
  EXPECT_EQ(rig.Send(testing::kKeyListRequest),
            (Bytes{0x37, 0x72, 0x41, 'A', 'x', 'C', 'x', 0x00}));
  EXPECT_TRUE(rig.session.awaiting_acknowledge());
  EXPECT_EQ(rig.Send(testing::kAck), (Bytes{0x37, 0x72, 0x40, 'E', 'x', 0x00}));
  EXPECT_FALSE(rig.session.awaiting_acknowledge());
  EXPECT_TRUE(rig.Send(testing::kAck).empty());
}

TEST(PrinterSession, OtherCommandAbandonsKeyListInProgress) {
  Rig rig(With(1));
  rig.Send(Cat({testing::RasterDefine('A', 'A', 8, 1, {{0x31, {1}}}),
                testing::RasterDefine('B', 'B', 8, 1, {{0x31, {1}}})}));
  rig.Send(testing::kKeyListRequest);
  rig.Send(testing::kInitialise);
  EXPECT_FALSE(rig.session.awaiting_acknowledge());
  EXPECT_TRUE(rig.Send(testing::kAck).empty());
}

TEST(PrinterSession, DefineListPrintDeleteRoundTrip) {
  Rig rig;
  const std::uint64_t capacity = rig.printer.Remaining();
  rig.Send(Cat({testing::kInitialise, kLogoAB}));
  EXPECT_EQ(rig.Send(testing::kKeyListRequest), (Bytes{0x37, 0x72, 0x40, 'A', 'B', 0x00}));
  rig.Send(testing::kAck);
  // One block of 1 + 2 data bytes, plus the directory entry.
  EXPECT_EQ(rig.Send(testing::kCapacityRequest),
            testing::Reply(0x31, std::to_string(capacity - 3 - 30)));

  rig.Send(testing::PrintNv('A', 'B'));
  auto pages = rig.printer.Printed();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].width, 8);
  EXPECT_EQ(pages[0].height, 2);
  EXPECT_EQ(pages[0].inks, (std::vector<std::uint8_t>{1, 1, 1, 1, 0, 0, 0, 0,  //
                                                      0, 0, 0, 0, 1, 1, 1, 1}));

  rig.Send(testing::DeleteNv('A', 'B'));
  EXPECT_EQ(rig.Send(testing::kKeyListRequest), (Bytes{0x37, 0x72, 0x40, 0x00}));
  EXPECT_EQ(rig.Send(testing::kCapacityRequest), testing::Reply(0x31, std::to_string(capacity)));
  rig.Send(testing::PrintNv('A', 'B'));  // gone: prints nothing
  EXPECT_EQ(rig.printer.Printed().size(), 1u);
}

TEST(PrinterSession, CapacityRefusesWhatDoesNotFitAndFreesOnReplace) {
  // 500 dots × 10 rows in two colours: 63 row bytes, total 2 × (1 + 630) = 1262.
  Bytes plane(630, 0x55);
  Bytes big = testing::RasterDefine('B', 'G', 504, 10, {{0x31, plane}, {0x32, plane}});
  ASSERT_EQ((Bytes{big.begin() + 3, big.begin() + 7}), (Bytes{0xF8, 0x04, 0x00, 0x00}));
  Rig fits(With(kDefaultKeysPerBlock, 1262 + 30));  // exactly the data and its entry
  fits.Send(big);
  EXPECT_EQ(fits.printer.Keys().size(), 1u);
  EXPECT_EQ(fits.Send(testing::kCapacityRequest), testing::Reply(0x31, "0"));
  // Replacing the key with smaller graphics frees the difference.
  fits.Send(testing::RasterDefine('B', 'G', 8, 1, {{0x31, {0xFF}}}));
  EXPECT_EQ(fits.printer.Remaining(), 1262u + 30 - (2 + 30));

  Rig short_by_one(With(kDefaultKeysPerBlock, 1262 + 29));
  short_by_one.Send(big);
  EXPECT_TRUE(short_by_one.printer.Keys().empty());
  EXPECT_EQ(short_by_one.printer.Remaining(), 1262u + 29);
  short_by_one.Send(testing::RasterDefine('S', 'M', 8, 1, {{0x31, {0xFF}}}));  // small ones fit
  EXPECT_EQ(short_by_one.printer.Keys().size(), 1u);
}

// A 16 × 16 two-colour logo: first ink on the main diagonal, second ink in
// the top-right quarter.
bool FirstInk(int x, int y) { return x == y; }
bool SecondInk(int x, int y) { return x >= 8 && y < 8; }

// Raster form packs each row's dots into bytes; column form each column's.
Bytes Plane(bool (*ink)(int, int), bool column) {
  Bytes out(32, 0);
  for (int a = 0; a < 16; ++a)
    for (int b = 0; b < 16; ++b)
      if (column ? ink(a, b) : ink(b, a))
        out[std::size_t(a * 2 + b / 8)] |= std::uint8_t(0x80 >> (b % 8));
  return out;
}

TEST(PrinterSession, ColumnAndRasterDefinesPrintTheSamePicture) {
  Rig rig;
  rig.Send(
      Cat({testing::RasterDefine('R', 'R', 16, 16,
                                 {{0x31, Plane(FirstInk, false)}, {0x32, Plane(SecondInk, false)}}),
           testing::Density(0x33),
           testing::ColumnDefine('C', 'C', 16, 16,
                                 {{0x31, Plane(FirstInk, true)}, {0x32, Plane(SecondInk, true)}}),
           testing::PrintNv('R', 'R'), testing::PrintNv('C', 'C')}));
  EXPECT_EQ(rig.session.density(), 0x33);
  auto pages = rig.printer.Printed();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].inks, pages[1].inks);
  EXPECT_EQ(pages[0].At(3, 3), 1);
  EXPECT_EQ(pages[0].At(12, 2), 2);
  EXPECT_EQ(pages[0].At(9, 9), 1);  // first ink shows where both are set
  EXPECT_EQ(pages[0].At(2, 12), 0);
}

TEST(PrinterSession, ColumnDefineOfTheSpecialModelExample) {
  // 8 dots wide, 2 rows high, top row in bit 7 of each column byte.
  Bytes columns = {0x80, 0x80, 0x80, 0x80, 0x40, 0x40, 0x40, 0x40};
  Bytes stream = Cat({{0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, 0x32, 0x32},
                      {0x1D, 0x38, 0x4C, 0x13, 0x00, 0x00, 0x00, 0x30, 0x44, 0x30, 0x41, 0x42, 0x01,
                       0x08, 0x00, 0x08, 0x00, 0x31},
                      columns,
                      testing::PrintNv('A', 'B')});
  Rig rig;
  rig.Send(stream);
  auto pages = rig.printer.Printed();
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].height, 8);  // the height field is rounded up to whole bytes
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) EXPECT_EQ(pages[0].At(x, y), y == (x < 4 ? 0 : 1)) << x << "," << y;
}

TEST(PrinterSession, PrintBufferCombinesBothFormsAndInks) {
  Rig rig;
  // Raster store in the first ink (top row), column store in the second (left column).
  rig.Send(Cat({testing::Store(false, 0x31, 16, 2, {0xFF, 0xFF, 0x00, 0x00}),
                testing::Store(true, 0x32, 2, 8, {0xFF, 0x00})}));
  EXPECT_TRUE(rig.printer.Printed().empty());
  rig.Send(testing::kPrintBuffer);
  auto pages = rig.printer.Printed();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].width, 16);
  EXPECT_EQ(pages[0].height, 8);
  EXPECT_EQ(pages[0].At(0, 0), 1);
  EXPECT_EQ(pages[0].At(0, 5), 2);
  EXPECT_EQ(pages[0].At(1, 5), 0);
  rig.Send(testing::kPrintBuffer);  // emptied by printing
  EXPECT_EQ(rig.printer.Printed().size(), 1u);
  rig.Send(Cat({testing::Store(false, 0x31, 8, 1, {0xFF}), testing::kInitialise,
                testing::kPrintBuffer}));  // initialise clears it
  EXPECT_EQ(rig.printer.Printed().size(), 1u);
}

TEST(PrinterSession, EverySplitOfTheStreamGivesTheSameResult) {
  const PrinterOptions options = With(1);
  Bytes stream = Cat({testing::kInitialise,
                      kLogoAB,
                      {0x00, 0x1B, 0x1D, 0x41},
                      testing::ColumnDefine('C', 'D', 16, 16, {{0x31, Plane(FirstInk, true)}}),
                      testing::kKeyListRequest,
                      testing::kAck,
                      testing::kAck,
                      testing::kCapacityRequest,
                      testing::Store(false, 0x32, 8, 1, {0xAA}),
                      testing::kPrintBuffer,
                      testing::PrintNv('C', 'D'),
                      testing::DeleteNv('A', 'B'),
                      testing::kCapacityRequest});
  Rig whole(options);
  Bytes expected = whole.Send(stream);
  ASSERT_EQ(expected.size(), 6u + 6 + 2 * 9);  // two key blocks, two capacity replies

  Rig bytewise(options);
  Bytes got;
  for (std::uint8_t b : stream) got = Cat({got, bytewise.Send({b})});
  EXPECT_EQ(got, expected);
  EXPECT_EQ(bytewise.printer.Keys(), whole.printer.Keys());
  ASSERT_EQ(whole.printer.Printed().size(), 2u);
  ASSERT_EQ(bytewise.printer.Printed().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_EQ(whole.printer.Printed()[i].inks, bytewise.printer.Printed()[i].inks);

  // Every two-piece split as well.
  for (auto cut = stream.begin() + 1; cut < stream.end(); ++cut) {
    Rig split(options);
    Bytes first = split.Send({stream.begin(), cut});
    ASSERT_EQ(Cat({first, split.Send({cut, stream.end()})}), expected)
        << "cut at " << cut - stream.begin();
  }
}

TEST(PrinterSession, MalformedDefinesAreRefusedAndLaterCommandsStillWork) {
  Rig rig;
  Bytes short_count = kLogoAB;
  short_count[3] = 0x0C;  // one byte fewer than the graphics need: data misaligned
  Bytes bad_key = testing::RasterDefine('\x1F', 'A', 8, 1, {{0x31, {0xFF}}});
  Bytes bad_colour = testing::RasterDefine('Q', 'Q', 8, 1, {{0x33, {0xFF}}});
  Bytes three_blocks =
      testing::RasterDefine('T', 'T', 8, 1, {{0x31, {1}}, {0x32, {1}}, {0x31, {1}}});
  Bytes zero_height = testing::RasterDefine('Z', 'Z', 8, 0, {{0x31, {}}});
  Bytes unknown_fn = {0x1D, 0x28, 0x4C, 0x03, 0x00, 0x30, 0x7F, 0x01};
  rig.Send(Cat({short_count, bad_key, bad_colour, three_blocks, zero_height, unknown_fn,
                testing::Density(0x40)}));
  EXPECT_TRUE(rig.printer.Keys().empty());
  EXPECT_EQ(rig.session.density(), kDefaultDensity);
  EXPECT_EQ(rig.Send(testing::kKeyListRequest), (Bytes{0x37, 0x72, 0x40, 0x00}));
}

TEST(PrinterSession, FaultsShapeTheReplies) {
  Rig noisy(With(kDefaultKeysPerBlock, kDefaultCapacity, {0, false, 3}));
  Bytes reply = noisy.Send(testing::kCapacityRequest);
  ASSERT_EQ(reply.size(), 3 + 2 + std::to_string(kDefaultCapacity).size() + 1);
  EXPECT_EQ((Bytes{reply.begin() + 3, reply.end()}),
            testing::Reply(0x31, std::to_string(kDefaultCapacity)));
  for (int i = 0; i < 3; ++i) EXPECT_NE(reply[std::size_t(i)], 0x37);

  Rig silent(With(kDefaultKeysPerBlock, kDefaultCapacity, {0, true}));
  EXPECT_TRUE(silent.Send(Cat({testing::kKeyListRequest, testing::kCapacityRequest})).empty());
  silent.Send(kLogoAB);  // still takes graphics
  EXPECT_EQ(silent.printer.Keys().size(), 1u);

  Rig bad(With(1, kDefaultCapacity, {0, false, 0, 0, true}));
  bad.Send(Cat({kLogoAB, testing::RasterDefine('C', 'D', 8, 1, {{0x31, {1}}})}));
  EXPECT_EQ(bad.Send(testing::kKeyListRequest), (Bytes{0x37, 0x72, 0x41, 'A', 'B', 0x00}));
  Bytes last = bad.Send(testing::kAck);
  ASSERT_EQ(last.size(), 6u);
  EXPECT_NE(last[1], 0x72);
}

}  // namespace
}  // namespace inkmark::vprinter
