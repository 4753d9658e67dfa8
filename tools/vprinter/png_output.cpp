#include "png_output.h"

#include <QImage>
#include <QString>

namespace inkmark::vprinter {

bool SavePicturePng(const Picture& picture, const std::filesystem::path& path,
                    std::uint32_t first_ink_rgb, std::uint32_t second_ink_rgb) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  QImage image(picture.width, picture.height, QImage::Format_RGB32);
  if (image.isNull()) return false;
  const QRgb colours[3] = {qRgb(255, 255, 255), QRgb(0xFF000000u | first_ink_rgb),
                           QRgb(0xFF000000u | second_ink_rgb)};
  for (int y = 0; y < picture.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.width; ++x) line[x] = colours[picture.At(x, y) % 3];
  }
  return image.save(QString::fromStdString(path.string()), "PNG");
}

}  // namespace inkmark::vprinter
