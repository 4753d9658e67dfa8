// LoadPicture: chooses the reader by the file name's extension.
#include <algorithm>
#include <cctype>
#include <utility>

#include "picture/picture.h"
#include "picture/picture_io.h"
#include "picture/picture_png.h"
#include "picture/picture_qt.h"

namespace inkmark {
namespace {

// The text from the last "." (the whole path when there is none), lower-cased.
std::string LowerExtension(const std::string& path) {
  const auto dot = path.rfind('.');
  std::string ext = dot == std::string::npos ? path : path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace

PictureScale PictureScaleFor(const LogoSession& session, std::int32_t width) {
  PictureScale scale;
  scale.width = width;
  if (const PrinterProfile* p = session.CurrentProfile()) {
    const std::int32_t dpi = p->resolutions.Selected();
    if (dpi > 0) scale.dots_per_inch = dpi;
  }
  return scale;
}

bool IsScalablePicture(const std::string& path) { return LowerExtension(path) == ".svg"; }

Result<BitmapFile> LoadPicture(const std::string& path, const PictureScale& scale) {
  const std::string ext = LowerExtension(path);
  if (ext == ".gif") return DecodeQtImageToRgb24(path, ext.c_str() + 1);
  if (ext == ".png") {
    // Read from the file as it is decoded, never held whole.
    auto file = OpenPictureFile(path);
    if (!file) return file.failure();
    return DecodePngToRgb24(PngSource{{}, file->get()});
  }
  const bool svg = ext == ".svg";
  const bool jpeg = ext == ".jpg";
  if (!svg && !jpeg && ext != ".bmp" && ext != ".rle") {
    return {FailureCode::kUnknownFormat, "not a .BMP, .RLE, .JPG, .PNG, .GIF or .SVG file"};
  }
  auto data = ReadWholeFile(path);
  if (!data) return data.failure();
  if (svg) return RenderSvgToRgb24(*data, scale);
  if (jpeg) return DecodeJpegToRgb24(*data);
  return DecodeBitmapToRgb24(std::move(*data));
}

}  // namespace inkmark
