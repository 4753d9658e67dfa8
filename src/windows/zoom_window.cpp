#include "windows/zoom_window.h"

#include <algorithm>

#include "document/compose.h"
#include "document/logo_raster.h"

namespace inkmark {
namespace {

constexpr int kStartSize = 300;

std::int32_t CurrentDpi(const LogoSession& session) {
  const PrinterProfile* p = session.CurrentProfile();
  if (p == nullptr || p->resolutions.sel < 0 ||
      std::size_t(p->resolutions.sel) >= p->resolutions.values.size()) {
    return 0;
  }
  return p->resolutions.values[std::size_t(p->resolutions.sel)];
}

ScrollBarState LayoutAxis(std::int32_t image, int client, std::int32_t& scroll, int page) {
  ScrollBarState bar;
  bar.page = page;
  if (client >= image) {
    scroll = 0;
    return bar;
  }
  if (client > image - scroll) scroll = image - client;
  bar.shown = true;
  bar.position = scroll;
  bar.max = image - client;
  return bar;
}

}  // namespace

Result<ZoomState> MakeZoomState(LogoSession& session) {
  auto picture = BuildPreviewImage(session);
  if (!picture) return picture.failure();
  std::optional<LogoRaster> raster;
  if (session.source_kind == kSourceDocument) {
    raster = RasterFromComposite(*picture, session);
  } else {
    raster = LogoRaster::FromFile(*picture);
  }
  if (!raster) return Failure{FailureCode::kNoMemory, "the preview cannot be classified"};

  // The classified raster has the page's size.
  ZoomState state;
  state.image_width = state.view_width = raster->width();
  state.image_height = state.view_height = raster->height();
  state.page_x = state.image_width / 4;
  state.page_y = state.image_height / 4;
  state.dpi = CurrentDpi(session);
  state.ink_colors = {session.first_color, session.second_color};
  state.inks = CountInkPixels(*raster, session.first_color, session.second_color);
  state.raster = std::move(*picture);
  return state;
}

std::string ZoomCaption(const ZoomState& state) {
  return PreviewCaption(state.image_width, state.image_height, state.dpi, state.inks);
}

WindowSize ZoomWindowSize(std::int32_t image_width, std::int32_t image_height,
                          const WindowMetrics& m) {
  WindowSize size{kStartSize + m.caption_button_width,
                  kStartSize + m.caption_button_height + m.menu_height};
  bool fits_across = false;
  if (image_width < size.width) {
    size.width = image_width + m.caption_button_width / 2;
    fits_across = true;
  }
  if (image_height < size.height) {
    size.height = image_height + m.caption_button_height / 2 + m.menu_height;
  } else {
    size.width += m.caption_button_height;  // room for the vertical bar
  }
  if (!fits_across) size.height += m.caption_button_width;  // room for the horizontal bar
  return size;
}

ZoomLayout LayoutZoom(ZoomState& state, int client_width, int client_height) {
  ZoomLayout layout;
  layout.horizontal = LayoutAxis(state.image_width, client_width, state.scroll_x, state.page_x);
  layout.vertical = LayoutAxis(state.image_height, client_height, state.scroll_y, state.page_y);
  return layout;
}

std::optional<int> ScrollZoom(ZoomState& state, ScrollAxis axis, int code, int thumb_position,
                              int bar_max) {
  const bool across = axis == ScrollAxis::kHorizontal;
  std::int32_t& position = across ? state.scroll_x : state.scroll_y;
  const int page = across ? state.page_x : state.page_y;
  int next;
  switch (code) {
    case kScrollLineUp:
      next = position - 1;
      break;
    case kScrollLineDown:
      next = position + 1;
      break;
    case kScrollPageUp:
      next = position - page;
      break;
    case kScrollPageDown:
      next = position + page;
      break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      next = thumb_position;
      break;
    default:
      return std::nullopt;
  }
  next = std::clamp(next, 0, std::max(0, bar_max));
  int moved = position - next;
  position = next;
  return moved;
}

}  // namespace inkmark
