// A reported transfer on a line whose driver queues what it is given, as a
// UART does: the bytes go out unchanged, in pieces of a quarter second, each
// held back while the driver still holds more than a piece; "sent" never
// counts what the driver holds; a stop ends the transfer within a piece.
#include <gtest/gtest.h>

#include "ports/clock.h"
#include "protocol/nv_planes.h"
#include "protocol/transfer_progress.h"
#include "support/protocol_fixtures.h"

namespace inkmark::testing {
namespace {

// Time moves only when the code under test sleeps.
class SteppingClock final : public PortClock {
 public:
  SteppingClock() { SetPortClock(this); }
  ~SteppingClock() override { SetPortClock(nullptr); }
  std::uint64_t NowMs() override { return now; }
  void SleepMs(std::uint32_t ms) override { now += ms; }
  int WaitFd(int, short, std::uint32_t timeout_ms) override { return now += timeout_ms, 0; }
  std::uint64_t now = 0;
};

// Takes every write at once into its queue and sends 240 bytes a second
// (2400 baud) from it.
class UartPort final : public PortDriver {
 public:
  explicit UartPort(SteppingClock& clock) : PortDriver("COM1:"), clock_(clock) {}
  Status open() override { return Status(); }
  Status close() override { return Status(); }
  Status read(std::uint8_t*, std::uint32_t, std::uint32_t& got) override {
    return got = 0, Status(FailureCode::kTimedOut);
  }
  Status readExact(std::uint8_t*, std::uint32_t, std::uint32_t& got) override {
    return got = 0, Status(FailureCode::kTimedOut);
  }
  Status write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
               std::uint32_t&) override {
    pieces.push_back({length, *outputQueued()});
    wire.insert(wire.end(), buffer, buffer + length);
    written = length;
    return Status();
  }
  std::uint32_t bytesPerSecond() const override { return 240; }
  std::optional<std::uint32_t> outputQueued() override {
    return std::uint32_t(wire.size() - Left());
  }
  // Bytes on the line by now.
  std::size_t Left() const { return std::min<std::size_t>(wire.size(), clock_.now * 240 / 1000); }

  Bytes wire;
  struct Piece {
    std::uint32_t length;
    std::uint32_t queued_before;
  };
  std::vector<Piece> pieces;

 private:
  SteppingClock& clock_;
};

// Records what it is told, checks it against the line, and stops when asked to.
class LineProgress final : public TransferProgress {
 public:
  explicit LineProgress(UartPort& port) : port_(port) {}
  bool Update(std::uint64_t sent, std::uint64_t total) override {
    EXPECT_LE(sent, port_.Left()) << "counted bytes the driver still held";
    EXPECT_GE(sent, last) << "went back";
    EXPECT_EQ(total, 3005u);
    last = sent;
    ++updates;
    return sent < stop_at;
  }
  void Finished() override { finished = true; }

  std::uint64_t last = 0, stop_at = UINT64_MAX;
  int updates = 0;
  bool finished = false;

 private:
  UartPort& port_;
};

Bytes Command(std::size_t n) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = std::uint8_t(i * 7 + i / 251);
  return b;
}

TEST(TransferPieces, GoOutUnchangedAQuarterSecondAtATimeAndCountWhatLeft) {
  SteppingClock clock;
  UartPort port(clock);
  LineProgress progress(port);
  ScopedTransferProgress scope(progress);
  const Bytes header = Command(5), data = Command(3000);
  {
    CommandSender out(port);
    out.ReportAs(header.size() + data.size());
    EXPECT_EQ(out.Start(header), 1);
    EXPECT_EQ(out.Continue(data), 1);
    EXPECT_FALSE(out.broke_off());
  }
  EXPECT_EQ(port.wire, header + data);
  for (const auto& piece : port.pieces) {
    EXPECT_LE(piece.length, 60u);
    EXPECT_LE(piece.queued_before, 60u) << "a piece went out while the driver held more";
  }
  // 3005 bytes at 240 a second: about 12.5 s, reported at least four times a second.
  EXPECT_GE(clock.now, 12000u);
  EXPECT_GE(progress.updates, 4 * 12);
  EXPECT_GE(progress.last, 3005u - 120);
  EXPECT_TRUE(progress.finished);
}

TEST(TransferPieces, AStopEndsTheTransferWithinAPieceAndLeavesItBrokenOff) {
  SteppingClock clock;
  UartPort port(clock);
  LineProgress progress(port);
  progress.stop_at = 600;
  ScopedTransferProgress scope(progress);
  CommandSender out(port);
  out.ReportAs(3005);
  EXPECT_EQ(out.Start(Command(5)), 1);
  EXPECT_EQ(out.Continue(Command(3000)), 0);
  EXPECT_TRUE(out.broke_off());
  EXPECT_FALSE(out.failure()) << "the user's stop is no failure";
  // Stopped once 600 bytes had left (told every 100 ms: 24 bytes): beyond them
  // at most the two pieces then queued are out.
  EXPECT_LE(port.wire.size(), 600u + 24 + 2 * 60);
  EXPECT_LE(clock.now, 600 * 1000 / 240 + 500);
}

}  // namespace
}  // namespace inkmark::testing
