// The progress dialog of a long transfer, against a virtual printer that
// reads at a real line's pace: it appears at once for a long transfer, keeps
// answering while the line is slow, its time left follows the line's speed,
// and its Cancel stops a test print or a registration within a piece's time,
// reporting the transfer cancelled and broken off.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "platform/string_table.h"
#include "ports/open_port.h"
#include "protocol/nv_dispatch.h"
#include "qt_environment.h"
#include "support/protocol_fixtures.h"
#include "windows/transfer_progress_qt.h"

namespace inkmark::testing {
namespace {

// Far above what the dialog needs (a quarter of a second), far below what
// it took before pieces followed the line (5 to 17 s), so that a loaded
// machine does not fail it.
constexpr qint64 kPromptMs = 2500;
// The longest the window may go without handling events while the dialog is
// up: four times the quarter second it is built for, a ninth of the old gaps.
constexpr qint64 kLongestGapMs = 1000;

class TransferProgressQtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.bytes_per_second = 240;  // a 2400-baud line
    printer.emplace(options);
    std::string error;
    server = vprinter::PtyServer::Start(*printer, home.folder() / "Quorvel" / "devices" / "com1",
                                        &error);
    ASSERT_TRUE(server) << error;
    PrinterProfile profile = ProfileFor("QP-80");
    profile.baud_rates.values = {2400, 0};
    UseProfile(session, profile);
  }

  // Runs `transfer` with the dialog watched: once it has been on screen for
  // `cancel_after_ms`, Cancel is clicked. Fills the times measured.
  void RunAndCancel(const std::function<std::int32_t()>& transfer, qint64 cancel_after_ms = 1500) {
    QtTransferProgress progress(nullptr, [this] { return SerialBytesPerSecond(session); });
    ScopedTransferProgress scope(progress);
    QElapsedTimer clock;
    qint64 last_tick = -1;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const qint64 now = clock.elapsed();
      QProgressDialog* dialog = progress.dialog();
      if (dialog == nullptr || !dialog->isVisible()) return;
      if (shown_at < 0) shown_at = now;
      if (last_tick >= 0 && cancelled_at < 0) longest_gap = std::max(longest_gap, now - last_tick);
      last_tick = now;
      if (cancelled_at < 0 && now - shown_at >= cancel_after_ms) {
        label = dialog->labelText();
        cancelled_at = now;
        dialog->findChild<QPushButton*>()->click();
      }
    });
    tick.start(20);
    clock.start();
    result = transfer();
    returned_at = clock.elapsed();
    dialog_left = progress.dialog() != nullptr;
  }

  DeviceMapHome home;
  RecordingMessageBoxes boxes;
  vprinter::PrinterOptions options;
  std::optional<vprinter::VirtualPrinter> printer;
  std::unique_ptr<vprinter::PtyServer> server;
  LogoSession session;
  // What RunAndCancel saw, in milliseconds from the transfer's start.
  qint64 shown_at = -1, cancelled_at = -1, returned_at = -1, longest_gap = 0;
  QString label;
  std::int32_t result = -1;
  bool dialog_left = true;
};

TEST_F(TransferProgressQtTest, ALongTestPrintShowsAtOnceKeepsAnsweringAndStopsOnCancel) {
  // 576 x 200 dots in two inks: 28 800 bytes of data, two minutes at 2400 baud.
  RunAndCancel([&] { return TestPrint(nullptr, session, MakeRaster(576, 200, kColorRed)); });
  EXPECT_EQ(result, 0);
  ASSERT_GE(shown_at, 0) << "the dialog never appeared";
  EXPECT_LT(shown_at, kPromptMs);
  // Events were handled all along, not only between long pieces.
  EXPECT_LT(longest_gap, kLongestGapMs);
  ASSERT_GE(cancelled_at, 0);
  EXPECT_LT(returned_at - cancelled_at, kPromptMs);
  EXPECT_FALSE(dialog_left);
  // The time left is what the bytes not sent take at 240 bytes a second.
  const auto m =
      QRegularExpression("^Sent (\\d+) of (\\d+) bytes, about (\\d+) s left$").match(label);
  ASSERT_TRUE(m.hasMatch()) << label.toStdString();
  const int sent = m.captured(1).toInt(), total = m.captured(2).toInt();
  EXPECT_GT(sent, 0);
  EXPECT_GT(total, 28800);  // the data and the commands around it
  EXPECT_EQ(m.captured(3).toInt(), (total - sent + 239) / 240) << label.toStdString();
  EXPECT_EQ(boxes.texts(),
            (Texts{LoadString(kStrTestPrintCancelled), LoadString(kStrTransferBrokenOff)}));
}

TEST_F(TransferProgressQtTest, CancelStopsARegistrationAndReportsItCancelledAndBrokenOff) {
  const auto raster = MakeRaster(576, 200, kColorRed);
  RunAndCancel([&] {
    auto port = OpenPrinterPort(session);
    if (!port) return -2;
    const std::int32_t registered =
        RegisterNvGraphics(**port, nullptr, session, MakeNvKey('A', 'B'), raster);
    return CloseAfterRegistration(std::move(*port), nullptr, registered);
  });
  EXPECT_EQ(result, 0);
  ASSERT_GE(cancelled_at, 0) << "the dialog never appeared";
  EXPECT_LT(shown_at, kPromptMs);
  EXPECT_LT(returned_at - cancelled_at, kPromptMs);
  EXPECT_TRUE(printer->Keys().empty());
  EXPECT_EQ(boxes.texts(),
            (Texts{LoadString(kStrRegisterCancelled), LoadString(kStrTransferBrokenOff)}));
}

TEST_F(TransferProgressQtTest, ATransferTheLineTakesLessThanASecondForShowsNoDialog) {
  // 64 x 24 dots in one ink: about 230 bytes, under a second at 2400 baud.
  QtTransferProgress progress(nullptr, [this] { return SerialBytesPerSecond(session); });
  ScopedTransferProgress scope(progress);
  bool shown = false;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] { shown = shown || progress.dialog() != nullptr; });
  tick.start(10);
  UseProfile(session, [] {
    PrinterProfile p = ProfileFor("QP-80", "None");
    p.baud_rates.values = {2400, 0};
    return p;
  }());
  EXPECT_EQ(TestPrint(nullptr, session, MakeRaster(64, 24, kNoInk)), 1);
  EXPECT_FALSE(shown);
  EXPECT_TRUE(boxes.texts().empty());
}

}  // namespace
}  // namespace inkmark::testing
