// Layout and composition: at what size in printer dots a picture or a logo
// document becomes a logo, the two small previews of the main window, the
// full-size print raster and the Preview window's picture.
#pragma once

#include <cstdint>
#include <optional>

#include "document/logo_raster.h"
#include "platform/failure.h"
#include "session/session.h"

namespace inkmark {

// Controls of the main window that the composition reads.
inline constexpr int kMonochromeColorList = 1015;  // ink of a monochrome image item
inline constexpr int kTextColorList = 1039;        // ink of a text item
inline constexpr int kSourcePreview = 1041;
inline constexpr int kConvertedPreview = 1042;

// What the composition needs from the main window: the selections of its two
// colour lists and the client widths of its preview controls. The window
// supplies it; tests supply their own.
class PreviewControls {
 public:
  virtual ~PreviewControls() = default;
  // The selected index of list `control` (kMonochromeColorList, kTextColorList).
  virtual int ListSelection(int control) const = 0;
  // The client width in pixels of `control` (kSourcePreview, kConvertedPreview).
  virtual int ClientWidth(int control) const = 0;
};

// Composes the loaded document at scale 1 with every item as stored: text in
// its own colour, images as embedded. A 24-bit page, or nullopt.
std::optional<BitmapFile> ComposeAsStored(const LogoSession& session);

// Composes the loaded document at the given scale with every image item
// converted with its own settings and every text item in its ink. Uses the
// session's temp_dest_path for the conversions. A 24-bit page, or nullopt. Only
// its first `max_width` columns are composed: what the paper cuts off is never made.
std::optional<BitmapFile> ComposeConverted(LogoSession& session, double scale_x, double scale_y,
                                           std::int64_t max_width = INT64_MAX);

// Fills the left-hand preview's pictures (fit_image, cut_image, source_shown,
// source_width/height, fit_size, cut_size). 1, or 0 with the pictures cleared.
int MakeSourcePreviews(const PreviewControls& window, LogoSession& session);

// Fills `converted`, the right-hand preview. For a document it first brings
// the selected item up to date from the window's colour lists. 1 or 0.
int MakeConvertedPreview(const PreviewControls& window, LogoSession& session);

// The full-size print raster: a picture source scaled or cropped to the paper
// and converted, or a document composed, cropped to the paper and classified;
// refused with the reason the picture or page could not be made.
Result<LogoRaster> BuildLogoRaster(LogoSession& session);

// As BuildLogoRaster, except that a document gives its cropped 24-bit page.
Result<BitmapFile> BuildPreviewImage(LogoSession& session);

// Moves every item that uses the 2nd ink to the 1st, for a printer that has no
// 2nd ink.
void ResetSecondColorItems(LogoSession& session);

}  // namespace inkmark
