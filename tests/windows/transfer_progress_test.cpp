// The progress dialog of a long transfer, against a virtual printer that
// reads at a real line's pace: it appears, counts, and its Cancel ends the
// test print as cancelled, with the advice to switch the printer off and on.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "platform/string_table.h"
#include "protocol/nv_dispatch.h"
#include "qt_environment.h"
#include "support/protocol_fixtures.h"
#include "windows/transfer_progress_qt.h"

namespace inkmark::testing {
namespace {

TEST(TransferProgressQt, CancelStopsASlowTestPrintAndReportsItCancelledAndBrokenOff) {
  DeviceMapHome home;
  RecordingMessageBoxes boxes;
  vprinter::PrinterOptions options;
  options.bytes_per_second = 4000;  // a 28 800-byte test print would take seven seconds
  vprinter::VirtualPrinter printer(options);
  std::string error;
  auto server =
      vprinter::PtyServer::Start(printer, home.folder() / "Quorvel" / "devices" / "com1", &error);
  ASSERT_TRUE(server) << error;

  LogoSession session;
  UseProfile(session, ProfileFor("QP-80"));
  EXPECT_EQ(SerialBytesPerSecond(session), 1920u);  // 19200 baud, ten bits a byte
  QtTransferProgress progress(nullptr, [] { return 0u; });
  ScopedTransferProgress scope(progress);
  QString label;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QProgressDialog* dialog = progress.dialog();
    if (dialog == nullptr || !dialog->isVisible() || !label.isEmpty()) return;
    label = dialog->labelText();
    dialog->findChild<QPushButton*>()->click();
  });
  poll.start(20);
  EXPECT_EQ(TestPrint(nullptr, session, MakeRaster(576, 200, kColorRed)), 0);
  EXPECT_TRUE(label.startsWith("Sent ")) << label.toStdString();
  EXPECT_TRUE(label.contains(" of 28")) << label.toStdString();
  EXPECT_EQ(progress.dialog(), nullptr);
  EXPECT_EQ(boxes.texts(),
            (Texts{LoadString(kStrTestPrintCancelled), LoadString(kStrTransferBrokenOff)}));
}

}  // namespace
}  // namespace inkmark::testing
