// The Preview window offscreen: its first size, its bars, scrolling by the
// bars and the white around a raster smaller than the window.
#include "preview/zoom_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QScrollBar>

namespace inkmark::testing {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "zoom_dialog_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// A state over a black raster of the given size.
ZoomState BlackState(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  ZoomState state;
  state.raster.assign(bytes.begin(), bytes.end());
  state.image_width = state.view_width = width;
  state.image_height = state.view_height = height;
  state.page_x = width / 4;
  state.page_y = height / 4;
  state.dpi = 180;
  return state;
}

TEST(ZoomDialog, SmallRasterOpensWithoutBarsAndCaptionStatesSize) {
  ZoomDialog dialog(BlackState(120, 80), nullptr);
  EXPECT_GT(dialog.width(), 120);
  EXPECT_LT(dialog.width(), 200);
  EXPECT_FALSE(dialog.horizontal_bar().isVisibleTo(&dialog));
  EXPECT_FALSE(dialog.vertical_bar().isVisibleTo(&dialog));
  EXPECT_TRUE(dialog.windowTitle().startsWith("Size:16.93x11.29mm(120x80dot)"))
      << dialog.windowTitle().toStdString();
}

TEST(ZoomDialog, WideRasterScrollsAcrossByQuarterPagesAndEnlargingPaintsWhite) {
  ZoomDialog dialog(BlackState(1000, 100), nullptr);
  QScrollBar& bar = dialog.horizontal_bar();
  ASSERT_TRUE(bar.isVisibleTo(&dialog));
  EXPECT_FALSE(dialog.vertical_bar().isVisibleTo(&dialog));
  EXPECT_EQ(bar.pageStep(), 250);
  EXPECT_EQ(bar.maximum(), 1000 - dialog.drawing_area().width());

  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(dialog.state().scroll_x, 250);
  bar.triggerAction(QAbstractSlider::SliderToMaximum);  // not a request the window takes
  EXPECT_EQ(dialog.state().scroll_x, 250);
  EXPECT_EQ(bar.value(), 250);

  dialog.show();
  dialog.resize(1200, 400);
  QApplication::processEvents();
  EXPECT_FALSE(bar.isVisibleTo(&dialog));
  EXPECT_EQ(dialog.state().scroll_x, 0);
  QImage shot = dialog.drawing_area().grab().toImage();
  EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::black));
  EXPECT_EQ(shot.pixelColor(1100, 10), QColor(Qt::white));
  EXPECT_EQ(shot.pixelColor(10, 200), QColor(Qt::white));
}

}  // namespace
}  // namespace inkmark::testing
