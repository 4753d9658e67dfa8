// The real window, offscreen, over the shipped printer files and the real pipeline.
#include "app/main_window_qt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QSlider>

#include "app/main_ids.h"
#include "image/document_writer.h"
#include "image/picture.h"
#include "qt_environment.h"
#include "settings/printer_files.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

int NonWhitePixels(QWidget* preview) {
  QImage shot = preview->grab().toImage();
  int count = 0;
  for (int y = 2; y < shot.height() - 2; ++y)
    for (int x = 2; x < shot.width() - 2; ++x) count += shot.pixelColor(x, y) != Qt::white;
  return count;
}

class MainWindowQtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.profile_count = LoadPrinterProfiles(CountPrinterFiles(bin_), session_.profiles, bin_);
    ASSERT_GT(session_.profile_count, 0);
  }
  std::filesystem::path bin_ = INKMARK_BIN_DIR;
  TempDir dir_;
  RecordingMessageBoxes boxes_;
  LogoSession session_;
};

TEST_F(MainWindowQtTest, PreviewsShowPictureAndDocumentAndFollowSliders) {
  QtMainWindow window(session_, bin_);
  window.Open();
  QtDialogView& view = window.view();
  EXPECT_EQ(view.ItemCount(kIdPrinterName), session_.profile_count);
  EXPECT_EQ(NonWhitePixels(view.widget(kIdRightPreview)), 0) << "nothing loaded at opening";

  // A picture of a black, a red and a pale band.
  const int width = 300, height = 120, stride = width * 3;
  BitmapFile bytes(54 + stride * height, 0);
  WriteRgb24Header(bytes, width, height);
  const std::uint8_t kBands[3][3] = {{0, 0, 0}, {30, 30, 230}, {200, 210, 220}};
  for (int at = 0; at < stride * height; at += 3)
    std::copy_n(kBands[at % stride / 300], 3, &bytes[54 + at]);
  const std::string picture =
      dir_.Write("logo.bmp", std::string(bytes.begin(), bytes.end())).string();
  view.SetText(kIdSourceEdit, picture);
  EXPECT_EQ(session_.source_kind, kSourceBitmap);
  EXPECT_GT(NonWhitePixels(view.widget(kIdLeftPreview)), 100);
  EXPECT_GT(NonWhitePixels(view.widget(kIdRightPreview)), 100);

  // Each slider move converts again: R moves, then the darkest level goes to white.
  const BitmapFile before = session_.converted;
  qobject_cast<QSlider*>(view.widget(kIdAdjustR))->setValue(5);
  EXPECT_EQ(session_.params.adjust_r, 5u);
  qobject_cast<QAbstractButton*>(view.widget(kIdManual))->click();
  auto* darkest = qobject_cast<QSlider*>(view.widget(kLevelSliderIds[0]));
  ASSERT_TRUE(darkest->isEnabled());
  darkest->setValue(2);
  EXPECT_EQ(session_.params.level_attach[0], kAttachWhite);
  EXPECT_NE(session_.converted, before);

  const std::string document = (dir_.path() / "logo.qlf").string();
  ASSERT_TRUE(SaveLogoDocument(document, 400, 150,
                               {ImageObject(0, 0, 300, 120, bytes),
                                TextObject(10, 140, "Inkmark", "Liberation Sans", -24, 0x000000)}));
  view.SetText(kIdSourceEdit, document);
  EXPECT_EQ(session_.source_kind, kSourceDocument);
  EXPECT_EQ(view.ItemText(kIdItemList, 1), "Text 2");
  EXPECT_GT(NonWhitePixels(view.widget(kIdLeftPreview)), 100);
  EXPECT_GT(NonWhitePixels(view.widget(kIdRightPreview)), 100);
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{});
}

TEST_F(MainWindowQtTest, EscapeKeepsTheWindowOpen) {
  QtMainWindow window(session_, bin_);
  window.Open();
  TemplateDialog& dialog = window.view().dialog();
  dialog.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);
  EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace inkmark::testing
