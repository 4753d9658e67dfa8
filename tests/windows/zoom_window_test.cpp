// The Preview's picture from a session, the room kept for its scroll bars, the
// bars' layout and scrolling. The window itself, and its painting, are checked
// offscreen in zoom_dialog_test.cpp.
#include "windows/zoom_window.h"

#include <gtest/gtest.h>

#include "support/compose_fixture.h"

namespace inkmark::testing {
namespace {

TEST(ZoomState, PictureShowsItsRasterAndADocumentItsPageWithThePrintedInksCounted) {
  ComposeSession cs(512);
  cs.UsePicture(SplitBitmap(512, 200, kBlack24, kRed24));
  auto state = MakeZoomState(cs.session());
  ASSERT_TRUE(state);
  EXPECT_EQ((std::array{state->image_width, state->image_height, state->page_x, state->page_y}),
            (std::array{512, 200, 128, 50}));
  EXPECT_NEAR(double(state->inks.first) / (512 * 200), 0.5, 0.02);
  EXPECT_NEAR(double(state->inks.second) / (512 * 200), 0.5, 0.02);
  cs.session().source_kind = kSourceNone;
  EXPECT_FALSE(MakeZoomState(cs.session()));

  ASSERT_TRUE(
      cs.UseDocument(48, 12, {ImageObject(0, 0, 48, 12, SplitBitmap(48, 12, kRed24, kBlack24))}));
  state = MakeZoomState(cs.session());
  ASSERT_TRUE(state && state->raster.size() > 28);
  EXPECT_EQ(state->raster[28], 24) << "the composed page is shown";
  // Every dot of the page is one ink or the other, and both show.
  EXPECT_EQ(state->inks.first + state->inks.second,
            std::uint64_t(state->image_width) * state->image_height);
  EXPECT_GT(std::min(state->inks.first, state->inks.second), 0u);
}

TEST(ZoomWindow, KeepsRoomForTheBarsLaysThemOutAndScrollsWithinRange) {
  // Caption buttons and menu bar of a common desktop theme.
  constexpr WindowMetrics kMetrics{36, 22, 19};
  const WindowSize wide = ZoomWindowSize(1000, 100, kMetrics);
  const WindowSize big = ZoomWindowSize(1000, 1000, kMetrics);
  EXPECT_EQ((std::array{wide.width, wide.height, big.width, big.height}),
            (std::array{336, 100 + 11 + 19 + 36, 336 + 22, 300 + 22 + 19 + 36}));

  ZoomState state;
  state.image_width = 1000;
  state.image_height = 100;
  state.page_x = 250;
  state.page_y = 25;
  state.scroll_x = 600;
  ZoomLayout layout = LayoutZoom(state, 336, 147);
  EXPECT_TRUE(layout.horizontal.shown && !layout.vertical.shown);
  EXPECT_EQ((std::array{layout.horizontal.max, layout.horizontal.page, state.scroll_x}),
            (std::array{664, 250, 600}));
  layout = LayoutZoom(state, 500, 147);
  EXPECT_EQ((std::array{state.scroll_x, layout.horizontal.position}), (std::array{500, 500}))
      << "no white past the raster's right edge";

  state.scroll_x = 0;
  const struct {
    int code, thumb;
    std::optional<int> moved;
    int position;
  } steps[] = {
      // clang-format off
      {kScrollLineDown, 0, -1, 1},         {kScrollPageDown, 0, -250, 251},
      {kScrollPageUp, 0, 250, 1},          {kScrollLineUp, 0, 1, 0},
      {kScrollLineUp, 0, 0, 0},            {kScrollThumbTrack, 900, -664, 664},
      {kScrollThumbPosition, 10, 654, 10}, {6, 0, std::nullopt, 10},  // 6, to the top: ignored
      // clang-format on
  };
  for (const auto& s : steps) {
    EXPECT_EQ(ScrollZoom(state, ScrollAxis::kHorizontal, s.code, s.thumb, 664), s.moved) << s.code;
    EXPECT_EQ(state.scroll_x, s.position) << s.code;
  }
  EXPECT_EQ(ScrollZoom(state, ScrollAxis::kVertical, kScrollPageDown, 0, 40), -25);
  EXPECT_EQ((std::array{state.scroll_x, state.scroll_y}), (std::array{10, 25}));
}

}  // namespace
}  // namespace inkmark::testing
