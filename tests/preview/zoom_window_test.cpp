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

// A printer of `dpi` for the session.
void UsePrinterAt(LogoSession& session, std::int32_t dpi) {
  PrinterProfile p;
  p.resolutions = {dpi, 0};
  p.resolution_count = 1;
  p.resolution_sel = 0;
  session.profiles = {p};
  session.profile_count = 1;
  session.profile_index = 0;
}

TEST(ZoomState, PictureSourceShowsItsRasterWithSizeAndRates) {
  ComposeSession cs(512);
  cs.UsePicture(SplitBitmap(512, 200, kBlack24, kRed24));
  cs.session().fit_to_width = 1;
  UsePrinterAt(cs.session(), 180);
  auto state = MakeZoomState(cs.session());
  ASSERT_TRUE(state);
  EXPECT_EQ(state->image_width, 512);
  EXPECT_EQ(state->image_height, 200);
  EXPECT_EQ(state->page_x, 128);
  EXPECT_EQ(state->page_y, 50);
  EXPECT_EQ(ZoomCaption(*state).rfind("Size:72.25x28.22mm(512x200dot), Ink rate:1st=", 0), 0u)
      << ZoomCaption(*state);
  // Half the picture is black, half red.
  EXPECT_NEAR(double(state->inks.first) / (512 * 200), 0.5, 0.02);
  EXPECT_NEAR(double(state->inks.second) / (512 * 200), 0.5, 0.02);
}

TEST(ZoomState, DocumentShowsItsPageButCountsThePrintedInks) {
  ComposeSession cs(512);
  ASSERT_TRUE(
      cs.UseDocument(48, 12, {ImageObject(0, 0, 48, 12, SplitBitmap(48, 12, kRed24, kBlack24))}));
  auto state = MakeZoomState(cs.session());
  ASSERT_TRUE(state);
  ASSERT_GE(state->raster.size(), 30u);
  EXPECT_EQ(state->raster[28], 24) << "the composed page is shown";
  const std::uint64_t total = std::uint64_t(state->image_width) * state->image_height;
  // Every dot of the page is one ink or the other, and both show.
  EXPECT_EQ(state->inks.first + state->inks.second, total);
  EXPECT_GT(state->inks.first, 0u);
  EXPECT_GT(state->inks.second, 0u);
}

TEST(ZoomState, NoSourceGivesNoPicture) {
  ComposeSession cs(512);
  cs.session().source_kind = kSourceNone;
  EXPECT_FALSE(MakeZoomState(cs.session()));
}

TEST(ZoomWindowSize, SmallRasterGetsAWindowJustLargerWithoutBars) {
  WindowSize size = ZoomWindowSize(200, 100, kMetrics);
  EXPECT_EQ(size.width, 200 + 18);
  EXPECT_EQ(size.height, 100 + 11 + 19);
  ZoomState state;
  state.image_width = 200;
  state.image_height = 100;
  ZoomLayout layout = LayoutZoom(state, size.width, size.height - kMetrics.menu_height);
  EXPECT_FALSE(layout.horizontal.shown);
  EXPECT_FALSE(layout.vertical.shown);
}

TEST(ZoomWindowSize, LargeRasterKeepsRoomForBothBars) {
  WindowSize wide = ZoomWindowSize(1000, 100, kMetrics);
  EXPECT_EQ(wide.width, 336);
  EXPECT_EQ(wide.height, 100 + 11 + 19 + 36);
  WindowSize big = ZoomWindowSize(1000, 1000, kMetrics);
  EXPECT_EQ(big.width, 336 + 22);
  EXPECT_EQ(big.height, 300 + 22 + 19 + 36);
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
  EXPECT_EQ(layout.horizontal.max, 664);
  EXPECT_EQ(layout.horizontal.page, 250);
  EXPECT_FALSE(layout.vertical.shown);

  state.scroll_x = 600;
  layout = LayoutZoom(state, 336, 147);
  EXPECT_EQ(state.scroll_x, 600) << "the raster still covers the window";
  layout = LayoutZoom(state, 500, 147);
  EXPECT_EQ(state.scroll_x, 500) << "no white past the raster's right edge";
  EXPECT_EQ(layout.horizontal.position, 500);

  state.scroll_y = 7;
  layout = LayoutZoom(state, 1200, 400);
  EXPECT_FALSE(layout.horizontal.shown);
  EXPECT_FALSE(layout.vertical.shown);
  EXPECT_EQ(state.scroll_x, 0);
  EXPECT_EQ(state.scroll_y, 0);
}

TEST(ScrollZoom, FollowsTheTableAndStaysInRange) {
  ZoomState state = Wide();
  const int max = 664;
  auto across = [&](int code, int thumb = 0) {
    return ScrollZoom(state, ScrollAxis::kHorizontal, code, thumb, max);
  };
  EXPECT_EQ(across(kScrollLineDown), -1);
  EXPECT_EQ(state.scroll_x, 1);
  EXPECT_EQ(across(kScrollPageDown), -250);
  EXPECT_EQ(state.scroll_x, 251);
  EXPECT_EQ(across(kScrollPageUp), 250);
  EXPECT_EQ(across(kScrollLineUp), 1);
  EXPECT_EQ(across(kScrollLineUp), 0) << "held at 0";
  EXPECT_EQ(state.scroll_x, 0);
  across(kScrollThumbTrack, 900);
  EXPECT_EQ(state.scroll_x, max);
  across(kScrollThumbPosition, 10);
  EXPECT_EQ(state.scroll_x, 10);
  EXPECT_FALSE(across(6)) << "to the top is not a request the window takes";
  EXPECT_EQ(state.scroll_x, 10);
  EXPECT_EQ(ScrollZoom(state, ScrollAxis::kVertical, kScrollPageDown, 0, 40), -25);
  EXPECT_EQ(state.scroll_y, 25);
  EXPECT_EQ(state.scroll_x, 10);
}

TEST(PaintZoomArea, DrawsUnscaledFromTheScrollPositionWithWhiteAround) {
  QImage raster(40, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) raster.setPixel(x, y, qRgb(x, y, 1));
  QImage area(60, 30, QImage::Format_RGB32);
  area.fill(Qt::black);
  {
    QPainter painter(&area);
    PaintZoomArea(painter, area.rect(), raster, 10, 5);
  }
  EXPECT_EQ(area.pixel(0, 0), qRgb(10, 5, 1));
  EXPECT_EQ(area.pixel(29, 14), qRgb(39, 19, 1));
  EXPECT_EQ(area.pixel(30, 0), qRgb(255, 255, 255));
  EXPECT_EQ(area.pixel(0, 15), qRgb(255, 255, 255));
  EXPECT_EQ(area.pixel(59, 29), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace inkmark::testing
