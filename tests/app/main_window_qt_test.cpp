// The real window, offscreen, over the shipped printer files and the real pipeline.
#include "app/main_window_qt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QSlider>
#include <cstdlib>
#include <cstring>

#include "app/main_ids.h"
#include "image/document_writer.h"
#include "image/picture.h"
#include "qt_environment.h"
#include "settings/printer_files.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

// A 24-bit picture: a black band, a red band and a pale band.
BitmapFile MakePicture(int width, int height) {
  const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
  BitmapFile file(54 + stride * std::size_t(height), 0);
  WriteRgb24Header(file, width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &file[54 + std::size_t(y) * stride + std::size_t(x) * 3];
      static const std::uint8_t kBands[3][3] = {{0, 0, 0}, {30, 30, 230}, {200, 210, 220}};
      std::memcpy(p, kBands[x * 3 / width], 3);  // blue, green, red
    }
  }
  return file;
}

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
    bin_ = INKMARK_BIN_DIR;
    int count = CountPrinterFiles(bin_);
    ASSERT_GT(count, 0);
    session_.profile_count = LoadPrinterProfiles(count, session_.profiles, bin_);
    ASSERT_GT(session_.profile_count, 0);
  }
  std::filesystem::path bin_;
  TempDir dir_;
  RecordingMessageBoxes boxes_;
  LogoSession session_;
};

TEST_F(MainWindowQtTest, PreviewsShowPictureAndDocumentAndFollowSliders) {
  QtMainWindow window(session_, bin_);
  window.Open();
  QtDialogView& view = window.view();
  EXPECT_EQ(view.ItemCount(kIdPrinterName), session_.profile_count);
  EXPECT_EQ(view.Text(kIdPrinterName), session_.profiles[0].model_name);
  EXPECT_GT(session_.print_width_dots, 0);
  EXPECT_EQ(NonWhitePixels(view.widget(kIdRightPreview)), 0) << "nothing loaded at opening";

  std::string picture = (dir_.path() / "logo.bmp").string();
  BitmapFile bytes = MakePicture(300, 120);
  TempDir::WriteFile(picture,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  view.SetText(kIdSourceEdit, picture);
  EXPECT_EQ(session_.source_kind, kSourceBitmap);
  ASSERT_FALSE(session_.converted.empty());
  EXPECT_GT(NonWhitePixels(view.widget(kIdLeftPreview)), 100);
  EXPECT_GT(NonWhitePixels(view.widget(kIdRightPreview)), 100);
  EXPECT_TRUE(view.IsEnabled(kIdPrintToFile));

  // Each slider move converts again: R moves, then the darkest level goes to white.
  BitmapFile before = session_.converted;
  auto* red = qobject_cast<QSlider*>(view.widget(kIdAdjustR));
  ASSERT_NE(red, nullptr);
  red->setValue(5);
  EXPECT_EQ(session_.params.adjust_r, 5u);
  qobject_cast<QAbstractButton*>(view.widget(kIdManual))->click();
  EXPECT_EQ(session_.params.attach_manual, 1u);
  auto* darkest = qobject_cast<QSlider*>(view.widget(kLevelSliderIds[0]));
  ASSERT_TRUE(darkest != nullptr && darkest->isEnabled());
  darkest->setValue(2);
  EXPECT_EQ(session_.params.level_attach[0], kAttachWhite);
  EXPECT_NE(session_.converted, before);

  // A document of an image and a text.
  std::string document = (dir_.path() / "logo.qlf").string();
  ASSERT_TRUE(SaveLogoDocument(document, 400, 150,
                               {ImageObject(0, 0, 300, 120, bytes),
                                TextObject(10, 140, "Inkmark", "Liberation Sans", -24, 0x000000)}));
  view.SetText(kIdSourceEdit, document);
  EXPECT_EQ(session_.source_kind, kSourceDocument)
      << (boxes_.texts().empty() ? "" : boxes_.texts()[0]);
  EXPECT_EQ(view.ItemCount(kIdItemList), 2);
  EXPECT_EQ(view.ItemText(kIdItemList, 1), "Text 2");
  EXPECT_GT(NonWhitePixels(view.widget(kIdLeftPreview)), 100);
  EXPECT_GT(NonWhitePixels(view.widget(kIdRightPreview)), 100);
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(MainWindowQtTest, EscapeKeepsWindowAndCloseBoxEndsItUnsaved) {
  QtMainWindow window(session_, bin_);
  window.Open();
  TemplateDialog& dialog = window.view().dialog();
  dialog.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);
  EXPECT_TRUE(dialog.isVisible());
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace inkmark::testing
