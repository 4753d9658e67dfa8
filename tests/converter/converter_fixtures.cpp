#include "converter_fixtures.h"

#include <stdexcept>

namespace inkmark::testing {
namespace {

void Put32(std::vector<std::uint8_t>& f, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> MakeBmp24(std::uint32_t width, std::uint32_t height,
                                    const std::function<Rgb(std::uint32_t, std::uint32_t)>& color) {
  const std::size_t stride = (width * 3 + 3) & ~3u;
  std::vector<std::uint8_t> f(54 + stride * height, 0);
  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 2, static_cast<std::uint32_t>(f.size()));
  Put32(f, 10, 54);
  Put32(f, 14, 40);
  Put32(f, 18, width);
  Put32(f, 22, height);
  f[26] = 1;
  f[28] = 24;
  for (std::uint32_t y = 0; y < height; ++y) {
    std::uint8_t* row = &f[54 + stride * (height - 1 - y)];
    for (std::uint32_t x = 0; x < width; ++x) {
      Rgb c = color(x, y);
      row[3 * x] = c.b;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.r;
    }
  }
  return f;
}

ConversionParams TwoInkParams(std::uint32_t width, std::uint32_t height, std::uint32_t grade) {
  ConversionParams p = StartupConversionParams();
  p.target_width = width;
  p.target_height = height;
  p.color_count = 2;
  p.palette_size = 256;
  p.processing = grade;
  return p;
}

ConversionParams OneInkParams(std::uint32_t width, std::uint32_t height, std::uint32_t grade,
                              std::uint32_t ink_index) {
  ConversionParams p = TwoInkParams(width, height, grade);
  p.color_count = 1;
  p.palette_size = 2;
  p.color_table = ink_index;
  return p;
}

ReadRaster::ReadRaster(std::vector<std::uint8_t> file) : file_(std::move(file)) {
  if (file_.size() < 54) throw std::runtime_error("raster shorter than its headers");
}

std::uint32_t ReadRaster::U32(std::size_t at) const {
  return file_.at(at) | (file_.at(at + 1) << 8) | (file_.at(at + 2) << 16) |
         (std::uint32_t{file_.at(at + 3)} << 24);
}

std::uint16_t ReadRaster::U16(std::size_t at) const {
  return static_cast<std::uint16_t>(file_.at(at) | (file_.at(at + 1) << 8));
}

std::size_t ReadRaster::stride() const {
  const std::size_t w = static_cast<std::size_t>(width());
  return bits() == 1 ? ((w + 7) / 8 + 3) & ~std::size_t{3} : (w + 3) & ~std::size_t{3};
}

std::int32_t ReadRaster::Palette(int index) const {
  const std::size_t at = 54 + 4 * static_cast<std::size_t>(index);
  return file_.at(at + 2) | (file_.at(at + 1) << 8) | (file_.at(at) << 16);
}

int ReadRaster::Value(std::uint32_t x, std::uint32_t y) const {
  const std::size_t row = U32(10) + stride() * (static_cast<std::size_t>(height()) - 1 - y);
  if (bits() == 1) return (file_.at(row + x / 8) >> (7 - x % 8)) & 1;
  return file_.at(row + x);
}

double ReadRaster::Share(int value) const {
  std::size_t n = 0;
  for (std::int32_t y = 0; y < height(); ++y) {
    for (std::int32_t x = 0; x < width(); ++x) n += Value(x, y) == value ? 1 : 0;
  }
  return static_cast<double>(n) / (static_cast<double>(width()) * height());
}

}  // namespace inkmark::testing
