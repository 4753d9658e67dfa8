#include "editor/editor_image.h"

#include <algorithm>

#include "picture/picture.h"
#include "picture/picture_bytes.h"
#include "settings/printer_files.h"
#include "settings/saved_settings.h"

namespace inkmark {

std::optional<DocumentObject> ImageFromFile(const std::string& path, std::int32_t left,
                                            std::int32_t top, std::int32_t page_width,
                                            bool transparent, std::int32_t dots_per_inch) {
  PictureScale scale{0, dots_per_inch > 0 ? dots_per_inch : 96};
  // A drawing wider than the page is drawn at the page's width, not scaled
  // down, and never drawn at its own size first.
  if (IsScalablePicture(path)) {
    auto own = ScalablePictureSize(path, scale);
    if (!own) return std::nullopt;
    if (page_width > 0 && (*own)[0] > page_width) scale.width = page_width;
  }
  auto picture = LoadPicture(path, scale);
  if (!picture) return std::nullopt;
  const ByteReader r(*picture);
  const auto width = r.I32(18);
  const auto height = r.I32(22);
  if (!width || !height || *width <= 0 || *height == 0) return std::nullopt;
  std::int64_t w = *width;
  std::int64_t h = *height < 0 ? -std::int64_t{*height} : *height;
  if (page_width > 0 && w > page_width) {
    h = std::max<std::int64_t>(1, h * page_width / w);
    w = page_width;
  }
  return ImageObject(left, top, static_cast<std::int32_t>(left + w),
                     static_cast<std::int32_t>(top + h), std::move(*picture), transparent);
}

std::int32_t PrinterDotsPerInch(const std::filesystem::path& folder) {
  LogoSession session;
  const int count = CountPrinterFiles(folder);
  if (count > 0) LoadPrinterProfiles(count, session.profiles, folder);
  std::string saved_folder;
  session.profile_index = LoadSettings(session.profile_count(), session.profiles, saved_folder);
  return PictureScaleFor(session, 0).dots_per_inch;
}

}  // namespace inkmark
