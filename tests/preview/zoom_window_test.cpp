// The Preview's picture and caption from a session, its first size, the
// layout of its scroll bars, scrolling and painting.
#include "preview/zoom_window.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "compose_fixture.h"
#include "preview/zoom_paint.h"

namespace inkmark::testing {
namespace {

// Caption buttons and menu bar of a common desktop theme.
constexpr WindowMetrics kMetrics{36, 22, 19};

TEST(ZoomState, PictureSourceShowsItsRasterWithSizeAndRates) {
  ComposeSession cs(512);
  cs.UsePicture(SplitBitmap(512, 200, kBlack24, kRed24));
  cs.session().fit_to_width = 1;
  PrinterProfile printer;
  printer.resolutions = {180, 0};
  printer.resolution_count = 1;
  cs.session().profiles = {printer};
  cs.session().profile_count = 1;
  auto state = MakeZoomState(cs.session());
  ASSERT_TRUE(state);
  EXPECT_EQ((std::array{state->image_width, state->image_height, state->page_x, state->page_y}),
            (std::array{512, 200, 128, 50}));
  EXPECT_EQ(ZoomCaption(*state).rfind("Size:72.25x28.22mm(512x200dot), Ink rate:1st=", 0), 0u)
      << ZoomCaption(*state);
  EXPECT_NEAR(double(state->inks.first) / (512 * 200), 0.5, 0.02);
  EXPECT_NEAR(double(state->inks.second) / (512 * 200), 0.5, 0.02);

  cs.session().source_kind = kSourceNone;
  EXPECT_FALSE(MakeZoomState(cs.session()));
}

TEST(ZoomState, DocumentShowsItsPageButCountsThePrintedInks) {
  ComposeSession cs(512);
  ASSERT_TRUE(
      cs.UseDocument(48, 12, {ImageObject(0, 0, 48, 12, SplitBitmap(48, 12, kRed24, kBlack24))}));
  auto state = MakeZoomState(cs.session());
  ASSERT_TRUE(state);
  ASSERT_GE(state->raster.size(), 30u);
  EXPECT_EQ(state->raster[28], 24) << "the composed page is shown";
  // Every dot of the page is one ink or the other, and both show.
  EXPECT_EQ(state->inks.first + state->inks.second,
            std::uint64_t(state->image_width) * state->image_height);
  EXPECT_GT(state->inks.first, 0u);
  EXPECT_GT(state->inks.second, 0u);
}

TEST(ZoomWindowSize, FitsSmallRastersWithoutBarsAndKeepsRoomForTheBarsOfLargeOnes) {
  const WindowSize small = ZoomWindowSize(200, 100, kMetrics);
  EXPECT_EQ((std::array{small.width, small.height}), (std::array{200 + 18, 100 + 11 + 19}));
  ZoomState state;
  state.image_width = 200;
  state.image_height = 100;
  const ZoomLayout layout = LayoutZoom(state, small.width, small.height - kMetrics.menu_height);
  EXPECT_FALSE(layout.horizontal.shown || layout.vertical.shown);

  const WindowSize wide = ZoomWindowSize(1000, 100, kMetrics);
  EXPECT_EQ((std::array{wide.width, wide.height}), (std::array{336, 100 + 11 + 19 + 36}));
  const WindowSize big = ZoomWindowSize(1000, 1000, kMetrics);
  EXPECT_EQ((std::array{big.width, big.height}), (std::array{336 + 22, 300 + 22 + 19 + 36}));
}

ZoomState Wide() {
  ZoomState state;
  state.image_width = 1000;
  state.image_height = 100;
  state.page_x = 250;
  state.page_y = 25;
  return state;
}

TEST(LayoutZoom, BarAppearsWhereTheRasterDoesNotFitAndPositionFollowsTheWindow) {
  ZoomState state = Wide();
  ZoomLayout layout = LayoutZoom(state, 336, 147);
  EXPECT_TRUE(layout.horizontal.shown);
  EXPECT_EQ((std::array{layout.horizontal.max, layout.horizontal.page}), (std::array{664, 250}));
  EXPECT_FALSE(layout.vertical.shown);

  state.scroll_x = 600;
  LayoutZoom(state, 336, 147);
  EXPECT_EQ(state.scroll_x, 600) << "the raster still covers the window";
  layout = LayoutZoom(state, 500, 147);
  EXPECT_EQ(state.scroll_x, 500) << "no white past the raster's right edge";
  EXPECT_EQ(layout.horizontal.position, 500);

  state.scroll_y = 7;
  layout = LayoutZoom(state, 1200, 400);
  EXPECT_FALSE(layout.horizontal.shown || layout.vertical.shown);
  EXPECT_EQ((std::array{state.scroll_x, state.scroll_y}), (std::array{0, 0}));
}

TEST(ScrollZoom, FollowsTheTableAndStaysInRange) {
  ZoomState state = Wide();
  const struct {
    int code, thumb;
    std::optional<int> moved;
    int position;
  } steps[] = {
      {kScrollLineDown, 0, -1, 1},
      {kScrollPageDown, 0, -250, 251},
      {kScrollPageUp, 0, 250, 1},
      {kScrollLineUp, 0, 1, 0},
      {kScrollLineUp, 0, 0, 0},
      {kScrollThumbTrack, 900, -664, 664},
      {kScrollThumbPosition, 10, 654, 10},
      {6, 0, std::nullopt, 10},  // to the top: ignored
  };
  for (const auto& s : steps) {
    EXPECT_EQ(ScrollZoom(state, ScrollAxis::kHorizontal, s.code, s.thumb, 664), s.moved) << s.code;
    EXPECT_EQ(state.scroll_x, s.position) << s.code;
  }
  EXPECT_EQ(ScrollZoom(state, ScrollAxis::kVertical, kScrollPageDown, 0, 40), -25);
  EXPECT_EQ((std::array{state.scroll_x, state.scroll_y}), (std::array{10, 25}));
}

TEST(PaintZoomArea, DrawsUnscaledFromTheScrollPositionWithWhiteAround) {
  QImage raster(40, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) raster.setPixel(x, y, qRgb(x, y, 1));
  }
  QImage area(60, 30, QImage::Format_RGB32);
  area.fill(Qt::black);
  {
    QPainter painter(&area);
    PaintZoomArea(painter, area.rect(), raster, 10, 5);
  }
  EXPECT_EQ(area.pixel(0, 0), qRgb(10, 5, 1));
  EXPECT_EQ(area.pixel(29, 14), qRgb(39, 19, 1));
  for (QPoint white : {QPoint(30, 0), QPoint(0, 15), QPoint(59, 29)}) {
    EXPECT_EQ(area.pixel(white), qRgb(255, 255, 255)) << white.x() << "," << white.y();
  }
}

}  // namespace
}  // namespace inkmark::testing
