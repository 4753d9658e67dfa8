// The printer ports: serial and parallel against pseudo-terminal printers on a
// simulated clock, the command file, the spooler's driver through a private
// cupsd, and which of them a session's choices open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include "platform/line_queues.h"
#include "ports/clock.h"
#include "ports/device_map.h"
#include "ports/driver_port.h"
#include "ports/file_port.h"
#include "ports/network_port.h"
#include "ports/open_port.h"
#include "ports/read_timing.h"
#include "ports/serial_port.h"
#include "support/private_cupsd.h"
#include "support/pty_printer.h"
#include "support/recording_message_boxes.h"
#include "support/tcp_test_printer.h"

namespace inkmark::testing {
namespace {

using std::chrono::milliseconds;

// Time moves only when a port sleeps or waits in vain; scheduled actions (a
// printer answering) run when the time reaches them.
class FakePortClock final : public PortClock {
 public:
  FakePortClock() { SetPortClock(this); }
  ~FakePortClock() override { SetPortClock(nullptr); }
  std::uint64_t NowMs() override { return now_; }
  void SleepMs(std::uint32_t ms) override { AdvanceTo(now_ + ms); }
  int WaitFd(int fd, short events, std::uint32_t timeout_ms) override {
    for (const std::uint64_t deadline = now_ + timeout_ms;;) {
      // A real millisecond lets the kernel pass bytes between the pty's ends.
      pollfd p{fd, events, 0};
      if (int n = ::poll(&p, 1, timeout_ms == 0 ? 0 : 1); n != 0) return n < 0 ? -1 : p.revents;
      if (now_ >= deadline) return 0;
      AdvanceTo(actions_.empty() ? deadline : std::min(deadline, actions_.begin()->first));
    }
  }
  void At(std::uint64_t at_ms, std::function<void()> action) { actions_.emplace(at_ms, action); }

 private:
  void AdvanceTo(std::uint64_t t) {
    while (!actions_.empty() && actions_.begin()->first <= t) {
      auto next = actions_.extract(actions_.begin());
      now_ = std::max(now_, next.key());
      next.mapped()();
    }
    now_ = std::max(now_, t);
  }
  std::uint64_t now_ = 0;
  std::multimap<std::uint64_t, std::function<void()>> actions_;
};

struct LineChoice {
  std::string port = "COM1";
  std::int32_t baud = 19200, bits = 8;
  std::string parity = "None", flow = "DTR/DSR";
};

// A session with one profile offering exactly the given choices, each selected.
struct ChoiceSession : LogoSession {
  explicit ChoiceSession(const LineChoice& c, std::vector<std::string> drivers = {}) {
    PrinterProfile& p = profiles.emplace_back();
    p.ports.values = {c.port, "0"};
    p.baud_rates.values = {c.baud, 0};
    p.bit_lengths.values = {c.bits, 0};
    p.parities.values = {c.parity, "0"};
    p.flows.values = {c.flow, "0"};
    p.driver_names.values = std::move(drivers);
  }
};

inline const std::string kDriverModel = "Corlane Printer Driver DT-300/310";

// Bytes that differ from their neighbours and do not repeat every 256.
inline std::string Pattern(std::size_t n) {
  std::string data(n, '\0');
  for (std::size_t i = 0; i < n; ++i) data[i] = char(i * 7 + i / 251);
  return data;
}

// Writes all of `data`; the port's result, with the count written in `written`.
inline Status WriteAll(PortDriver& port, const std::string& data, std::uint32_t* written = nullptr,
                       std::uint32_t* errors = nullptr) {
  std::uint32_t w = 0, e = 0;
  return port.write(reinterpret_cast<const std::uint8_t*>(data.data()), std::uint32_t(data.size()),
                    written ? *written : w, errors ? *errors : e);
}

class PortTest : public ::testing::Test {
 protected:
  PortTest() { read_constant_ms = kReadConstantStartMs; }
  DeviceMapHome home;
  FakePortClock clock;
  RecordingMessageBoxes boxes;
  PtyPrinter printer{home, "com1"};
};

// Notes the size of every device write; its first `busy_writes` writes take
// only 3 bytes (none from `taking_until_ms` on) and then answer busy after the
// full write time-out.
struct ScriptedPort final : DevicePort {
  ScriptedPort() : DevicePort("COM1:") {}
  Transfer writeDevice(const std::uint8_t* buffer, std::uint32_t length) override {
    chunks.push_back(length);
    if (busy_writes-- <= 0) return DevicePort::writeDevice(buffer, length);
    const std::uint32_t taken = CurrentPortClock().NowMs() < taking_until_ms ? 3 : 0;
    Transfer t = DevicePort::writeDevice(buffer, std::min(length, taken));
    CurrentPortClock().SleepMs(write_total_timeout_constant + length);
    return {false, t.count, kErrorBusy};
  }
  std::vector<std::uint32_t> chunks;
  int busy_writes = 0;
  std::uint64_t taking_until_ms = UINT64_MAX;
};

TEST_F(PortTest, SerialAndParallelSendInitializeThenSettleThenDataOnTheSelectedLine) {
  PtyPrinter com(home, "com2"), lpt(home, "lpt1");
  for (const LineChoice& choice :
       {LineChoice{.port = "COM2", .baud = 9600, .bits = 7, .parity = "Even"}, {.port = "LPT1"}}) {
    const std::uint64_t start = clock.NowMs();
    auto port = OpenPrinterPort(ChoiceSession(choice));
    ASSERT_TRUE(port) << choice.port;
    EXPECT_EQ((*port)->name, choice.port + ":");
    EXPECT_GE(clock.NowMs() - start, 100u);
    EXPECT_TRUE(WriteAll(**port, "hi"));
    EXPECT_TRUE((*port)->close());
  }
  EXPECT_EQ(com.Received() + "|" + lpt.Received(), "\x1B@hi|\x1B@hi");
  // A pseudo-terminal keeps the speed, the handshake and the parity check that
  // the port set (it always reports 8 data bits and no parity bit), raw.
  termios line = com.Line();
  EXPECT_EQ(cfgetospeed(&line), B9600);
  EXPECT_EQ(line.c_cflag & (PARODD | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF | INPCK | ICRNL), tcflag_t(INPCK));
  EXPECT_EQ((line.c_oflag & OPOST) | (line.c_lflag & (ICANON | ECHO | ISIG)), 0u);
}

TEST_F(PortTest, RefusesMissingBusyStalledOrUnsuitableDeviceAndReleasesIt) {
  // Unmapped serial ports fall back to the system's devices.
  EXPECT_EQ(DevicePathFor("COM3:"), std::filesystem::path("/dev/ttyS2"));
  for (const char* none : {"COM0:", "COM1000:", "FILE:"}) EXPECT_FALSE(DevicePathFor(none));
  home.Link("com5", home.folder() / "no-such-device");
  // Each refusal says why, naming the device where there is one.
  auto missing = OpenPrinterPort(ChoiceSession({.port = "COM5"}));
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.code(), FailureCode::kPortUnavailable);
  EXPECT_THAT(missing.detail(), ::testing::EndsWith("com5: No such file or directory"));
  auto bad_speed = OpenPrinterPort(ChoiceSession({.baud = 12345}));
  ASSERT_FALSE(bad_speed);
  EXPECT_THAT(bad_speed.detail(), ::testing::HasSubstr("line settings were refused"));
  auto first = OpenPrinterPort(ChoiceSession({}));
  ASSERT_TRUE(first);
  auto taken = OpenPrinterPort(ChoiceSession({}));
  ASSERT_FALSE(taken);
  EXPECT_EQ(taken.code(), FailureCode::kBusy) << taken.detail();
  // Fill the line (the user cancels the busy question), then the initialise
  // command cannot go out: after the 15 s question the open fails.
  Status stalled = WriteAll(**first, std::string(64 * 1024, '\0'));
  ASSERT_FALSE(stalled);
  EXPECT_EQ(stalled.code(), FailureCode::kCancelled);
  (void)(*first)->close();
  const std::uint64_t start = clock.NowMs();
  EXPECT_FALSE(OpenPrinterPort(ChoiceSession({})));
  EXPECT_EQ(boxes.boxes().size(), 2u);
  EXPECT_GE(clock.NowMs() - start, 15000u + 100u);
  printer.Received();
  EXPECT_TRUE(OpenPrinterPort(ChoiceSession({})));
}

TEST_F(PortTest, WritesInChunksOf4096AndNeverAsksWhileThePrinterTakesBytes) {
  ScriptedPort port;
  const std::string data = Pattern(10000);
  std::uint8_t reply[2];
  std::uint32_t got = 0;
  EXPECT_FALSE(WriteAll(port, data));  // nothing while closed
  EXPECT_FALSE(port.readExact(reply, 2, got));
  ASSERT_TRUE(port.open());
  EXPECT_TRUE(WriteAll(port, data));
  EXPECT_EQ(port.chunks, (std::vector<std::uint32_t>{4096, 4096, 1808}));
  EXPECT_TRUE(printer.Received() == data);
  port.busy_writes = 12;  // over a minute of busy writes, each taking a little
  EXPECT_TRUE(WriteAll(port, data));
  EXPECT_GT(clock.NowMs(), 60000u);
  (void)port.close();
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_TRUE(printer.Received() == data);
}

TEST_F(PortTest, AsksFifteenSecondsAfterThePrinterLastTookBytesAndRetryRestartsTheWait) {
  boxes.Answer({kIdRetry, kIdCancel, kIdCancel});
  // Asked 15 s after the last byte was taken, not after the first busy error
  // (a whole chunk's time-out later).
  clock.At(15000, [&] { EXPECT_TRUE(boxes.boxes().empty()); });
  clock.At(15001, [&] { EXPECT_EQ(boxes.boxes().size(), 1u); });
  clock.At(30000, [&] { EXPECT_LE(boxes.boxes().size(), 1u); });
  SerialPort port;  // COM1, without software flow control: every byte value passes
  ASSERT_TRUE(port.open());
  // The printer reads nothing: the line fills and then takes no more bytes.
  const std::string data = Pattern(100000);
  std::uint32_t written = 0, errors = 0;
  const Status answered = WriteAll(port, data, &written, &errors);
  ASSERT_FALSE(answered);
  EXPECT_EQ(answered.code(), FailureCode::kCancelled);  // the user's answer, not the line's fault
  EXPECT_EQ(errors, kErrorCounterTimeout);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>(2, "Printer is busy. Would you retry?"));
  EXPECT_EQ(boxes.boxes()[0].style & kMbButtonMask, unsigned(kMbRetryCancel));
  ASSERT_GT(written, 0u);
  EXPECT_TRUE(printer.Received() == data.substr(0, written));
  (void)port.close();

  ScriptedPort stalling;
  stalling.busy_writes = 100;  // each busy write lasts just over 6 s
  const std::uint64_t start = clock.NowMs();
  stalling.taking_until_ms = start + 18000;  // the last bytes go at about 12 s
  clock.At(start + 27000, [&] { EXPECT_EQ(boxes.boxes().size(), 2u); });
  ASSERT_TRUE(stalling.open());
  EXPECT_FALSE(WriteAll(stalling, data));
  EXPECT_EQ(boxes.boxes().size(), 3u);
  EXPECT_GT(clock.NowMs(), start + 27000);
}

TEST_F(PortTest, AWriteThatWaitsAsksEveryTenthOfASecondAndStopsWhenTold) {
  SerialPort port;
  ASSERT_TRUE(port.open());
  // The printer reads nothing: once the line is full the write waits, asking
  // whoever shows its progress, until the fifth question stops it.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> asked;  // when, bytes handed over
  port.write_waiting = [&](std::uint32_t handed) {
    asked.emplace_back(clock.NowMs(), handed);
    return asked.size() < 5;
  };
  const std::uint64_t start = clock.NowMs();
  const std::string data = Pattern(100000);
  std::uint32_t written = 0, errors = 0;
  EXPECT_FALSE(WriteAll(port, data, &written, &errors));
  EXPECT_EQ(errors, kErrorCancelled);
  ASSERT_EQ(asked.size(), 5u);
  for (std::size_t i = 1; i < asked.size(); ++i) {
    EXPECT_GE(asked[i].first - asked[i - 1].first, kWriteWaitReportMs);
    EXPECT_LE(asked[i].first - asked[i - 1].first, kWriteWaitReportMs + 10);
  }
  EXPECT_EQ(asked.back().second, written);
  EXPECT_LT(clock.NowMs() - start, 1000u) << "stopped only at the busy question";
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_TRUE(printer.Received() == data.substr(0, written));
  (void)port.close();
}

TEST_F(PortTest, ReadTimeoutGrowsForALateAnswerAndFallsBackWhenNoneComes) {
  auto port = std::make_unique<SerialPort>();
  ASSERT_TRUE(port->open());
  clock.At(500, [&] { printer.Send("\x10\x04"); });
  clock.At(2500, [&] { printer.Send(std::string("\x12\x00", 2)); });
  std::uint8_t reply[4] = {};
  std::uint32_t got = 0;
  ASSERT_TRUE(port->readExact(reply, 4, got));
  EXPECT_EQ(std::string(reply, reply + got), std::string("\x10\x04\x12\x00", 4));
  const std::uint32_t grown = read_constant_ms;
  EXPECT_GT(grown, 1u);
  (void)port->close();
  // The next port starts with the grown time-out; a reply that stays short
  // fails just after three seconds and puts the time-out back to 1 ms.
  port = std::make_unique<SerialPort>();
  ASSERT_TRUE(port->open());
  EXPECT_EQ(port->read_total_timeout_constant, grown);
  const std::uint64_t start = clock.NowMs();
  clock.At(start + 200, [&] { printer.Send("AB"); });
  EXPECT_FALSE(port->readExact(reply, 4, got));
  EXPECT_EQ(got, 2u);
  EXPECT_NEAR(double(clock.NowMs() - start), 3100, 100);
  EXPECT_EQ(port->read_total_timeout_constant + read_constant_ms, 2u);
}

// A UART behind the pseudo-terminal: what the port wrote waits in the
// driver's output queue and leaves it at `bytes_per_ms` (nothing while
// stalled), whether or not the printer holds DSR up, as on Linux.
class FakeUart final : public LineQueues {
 public:
  FakeUart(PtyPrinter& line, PortClock& clock) : line_(line), clock_(clock) { SetLineQueues(this); }
  ~FakeUart() override { SetLineQueues(nullptr); }
  std::optional<int> OutputQueued(int) override { return Update(), int(queued()); }
  std::optional<int> ModemLines(int) override { return Update(), dsr ? TIOCM_DSR | TIOCM_CTS : 0; }
  // The driver forgets what it had not sent yet.
  void DiscardOutput(int) override { Update(), wire_.resize(std::size_t(sent_)); }
  void Update() {
    wire_ += line_.ReceivedNow();
    const std::uint64_t now = clock_.NowMs();
    if (!stalled)
      sent_ = std::min(double(wire_.size()), sent_ + double(now - last_) * bytes_per_ms);
    last_ = now;
  }
  std::size_t queued() const { return wire_.size() - std::size_t(sent_); }
  const std::string& written() const { return wire_; }
  std::size_t sent() const { return std::size_t(sent_); }

  double bytes_per_ms = 1.92;  // 19200 baud
  bool stalled = false, dsr = true;

 private:
  PtyPrinter& line_;
  PortClock& clock_;
  std::string wire_;
  double sent_ = 0;
  std::uint64_t last_ = 0;
};

TEST_F(PortTest, CloseWaitsForASlowLineAndReportsOutputDroppedWhenTheLineStalls) {
  FakeUart uart(printer, clock);
  const std::string data = Pattern(4096);
  for (bool stall : {false, true}) {
    SerialPort port;
    port.flow_flags = kFlowXonXoff;  // nothing keeps the driver's queue short
    ASSERT_TRUE(port.open());
    uart.bytes_per_ms = 0.24;  // 2400 baud: 17 s for what one write hands over at once
    uart.stalled = false;
    const std::uint64_t start = clock.NowMs();
    if (stall) clock.At(start + 5000, [&] { uart.stalled = true; });
    ASSERT_TRUE(WriteAll(port, data));
    uart.Update();
    EXPECT_GT(uart.queued(), 4000u);
    (void)port.close();
    EXPECT_EQ(port.output_lost, stall);
    if (!stall) {
      // Long past the 2 s write time-out, while the line kept sending.
      EXPECT_GE(clock.NowMs() - start, 17000u);
      EXPECT_EQ(uart.queued(), 0u);
    } else {
      // Given up once nothing left for one chunk's write time-out, and what
      // was still queued is gone: none of it reaches the printer later.
      EXPECT_NEAR(double(clock.NowMs() - start), 5000 + 2000 + 4096, 50);
      EXPECT_EQ(uart.queued(), 0u);
      const std::size_t sent = uart.sent();
      uart.stalled = false;
      clock.SleepMs(5000);
      uart.Update();
      EXPECT_EQ(uart.sent(), sent);
      EXPECT_TRUE(uart.written() == data + data.substr(0, sent - data.size()));
    }
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(PortTest, UnderDtrDsrTheQueueStaysShortSoLittleGoesOutAfterThePrinterDropsDsr) {
  FakeUart uart(printer, clock);
  SerialPort port;  // DTR/DSR
  ASSERT_TRUE(port.open());
  std::size_t queued_at_drop = SIZE_MAX, written_at_drop = 0, written_while_held = SIZE_MAX;
  clock.At(1000, [&] {
    uart.dsr = false;
    uart.Update();
    queued_at_drop = uart.queued();
    written_at_drop = uart.written().size();
  });
  clock.At(4000, [&] {
    uart.Update();
    written_while_held = uart.written().size() - written_at_drop;
    uart.dsr = true;
  });
  const std::string data = Pattern(20000);
  ASSERT_TRUE(WriteAll(port, data));
  // All that reached the printer after it dropped DSR is what was queued then.
  EXPECT_LE(queued_at_drop, kDsrQueueLimit);
  EXPECT_EQ(written_while_held, 0u);
  EXPECT_GT(written_at_drop, 1000u);
  (void)port.close();
  EXPECT_FALSE(port.output_lost);
  EXPECT_TRUE(uart.written() == data);
  EXPECT_TRUE(boxes.boxes().empty());
}

// A network port connected to a printer's end on 127.0.0.1 that the test
// drives by hand; `receive_buffer` > 0 shrinks the printer's window.
struct LoopbackPeer {
  void Connect(int receive_buffer = 0) {
    listener = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ASSERT_TRUE(listener);
    if (receive_buffer > 0)
      ::setsockopt(listener.get(), SOL_SOCKET, SO_RCVBUF, &receive_buffer, sizeof receive_buffer);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(listener.get(), reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(listener.get(), 1), 0);
    ASSERT_EQ(::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&a), &len), 0);
    port = std::make_unique<NetworkPort>(NetworkAddress{"127.0.0.1", ntohs(a.sin_port)});
    ASSERT_TRUE(port->open());
    peer = UniqueFd(::accept(listener.get(), nullptr, nullptr));
    ASSERT_TRUE(peer);
  }
  UniqueFd listener, peer;
  std::unique_ptr<NetworkPort> port;
};

// A network printer that stops reading with bytes still unacknowledged: the
// close waits out the drain's stall time and reports the output lost.
TEST_F(PortTest, ANetworkPrinterThatStopsReadingLosesTheOutput) {
  // A tiny window: the printer's side fills at once and acknowledges no more.
  LoopbackPeer line;  // its end never reads
  ASSERT_NO_FATAL_FAILURE(line.Connect(1));
  NetworkPort& port = *line.port;
  ASSERT_TRUE(WriteAll(port, Pattern(12000)));
  const std::uint64_t start = clock.NowMs();
  const Status closed = port.close();
  ASSERT_FALSE(closed);
  EXPECT_EQ(closed.code(), FailureCode::kOutputLost);
  EXPECT_TRUE(port.output_lost);
  EXPECT_GE(clock.NowMs() - start, 6000u);
  EXPECT_TRUE(boxes.boxes().empty());
}

// Before a request the line is made quiet, but a printer that keeps sending
// cannot hold the host there: the discard gives up at its byte or time limit.
TEST_F(PortTest, DiscardingInputEndsAtItsByteLimit) {
  LoopbackPeer line;
  ASSERT_NO_FATAL_FAILURE(line.Connect());
  NetworkPort& port = *line.port;
  UniqueFd& peer = line.peer;
  auto send = [&](std::size_t n) {
    const std::string bytes = Pattern(n);
    for (std::size_t done = 0; done < n;) {
      const ssize_t w = ::send(peer.get(), bytes.data() + done, n - done, MSG_NOSIGNAL);
      ASSERT_GT(w, 0);
      done += std::size_t(w);
    }
  };
  // Stale bytes up to the limit are dropped and counted.
  for (std::size_t stale : {std::size_t(1000), std::size_t(kDiscardLimitBytes - 1)}) {
    std::thread sender([&] { send(stale); });
    std::uint32_t dropped = 0;
    for (std::uint64_t until = clock.NowMs() + 500; dropped < stale && clock.NowMs() < until;) {
      Result<std::uint32_t> r = port.discardInput();
      ASSERT_TRUE(r) << r.detail();
      dropped += *r;
    }
    sender.join();
    EXPECT_EQ(dropped, stale);
  }
  // More than the limit at once: refused as a printer that keeps sending.
  std::thread flood([&] { send(kDiscardLimitBytes + 4096); });
  Result<std::uint32_t> r = port.discardInput();
  for (int i = 0; i < 100 && r && *r == 0; ++i) r = port.discardInput();
  ASSERT_FALSE(r);
  EXPECT_EQ(r.code(), FailureCode::kBusy);
  EXPECT_NE(r.detail().find("the printer kept sending"), std::string::npos) << r.detail();
  flood.join();
  // What was left behind is dropped at the next try, once the line is quiet.
  r = port.discardInput();
  EXPECT_TRUE(r) << r.detail();
}

TEST_F(PortTest, DiscardingADrippingLineEndsAfterASecond) {
  LoopbackPeer line;
  ASSERT_NO_FATAL_FAILURE(line.Connect());
  NetworkPort& port = *line.port;
  UniqueFd& peer = line.peer;
  // A byte every 40 ms: never quiet for the 50 ms the discard waits for.
  const std::uint64_t start = clock.NowMs();
  for (std::uint64_t t = start; t < start + 3000; t += 40)
    clock.At(t, [&] { ASSERT_EQ(::send(peer.get(), "x", 1, MSG_NOSIGNAL), 1); });
  const Result<std::uint32_t> r = port.discardInput();
  ASSERT_FALSE(r);
  EXPECT_EQ(r.code(), FailureCode::kBusy);
  EXPECT_GE(clock.NowMs() - start, kDiscardLimitMs);
  EXPECT_LT(clock.NowMs() - start, kDiscardLimitMs + 100);
}

TEST(ChoosePrinterPortTest, PortAndLineFollowTheSelectedChoices) {
  ChoiceSession session({}, {"DT-200 driver", kDriverModel});
  session.profiles[0].driver_names.sel = 1;
  // Each name and the port it chooses; numbers the name "COM%d:" cannot hold
  // are refused, also those that would wrap round to a small one.
  for (std::string_view c :
       {"com3=COM3:", "COMX=COM0:", "COM 12=COM12:", "Com999=COM999:", "USB=LPT1:", "CO=LPT1:",
        "corlane printer driver=Corlane Printer Driver DT-300/310", "COM1000=none", "COM-1=none",
        "COM4294967299=none", "COM-4294967297=none"}) {
    const std::size_t eq = c.find('=');
    session.profiles[0].ports.values[0] = c.substr(0, eq);
    auto chosen = ChoosePrinterPort(session);
    EXPECT_EQ(chosen ? chosen->name : "none", c.substr(eq + 1)) << c;
  }
  // A refused line must not leave the port pointing at COM1.
  SerialPort port;
  EXPECT_EQ(port.setLine(1000, 8, kParityNone, kOneStopBit, kFlowXonXoff, 9600), 0);
  EXPECT_FALSE(port.open());

  // Nine data bits fall back to seven, names match in any case, a choice of
  // RTS/CTS runs the line with XON/XOFF and an unknown parity is none.
  for (auto [choice, line] : std::initializer_list<std::pair<LineChoice, std::array<int, 5>>>{
           {{.baud = 9600, .bits = 9, .parity = "even", .flow = "dtr/dsr"}, {9600, 7, 2, 0, 1}},
           {{.baud = 115200, .parity = "ODD", .flow = "RTS/CTS"}, {115200, 8, 1, 0, 4}},
           {{.parity = "Mark"}, {19200, 8, 0, 0, 1}}}) {
    auto port = ChoosePrinterPort(ChoiceSession(choice));
    auto* s = dynamic_cast<SerialPort*>(port.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ((std::array<int, 5>{int(s->baud_rate), s->byte_size, s->parity, s->stop_bits,
                                  s->flow_flags}),
              line);
  }
  // The line state those fields give.
  termios tio{};
  const tcflag_t kLine = CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS;
  ASSERT_TRUE(SetLineState(tio, 7, kParityEven, kOneStopBit, kFlowDtrDsr, 9600));
  EXPECT_EQ(tio.c_cflag & (kLine | CREAD | CLOCAL), tcflag_t(CS7 | PARENB | CREAD | CLOCAL));
  ASSERT_TRUE(SetLineState(tio, 8, kParityOdd, kTwoStopBits, kFlowRtsCts | kFlowXonXoff, 19200));
  EXPECT_EQ(tio.c_cflag & kLine, tcflag_t(CS8 | PARENB | PARODD | CSTOPB | CRTSCTS));
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
  EXPECT_FALSE(SetLineState(tio, 9, kParityNone, kOneStopBit, kFlowXonXoff, 19200));
}

TEST_F(PortTest, CommandFileComesFirstStartsAfreshAndHoldsTheCallersBytesOnly) {
  TempDir dir;
  ChoiceSession session({});
  session.save_as_command_file = 1;
  session.save_path = dir.Write("cmd.prn", "left over from an earlier run").string();
  for (std::string run : {"first", "second"}) {
    auto port = OpenPrinterPort(session);
    ASSERT_TRUE(port);
    EXPECT_TRUE(WriteAll(**port, run) && WriteAll(**port, "+tail"));
    EXPECT_TRUE((*port)->close());
    EXPECT_EQ(ReadFileText(session.save_path), run + "+tail");
  }
  EXPECT_EQ(clock.NowMs() + printer.Received().size(), 0u);  // no settling, nothing on COM1
  // A missing folder, and a path the system could open but longer than a path may be here.
  std::string long_path = dir.path().string();
  while (long_path.size() < 260) long_path += "/.";
  for (auto bad : {dir.path() / "missing/cmd.prn", std::filesystem::path(long_path + "/cmd.prn")}) {
    session.save_path = bad.string();
    auto refused = OpenPrinterPort(session);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.detail(), "");
  }
}

TEST(DriverPortTest, MissingOrBrokenLibraryShowsStatLinkBoxAndFails) {
  RecordingMessageBoxes boxes;
  TempDir empty;
  DriverPort port(kDriverModel, empty.path());
  EXPECT_FALSE(port.open());
  // Nothing reaches a library that is not there.
  std::uint8_t bytes[4] = {1, 2, 3, 4};
  std::uint32_t count = 4;
  EXPECT_FALSE(WriteAll(port, "data"));
  EXPECT_FALSE(port.readExact(bytes, 4, count));
  EXPECT_EQ(port.transact(bytes, 1, bytes, count, 1), 0);
  EXPECT_EQ(count, 0u);
  // A file of that name that is no library counts as missing too, and the
  // program's own route to the port shows the box once.
  TempDir broken;
  broken.Write(kStatusLibraryFile, "not a shared object");
  SetStatusLibraryFolder(broken.path());
  auto refused = OpenPrinterPort(ChoiceSession({.port = "Corlane Printer Driver"}, {kDriverModel}));
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.code(), FailureCode::kPortUnavailable);
  SetStatusLibraryFolder({});
  EXPECT_EQ(boxes.texts(), std::vector<std::string>(2, kStatLinkMissingText));
}

std::vector<std::uint32_t> g_call_sizes;
StlDirectIoFn g_real_direct_io = nullptr;

using DriverPortCupsTest = PrivateCupsdTest;

// The route of a printer on the spooler's driver: a private cupsd whose queue
// prints over TCP, with requests through the built status library.
TEST_F(DriverPortCupsTest, JobsGoThroughSpoolerOtherWritesThroughLibraryInChunks) {
  auto printer = std::make_unique<TcpTestPrinter>();
  ASSERT_TRUE(cupsd_.AddQueue("TM1", kDriverModel, printer->Uri()));
  SetStatusLibraryFolder(INKMARK_STATMON_DIR);
  auto opened = OpenPrinterPort(ChoiceSession({.port = "Corlane Printer Driver"}, {kDriverModel}));
  SetStatusLibraryFolder({});
  ASSERT_TRUE(opened);
  auto* port = dynamic_cast<DriverPort*>(opened->get());
  ASSERT_NE(port, nullptr);
  const std::string job = Pattern(10000);
  ASSERT_EQ(port->beginJob(), 1);
  EXPECT_TRUE(WriteAll(*port, job));
  port->endJob();
  EXPECT_TRUE(printer->WaitForConnectionBytes(job, milliseconds(5000)));

  // Records the size of every library call and passes it on.
  g_real_direct_io = port->direct_io;
  port->direct_io = [](std::int32_t handle, std::uint32_t length, const std::uint8_t* bytes,
                       std::uint32_t* read_length, std::uint8_t* read, std::uint32_t timeout_ms,
                       std::int32_t flag, std::int32_t version) {
    g_call_sizes.push_back(length);
    return g_real_direct_io(handle, length, bytes, read_length, read, timeout_ms, flag, version);
  };
  const std::string direct = Pattern(10001).substr(1);
  EXPECT_TRUE(WriteAll(*port, direct));
  EXPECT_EQ(g_call_sizes, (std::vector<std::uint32_t>{4096, 4096, 1808}));
  // The initialise command went the same way, before the job.
  EXPECT_TRUE(printer->WaitForConnectionBytes("\x1B@" + direct, milliseconds(2000)));

  // Once the printer hangs up, the library's failure fails the port's calls.
  printer.reset();
  std::this_thread::sleep_for(milliseconds(50));
  std::uint8_t reply[128];
  std::uint32_t length = sizeof reply;
  EXPECT_EQ(port->transact(reply, 7, reply, length, 1), 0);
  EXPECT_FALSE(WriteAll(*port, direct.substr(0, 100)));
  (void)port->close();
  // A printer the spooler does not have: no job starts.
  DriverPort missing("NoSuchQueue");
  EXPECT_EQ(missing.beginJob(), 0);
}

}  // namespace
}  // namespace inkmark::testing
