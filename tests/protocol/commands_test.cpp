// The protocol's streams and replies over a scripted port and command files:
// the key list and capacity replies on both routes, the commands that print
// and delete a stored graphics, and registration and test print in raster and
// column form, with their exact streams, limits, capacity check and bands.
#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "protocol/capacity_reply.h"
#include "protocol/key_list_reply.h"
#include "protocol/nv_commands.h"
#include "protocol/nv_dispatch.h"
#include "protocol/nv_planes.h"
#include "protocol/transaction.h"
#include "protocol/transfer_progress.h"
#include "support/protocol_fixtures.h"

namespace inkmark::testing {
namespace {

std::string Text(int id, const char* arg = nullptr) { return FormatMessageText(id, arg); }
const Bytes kListAsk(std::begin(kKeyListRequest), std::end(kKeyListRequest));
const Bytes kCapacityAsk(std::begin(kCapacityRequest), std::end(kCapacityRequest));
const Bytes kDensity180 = B({0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, 0x32, 0x32});
const Bytes kDensity360 = B({0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x31, 0x33, 0x33});

// A key-list block: its header, the key bytes and the closing NUL.
Bytes Block(bool last, std::string_view keys) {
  return B(last ? "7r@"sv : "7rA"sv) + B(keys) + B({0});
}
Bytes Prefix(const Bytes& bytes, std::size_t n) {
  return Bytes(bytes.begin(), bytes.begin() + std::min(n, bytes.size()));
}

// The direct listing of `reply`: the count, the keys, what went out (the
// request, then acknowledgements) and whether the user was told.
std::string ListDirect(const Bytes& reply, bool request_fails = false) {
  ScriptPort port;
  RecordingMessageBoxes boxes;
  port.Reply(reply);
  port.fail_from_write = request_fails ? 0 : SIZE_MAX;
  std::vector<NvKey> keys{MakeNvKey('z', 'z')};
  std::string out = std::to_string(ReadKeyCodeList(port, nullptr, keys)) + ":";
  for (const std::string& key : KeyTexts(keys)) out += " " + key;
  out += Prefix(port.sent, kListAsk.size()) == kListAsk ? "; list" : ";";
  for (std::size_t i = kListAsk.size(); i < port.sent.size(); ++i)
    out += port.sent[i] == 0x06 ? " ack" : " ?";
  // Told: the standard text, then why on the line below it.
  const bool told =
      boxes.texts().size() == 1 && boxes.texts()[0].starts_with(Text(kStrKeyListFailed) + "\n");
  return out + (told ? ", told" : "");
}

// Why the direct listing of `reply` was refused.
std::string WhyRefused(const Bytes& reply) {
  ScriptPort port;
  port.Reply(reply);
  std::vector<NvKey> keys;
  auto count = ReadKeyListDirect(port, keys);
  return count ? "read " + std::to_string(*count) : count.detail();
}

TEST(DirectKeyListTest, EachCheckOfABlockRefusesOnItsOwnAndSaysWhich) {
  // Every check is met but one: a later block's header, its identifier, a
  // first block's identifier, a reply that falls silent.
  EXPECT_EQ(WhyRefused(Block(false, "AB") + B("8r@CD\0"sv)),
            "the printer's reply: key list block 2: a wrong header");
  EXPECT_EQ(WhyRefused(Block(false, "AB") + B("7s@CD\0"sv)),
            "the printer's reply: key list block 2: a wrong identifier");
  EXPECT_EQ(WhyRefused(B("7s@AB\0"sv)),
            "the printer's reply: key list block 1: a wrong identifier");
  EXPECT_EQ(WhyRefused(B("7r@AB"sv)), "the script ran out of replies");
  EXPECT_EQ(WhyRefused(Block(false, "AB") + Block(true, "CD")), "read 2");
  // A block holds whole keys: "K1 K2 K3" that lost a byte on the way is no list.
  EXPECT_EQ(WhyRefused(Block(true, "K12K3")),
            "the printer's reply: key list block 1: an unpaired key byte");
  EXPECT_EQ(WhyRefused(Block(false, "AB") + Block(true, "C")),
            "the printer's reply: key list block 2: an unpaired key byte");
}

TEST(DirectKeyListTest, ReadsEachBlockAfterItsHeaderAndAcknowledgesIt) {
  EXPECT_EQ(ListDirect(B({0}) + Block(false, "AB") + Block(false, "") + Block(true, "CDEF")),
            "3: AB CD EF; list ack ack ack");
  // An unpaired byte makes the list unreadable; the block is not acknowledged
  // and gives no key.
  EXPECT_EQ(ListDirect(Block(true, "ABC")), "-1:; list, told");
  // A list that breaks off is unreadable, whatever keys came before: a wrong
  // identifier, a stray byte where the next header belongs, a printer that
  // falls silent inside a block or before the next one.
  EXPECT_EQ(ListDirect(Block(false, "AB") + B("7s@CD\0"sv)), "-1: AB; list ack, told");
  EXPECT_EQ(ListDirect(Block(false, "AB") + B({0}) + Block(true, "CD")), "-1: AB; list ack, told");
  EXPECT_EQ(ListDirect(B("77r@AB\0"sv)), "-1:; list, told");
  EXPECT_EQ(ListDirect(B("7r@AB"sv)), "-1:; list, told");
  EXPECT_EQ(ListDirect(Block(false, "ABCD")), "-1: AB CD; list ack, told");
  EXPECT_EQ(ListDirect({}), "-1:; list, told");
  EXPECT_EQ(ListDirect(Bytes(kMaxBytesBeforeHeader + 1, 0x55) + Block(true, "AB")),
            "-1:; list, told");
  EXPECT_EQ(ListDirect(Block(true, "AB"), true), "-1:;, told");
}

// The driver route, with a scripted exchange standing in for the library:
// acknowledgements for more blocks are exchanged, the last one only written.
TEST(DriverKeyListTest, ExchangesEveryBlockAndFailsWholeOnABadOne) {
  const std::pair<std::vector<Bytes>, std::string> cases[] = {
      {{Block(false, "AB") + B("XY"sv), Block(true, "CD")}, "2: AB CD; list ack +ack"},
      {{Block(false, "ABC"), Block(true, "D")}, "-1:; list"},  // an unpaired byte
      {{B("7r@AB"sv)}, "-1:; list"},  // a block without its NUL may have lost keys
      {{Block(false, "AB"), B("7q@\0"sv)}, "-1:; list ack"},
      {{B("7r@"sv)}, "-1:; list"},              // shorter than a block
      {{Block(false, "AB")}, "-1:; list ack"},  // the next block never comes
  };
  for (const auto& [blocks, expected] : cases) {
    ScriptPort port;
    std::vector<NvKey> keys;
    std::string sent;
    std::size_t next = 0;
    const auto exchange = [&](auto request, auto reply, std::uint32_t& received) {
      const Bytes r(request.begin(), request.end());
      sent += r == kListAsk ? " list" : r == B({6}) ? " ack" : " ?";
      if (next == blocks.size()) return false;
      received = std::uint32_t(std::min(blocks[next].size(), reply.size()));
      std::copy_n(blocks[next++].begin(), received, reply.begin());
      return true;
    };
    auto listed = ReadKeyListDriver(port, exchange, keys);
    const std::int32_t count = listed ? *listed : -1;
    std::string got = std::to_string(count) + ":";
    for (const std::string& key : KeyTexts(keys)) got += count < 0 ? "" : " " + key;
    EXPECT_EQ(got + ";" + sent + (port.sent == B({6}) ? " +ack" : ""), expected);
  }
}

// Both routes read the digits up to the NUL, at most eight of them; a reply
// that breaks off before its NUL is unreadable. Only the direct route passes
// over bytes before the header.
TEST(CapacityReplyTest, BothRoutesReadUpToEightDigits) {
  const std::tuple<Bytes, std::int32_t, std::int32_t> cases[] = {
      {B("7112345\0"sv), 12345, 12345},
      {B({0x06, 0}) + B("710\0"sv), 0, -1},
      {B("7199999999\0"sv), 99999999, 99999999},
      {B("7112"sv), -1, -1},
      {B("71392"sv), -1, -1},
      {B("71100000000\0"sv), -1, -1},
      {B("7012\0"sv), -1, -1},
      {B("71\0"sv), -1, -1},
      {B("711x2\0"sv), -1, -1},
      {B("7"sv), -1, -1},
  };
  for (const auto& [reply, direct, driver] : cases) {
    ScriptPort port;
    port.Reply(reply);
    EXPECT_EQ(ReadNvCapacity(port), direct) << ::testing::PrintToString(reply);
    EXPECT_EQ(port.sent, kCapacityAsk);
    EXPECT_EQ(ParseCapacityReply(reply), driver) << ::testing::PrintToString(reply);
  }
}

// A session whose output goes to a command file, and a scripted port to
// register on.
class StreamTest : public ::testing::Test {
 protected:
  StreamTest() {
    session.save_as_command_file = 1;
    session.save_path = (dir.path() / "print.bin").string();
  }
  Bytes Sent() const { return B(ReadFileText(session.save_path)); }
  // Registers `raster` under AB on a fresh port.
  std::int32_t Define(std::optional<LogoRaster> raster, const Bytes& reply = {},
                      std::size_t fail_from_write = SIZE_MAX) {
    port = std::make_unique<ScriptPort>();
    port->Reply(reply);
    port->fail_from_write = fail_from_write;
    return RegisterNvGraphics(*port, nullptr, session, MakeNvKey('A', 'B'), std::move(raster));
  }

  TempDir dir;
  LogoSession session;
  std::unique_ptr<ScriptPort> port;
  RecordingMessageBoxes boxes;
};

// The define header up to its first block: the count, fn, the key AB, the
// number of blocks, the width and height.
Bytes DefineHead(int fn, int count, int blocks, int width, int height) {
  return B({0x1D, 0x38, 0x4C, count & 0xFF, count >> 8, 0, 0, 0x30, fn, 0x30, 'A', 'B', blocks,
            width & 0xFF, width >> 8, height & 0xFF, height >> 8});
}

TEST_F(StreamTest, KeyCommandsAndOneInkDefinesAreTheExactStreams) {
  UseProfile(session, ProfileFor("QP-80"));
  EXPECT_EQ(PrintNvGraphics(session, MakeNvKey('A', 'B')), 1);
  EXPECT_EQ(Sent(), B({0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 'A', 'B', 0x01, 0x01}));
  EXPECT_EQ(DeleteNvGraphics(session, MakeNvKey(' ', '~')), 1);
  EXPECT_EQ(Sent(), B({0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x42, ' ', '~'}));

  // No capacity request for a command file. 12 dots: top row the first four,
  // bottom row the rest; the padding is white. A model name that only begins
  // like a special model's takes the raster form.
  UseProfile(session, ProfileFor("DT-300/3100", "None"));
  EXPECT_EQ(Define(MakeRaster(12, 2, kNoInk, [](int x, int y) { return (x < 4) == (y == 0); })), 1);
  EXPECT_EQ(port->sent, DefineHead(0x43, 15, 1, 16, 2) + B({0x31, 0xF0, 0x00, 0x0F, 0xF0}));
  EXPECT_EQ(std::pair(port->jobs_begun, port->jobs_ended), std::pair(1, 1));

  // A monochrome picture in the second ink, its 1-bit raster in the
  // converter's order: index 0 white, index 1 the ink.
  UseProfile(session, ProfileFor("QP-80"));
  session.monochrome = 1;
  session.source_kind = kSourceBitmap;
  session.params.color_table = 1;
  EXPECT_EQ(Define(BuildRaster(12, 1, 1, {0xFFFFFF, kColorRed}, [](int x, int) { return x % 2; })),
            1);
  EXPECT_EQ(port->sent, DefineHead(0x43, 13, 1, 16, 1) + B({0x32, 0x55, 0x50}));

  // Column form: column x has its top dot where x is even, its second where x < 4.
  session.monochrome = 0;
  UseProfile(session, ProfileFor("DT-300/310", "None", 203));
  EXPECT_EQ(Define(MakeRaster(8, 2, kNoInk, [](int x, int y) { return y ? x < 4 : x % 2 == 0; })),
            1);
  EXPECT_EQ(port->sent, kDensity180 + DefineHead(0x44, 19, 1, 8, 8) +
                            B({0x31, 0xC0, 0x40, 0xC0, 0x40, 0x80, 0x00, 0x80, 0x00}));
  EXPECT_TRUE(boxes.boxes().empty());
}

// Both forms share one sender: the define goes out when the capacity is just
// enough (its data, a byte per block and 30), and nothing of it when one byte
// short. 504 by 10 dots in two blocks: 1262 bytes after the count.
TEST_F(StreamTest, TwoInkDefinesNeedTheirCapacity) {
  session.save_as_command_file = 0;
  UseProfile(session, ProfileFor("QP-80"));
  const auto raster = MakeRaster(500, 10, kColorRed);
  EXPECT_EQ(Define(raster, B("711291\0"sv)), 0);
  EXPECT_EQ(std::pair(port->writes, port->jobs_begun), std::pair(std::size_t(1), 0));
  ASSERT_EQ(Define(raster, B("711292\0"sv)), 1);
  const Bytes start = kCapacityAsk + DefineHead(0x43, 1272, 2, 504, 10);
  EXPECT_EQ(port->sent.size(), start.size() + 1262);
  EXPECT_EQ(Prefix(port->sent, start.size()), start);
  EXPECT_EQ(Define(MakeRaster(16, 4, kColorRed), B("709\0"sv)), 0);
  EXPECT_EQ(boxes.texts(), (Texts{Text(kStrNoNvMemory), Text(kStrCapacityFailed)}));
}

TEST_F(StreamTest, RefusalsAndFailuresAreReportedOnceAndEndTheJob) {
  // The raster form's limits; the column form has none.
  UseProfile(session, ProfileFor("QP-80", "None"));
  EXPECT_EQ(Define(MakeRaster(8, 2304, kNoInk)), 1);
  EXPECT_EQ(Define(MakeRaster(8185, 1, kNoInk)), 1);
  EXPECT_EQ(Define(MakeRaster(8, 2305, kNoInk)), 0);
  EXPECT_EQ(Define(MakeRaster(8193, 1, kNoInk)), 0);
  EXPECT_EQ(std::pair(port->writes, port->jobs_begun), std::pair(std::size_t(0), 0));
  UseProfile(session, ProfileFor("DT-300/310", "None"));
  EXPECT_EQ(Define(MakeRaster(8, 2400, kNoInk)), 1);

  const auto raster = MakeRaster(8, 2, kColorRed);
  UseProfile(session, ProfileFor("QP-80"));
  EXPECT_EQ(Define(raster, {}, 0), 0);  // nothing of the define goes
  EXPECT_EQ(Define(raster, {}, 1), 0);  // the header goes, the data does not
  EXPECT_EQ(std::pair(port->writes, port->jobs_ended), std::pair(std::size_t(2), 1));
  const std::string limit = Text(kStrNvSizeLimit, "2304"), failed = Text(kStrRegisterFailed);
  // Only the define that broke off inside the command leaves the printer waiting.
  const std::string waiting = Text(kStrTransferBrokenOff);
  // A failed write says why after the standard text.
  const std::string write_failed = failed + "\nthe script fails this write";
  EXPECT_EQ(boxes.texts(), (Texts{limit, limit, write_failed, write_failed, waiting}));

  // A registration whose last bytes the port dropped on closing did not happen.
  boxes.clear();
  EXPECT_EQ(CloseAfterRegistration(std::make_unique<ScriptPort>(), nullptr, 1), 1);
  auto dropped = std::make_unique<ScriptPort>();
  dropped->output_lost = true;
  EXPECT_EQ(CloseAfterRegistration(std::move(dropped), nullptr, 1), 0);
  EXPECT_EQ(boxes.texts(),
            (Texts{failed + "\nthe printer did not take everything sent to it", waiting}));
}

// Each band is stored in the print buffer, one block per ink, and printed
// before the next; bands are as tall as the form allows and no store's count
// wraps. `bands` lists each store's rows, 0 for a print and -1 for the
// density, which only the model with tall bands sets, first; the first
// store's header is checked byte for byte.
// Records what a transfer reports and stops it once `stop_at` bytes are out.
struct RecordedProgress final : TransferProgress {
  bool Update(std::uint64_t sent, std::uint64_t total) override {
    updates.emplace_back(sent, total);
    return sent < stop_at;
  }
  std::vector<std::pair<std::uint64_t, std::uint64_t>> updates;
  std::uint64_t stop_at = UINT64_MAX;
};

// A reported define or test print sends the same bytes in pieces, counts to
// its exact size, and a stop between two pieces fails it as broken off.
TEST_F(StreamTest, ReportedTransfersSendTheSameBytesAndStopBetweenPieces) {
  UseProfile(session, ProfileFor("QP-80"));
  const auto raster = MakeRaster(500, 100, kColorRed);
  ASSERT_EQ(Define(raster), 1);
  const Bytes quiet = port->sent;
  RecordedProgress progress;
  {
    ScopedTransferProgress scope(progress);
    ASSERT_EQ(Define(raster), 1);
  }
  EXPECT_EQ(port->sent, quiet);
  EXPECT_GT(port->writes, quiet.size() / kProgressStep);  // in pieces
  ASSERT_FALSE(progress.updates.empty());
  EXPECT_EQ(progress.updates.front(), std::pair(std::uint64_t(0), std::uint64_t(quiet.size())));
  EXPECT_EQ(progress.updates.back().first, quiet.size());
  EXPECT_TRUE(std::is_sorted(progress.updates.begin(), progress.updates.end()));

  progress.updates.clear();
  {
    ScopedTransferProgress scope(progress);
    ASSERT_EQ(TestPrint(nullptr, session, raster), 1);
  }
  EXPECT_EQ(progress.updates.back(),
            std::pair(std::uint64_t(Sent().size()), std::uint64_t(Sent().size())));

  // A stop inside the define's data leaves the printer waiting for the rest;
  // one before the first byte leaves it as it was. Either reads as cancelled.
  progress.stop_at = kProgressStep;
  {
    ScopedTransferProgress scope(progress);
    EXPECT_EQ(Define(raster), 0);
  }
  EXPECT_LT(port->sent.size(), quiet.size());
  EXPECT_EQ(boxes.texts(), (Texts{Text(kStrRegisterCancelled), Text(kStrTransferBrokenOff)}));
  boxes.clear();
  progress.stop_at = 0;
  {
    ScopedTransferProgress scope(progress);
    EXPECT_EQ(Define(raster), 0);
    EXPECT_EQ(port->sent.size(), 0u);
    EXPECT_EQ(TestPrint(nullptr, session, raster), 0);
  }
  EXPECT_EQ(boxes.texts(), (Texts{Text(kStrRegisterCancelled), Text(kStrTestPrintCancelled)}));

  // Cancel to a busy printer's question reads the same; any other failure
  // still reads as failed, whatever the progress said.
  boxes.clear();
  const Failure answered{FailureCode::kCancelled, "COM1: the printer was busy"};
  ReportTransferFailure(nullptr, kStrRegisterFailed, true, answered);
  ReportTransferFailure(nullptr, kStrTestPrintFailed, false, answered);
  ReportTransferFailure(nullptr, kStrTestPrintFailed, false, Failure{FailureCode::kHungUp, "gone"},
                        true);
  EXPECT_EQ(boxes.texts(),
            (Texts{Text(kStrRegisterCancelled), Text(kStrTransferBrokenOff),
                   Text(kStrTestPrintCancelled), Text(kStrTestPrintFailed) + "\ngone"}));
}

TEST_F(StreamTest, TestPrintSendsBandsEachPrintedBeforeTheNext) {
  const struct {
    std::string model;
    const char* second;
    int dpi, width, height;
    std::vector<int> bands;
    Bytes density = {};
  } cases[] = {
      {"QP-80", "Red", 180, 16, 1000, {831, 831, 0, 169, 169, 0}},
      {"QP-80", "None", 180, 1000, 1200, {524, 0, 524, 0, 152, 0}},
      {"DT-300/310", "Red", 203, 200, 100, {64, 64, 0, 40, 40, 0}},
      {"Dt-200/210", "Red", 360, 200, 100, {-1, 104, 104, 0}, kDensity360},
      {"DT-200/210", "None", 180, 5000, 130, {-1, 104, 0, 32, 0}, kDensity180},
  };
  for (const auto& c : cases) {
    UseProfile(session, ProfileFor(c.model, c.second, c.dpi));
    ASSERT_EQ(TestPrint(nullptr, session, MakeRaster(c.width, c.height, ColorFromName(c.second))),
              1);
    // The store header: the count, fn, the ink's code, width and the band's height.
    const int band = c.bands[c.density.empty() ? 0 : 1], count = c.width * band / 8 + 10;
    const Bytes start = c.density + B({0x1D, 0x28, 0x4C, count & 0xFF, count >> 8, 0x30,
                                       c.model[0] == 'D' ? 0x71 : 0x70, 0x30, 1, 1, 0x31,
                                       c.width & 0xFF, c.width >> 8, band & 0xFF, band >> 8});
    EXPECT_EQ(Prefix(Sent(), start.size()), start) << c.model << " " << c.width;
    std::vector<int> bands;
    for (const auto& command : DecodeStream(Sent()))
      bands.push_back(command.kind == vprinter::CommandKind::kStore ? command.graphics.height
                      : command.kind == vprinter::CommandKind::kPrintBuffer ? 0
                                                                            : -1);
    EXPECT_EQ(bands, c.bands) << c.model << " " << c.width;
  }
  EXPECT_TRUE(boxes.boxes().empty());

  // Failures are reported.
  const auto raster = MakeRaster(8, 4, kNoInk);
  session.save_path = (dir.path() / "missing" / "print.bin").string();
  EXPECT_EQ(TestPrint(nullptr, session, raster), 0);
  EXPECT_EQ(TestPrint(nullptr, session, std::nullopt), 0);
  // A band of no rows (a logo so wide that not one row fits a store command)
  // is refused before the port opens, rather than sent for ever.
  session.save_path = (dir.path() / "wide.bin").string();
  std::vector<std::uint8_t> planes(16);
  std::int32_t bands_asked = 0;
  EXPECT_EQ(SendTestPrintBands(nullptr, session, {}, 10, 0, PlaneSelection{0}, planes,
                               [&](auto, auto, auto, auto, auto&) {
                                 ++bands_asked;
                                 return std::array<std::uint8_t, kStoreHeaderSize>{};
                               }),
            0);
  EXPECT_FALSE(std::filesystem::exists(session.save_path));
  EXPECT_EQ(bands_asked, 0);
  EXPECT_EQ(boxes.texts(),
            (Texts{Text(kStrTestPrintFailed) + "\n" + (dir.path() / "missing").string() +
                       "/print.bin: No such file or directory",
                   Text(kStrNoMemory), Text(kStrTestPrintFailed)}));
}

}  // namespace
}  // namespace inkmark::testing
