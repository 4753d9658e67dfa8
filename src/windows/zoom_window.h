// The Preview window's rules without a display: the picture and caption it
// shows, its first size, the layout of its scroll bars, and scrolling.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "document/ink_rates.h"
#include "platform/failure.h"
#include "session/session.h"

namespace inkmark {

inline constexpr char kZoomTitle[] = "Preview";
inline constexpr int kZoomDrawingArea = 1043;

// What the window shows: the picture one screen pixel per printer dot, and
// what its caption states.
struct ZoomState {
  std::int32_t view_width = 0;
  std::int32_t view_height = 0;
  std::int32_t scroll_x = 0;
  std::int32_t scroll_y = 0;
  BitmapFile raster;        // a whole bitmap file image, 1, 8 or 24 bits per pixel
  std::int32_t page_x = 0;  // a quarter of the raster, rounded toward zero
  std::int32_t page_y = 0;
  std::int32_t image_width = 0;
  std::int32_t image_height = 0;
  std::int32_t dpi = 0;
  std::array<std::int32_t, 2> ink_colors{};
  InkCounts inks;
};

// The print raster as the Preview shows it: a picture source's raster, or a
// logo document's composed page with its inks counted on the raster that the
// page classifies into, so that the rates are those that will print. nullopt
// when no picture can be built.
Result<ZoomState> MakeZoomState(LogoSession& session);

// "Size:...mm(...dot), Ink rate:1st=...% 2nd=...%".
std::string ZoomCaption(const ZoomState& state);

// The platform's caption-button width and height and menu-bar height, in pixels.
struct WindowMetrics {
  int caption_button_width = 0;
  int caption_button_height = 0;
  int menu_height = 0;
};

struct WindowSize {
  int width = 0;
  int height = 0;
};

// The window's first size: 300 pixels square plus its frame, shrunk to the
// raster where the raster is smaller, with room for the scroll bars it needs.
WindowSize ZoomWindowSize(std::int32_t image_width, std::int32_t image_height,
                          const WindowMetrics& metrics);

struct ScrollBarState {
  bool shown = false;
  int position = 0;
  int max = 0;  // the range is 0..max
  int page = 0;
};

struct ZoomLayout {
  ScrollBarState horizontal;
  ScrollBarState vertical;
};

// Lays out the bars for a client area of the given size, keeping the scroll
// position such that no white shows past the raster's far edge; a raster that
// fits on an axis scrolls back to 0 there.
ZoomLayout LayoutZoom(ZoomState& state, int client_width, int client_height);

// The platform's scroll requests; others are ignored.
enum ScrollCode : int {
  kScrollLineUp = 0,
  kScrollLineDown = 1,
  kScrollPageUp = 2,
  kScrollPageDown = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
};

enum class ScrollAxis { kHorizontal, kVertical };

// Applies one scroll request to the bar of `axis` (its range 0..bar_max) and
// stores the new position; returns how far the contents move (old − new), or
// nullopt for a request that is ignored.
std::optional<int> ScrollZoom(ZoomState& state, ScrollAxis axis, int code, int thumb_position,
                              int bar_max);

}  // namespace inkmark
