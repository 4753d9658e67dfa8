#include "editor/editor_image.h"

#include <algorithm>

#include "picture/picture.h"
#include "picture/picture_bytes.h"

namespace inkmark {

std::optional<DocumentObject> ImageFromFile(const std::string& path, std::int32_t left,
                                            std::int32_t top, std::int32_t page_width,
                                            bool transparent) {
  auto picture = LoadPicture(path);
  if (!picture) return std::nullopt;
  // A drawing wider than the page is drawn again at the page's width, not scaled down.
  if (page_width > 0 && IsScalablePicture(path) &&
      ByteReader(*picture).I32(18).value_or(0) > page_width) {
    picture = LoadPicture(path, PictureScale{page_width, 96});
    if (!picture) return std::nullopt;
  }
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

}  // namespace inkmark
