// LoadPicture: chooses the reader by the file name's extension.
#include <utility>

#include "picture/picture.h"
#include "picture/picture_formats.h"
#include "picture/picture_gif.h"
#include "picture/picture_io.h"
#include "picture/picture_png.h"
#include "picture/picture_qt.h"

namespace inkmark {

PictureScale PictureScaleFor(const LogoSession& session, std::int32_t width) {
  PictureScale scale;
  scale.width = width;
  if (const PrinterProfile* p = session.CurrentProfile()) {
    const std::int32_t dpi = p->resolutions.Selected();
    if (dpi > 0) scale.dots_per_inch = dpi;
  }
  return scale;
}

bool IsScalablePicture(const std::string& path) {
  const PictureFormatInfo* format = PictureFormatOf(path);
  return format != nullptr && format->scalable;
}

Result<std::array<std::int64_t, 2>> ScalablePictureSize(const std::string& path,
                                                        const PictureScale& scale) {
  if (!IsScalablePicture(path)) return {FailureCode::kUnknownFormat, "not a drawing"};
  auto data = ReadWholeFile(path);
  if (!data) return data.failure();
  return SvgDrawnSize(*data, scale);
}

Result<BitmapFile> LoadPicture(const std::string& path, const PictureScale& scale) {
  const PictureFormatInfo* format = PictureFormatOf(path);
  if (format == nullptr)
    return {FailureCode::kUnknownFormat, "not a " + PictureExtensionList() + " file"};
  if (format->format == PictureFormat::kPng || format->format == PictureFormat::kGif) {
    // Read from the file as it is decoded, never held whole.
    auto file = OpenPictureFile(path);
    if (!file) return file.failure();
    if (format->format == PictureFormat::kGif) return DecodeGifToRgb24(GifSource{{}, file->get()});
    return DecodePngToRgb24(PngSource{{}, file->get()});
  }
  auto data = ReadWholeFile(path);
  if (!data) return data.failure();
  if (format->format == PictureFormat::kSvg) return RenderSvgToRgb24(*data, scale);
  if (format->format == PictureFormat::kJpeg) return DecodeJpegToRgb24(*data);
  return DecodeBitmapToRgb24(std::move(*data));
}

}  // namespace inkmark
