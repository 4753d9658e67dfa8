// The Preview window offscreen: its first size, its bars, scrolling by the
// bars, painting from the scroll position and the white around a raster
// smaller than the window.
#include "windows/zoom_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScrollBar>

#include "qt_environment.h"
#include "support/bitmap_fixture.h"

namespace inkmark::testing {
namespace {

// A state over a raster of the given size: black, but white from column 260 on.
ZoomState State(int width, int height) {
  std::vector<std::vector<std::uint32_t>> rows(height, std::vector<std::uint32_t>(width, 0));
  for (auto& row : rows) std::fill(row.begin() + std::min(width, 260), row.end(), 0xFFFFFF);
  auto f = Fixture(width, height, 24);
  f.pixels = PackRows(rows, 24);
  ZoomState state;
  state.raster = BuildBitmap(f);
  state.image_width = state.view_width = width;
  state.image_height = state.view_height = height;
  state.page_x = width / 4;
  state.page_y = height / 4;
  state.dpi = 180;
  return state;
}

TEST(ZoomDialog, OpensToFitScrollsByQuarterPagesAndPaintsFromTheScrollPositionWithWhiteAround) {
  ZoomDialog small(State(120, 80), nullptr);
  EXPECT_FALSE(small.horizontal_bar().isVisibleTo(&small) ||
               small.vertical_bar().isVisibleTo(&small));
  EXPECT_TRUE(small.windowTitle().startsWith("Size:16.93x11.29mm(120x80dot)"))
      << small.windowTitle().toStdString();
  // The figures stand whole under the picture as well, and can be copied.
  QLabel& line = small.info_line();
  EXPECT_EQ(line.text(), small.windowTitle());
  EXPECT_TRUE(line.isVisibleTo(&small));
  EXPECT_TRUE(line.textInteractionFlags() & Qt::TextSelectableByMouse);
  EXPECT_GE(small.width(), line.sizeHint().width()) << "the line is cut";
  EXPECT_GE(line.width(), line.sizeHint().width());
  EXPECT_GE(line.y(), small.drawing_area().geometry().bottom()) << "the line covers the picture";
  EXPECT_LE(line.geometry().bottom(), small.height() - 1);
  EXPECT_GE(small.drawing_area().height(), 80) << "the line takes the picture's room";

  ZoomDialog dialog(State(1000, 100), nullptr);
  dialog.show();
  QScrollBar& bar = dialog.horizontal_bar();
  ASSERT_TRUE(bar.isVisibleTo(&dialog) && !dialog.vertical_bar().isVisibleTo(&dialog));
  EXPECT_EQ((std::array{bar.pageStep(), bar.maximum()}),
            (std::array{250, 1000 - dialog.drawing_area().width()}));
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(dialog.state().scroll_x, 250);
  QImage shot = dialog.drawing_area().grab().toImage();
  EXPECT_EQ(shot.pixelColor(9, 10), QColor(Qt::black)) << "raster column 259";
  EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::white)) << "raster column 260";
  bar.triggerAction(QAbstractSlider::SliderToMaximum);  // not a request the window takes
  EXPECT_EQ((std::array{dialog.state().scroll_x, bar.value()}), (std::array{250, 250}));

  dialog.resize(1200, 400);
  QApplication::processEvents();
  EXPECT_FALSE(bar.isVisibleTo(&dialog));
  EXPECT_EQ(dialog.state().scroll_x, 0);
  shot = dialog.drawing_area().grab().toImage();
  EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::black));
  EXPECT_EQ(shot.pixelColor(10, 200), QColor(Qt::white)) << "below the raster";
}

}  // namespace
}  // namespace inkmark::testing
