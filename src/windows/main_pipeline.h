// What the main window asks of the image pipeline: the two previews, logo
// documents and their items, and the full-size raster.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "document/logo_raster.h"
#include "platform/failure.h"
#include "session/session.h"

namespace inkmark {

// One item of the loaded logo document, as the window shows it.
struct ItemState {
  bool is_text = false;
  std::string text;              // text items: bytes in their code page
  int code_page = 1252;          // text items: that of their font's character set
  ConversionParams params{};     // image items: their copy of the parameters
  std::int32_t monochrome = 0;   // image items converted with one ink
  std::int32_t color_index = 0;  // 0 1st colour, 1 2nd colour
};

class MainPipeline {
 public:
  virtual ~MainPipeline() = default;
  // Rebuilds fit_image, cut_image and source_shown (composes a logo document).
  virtual void MakeSourcePreviews(LogoSession& session) = 0;
  // Rebuilds `converted`; for a document, first copies the window's values
  // (the session's and the colour lists') into the selected item.
  virtual void MakeConvertedPreview(LogoSession& session) = 0;
  // Reads the logo document at source_path into the session's items; 1 on
  // success, 0 after showing its message.
  virtual int LoadLogoDocument(LogoSession& session) = 0;
  // Moves every item drawn in the 2nd colour to the 1st.
  virtual void ResetSecondColorItems(LogoSession& session) = 0;
  virtual ItemState Item(const LogoSession& session, int index) const = 0;
  virtual void SetItemText(LogoSession& session, int index, const std::string& text) = 0;
  // The full-size logo for printing or saving, or why none can be built.
  virtual Result<LogoRaster> BuildLogoRaster(LogoSession& session) = 0;
};

}  // namespace inkmark
