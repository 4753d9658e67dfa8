#include "converter_fixtures.h"

#include "image/bitmap_fixture.h"

namespace inkmark::testing {

std::vector<std::uint8_t> MakeBmp24(std::uint32_t width, std::uint32_t height,
                                    const std::function<Rgb(std::uint32_t, std::uint32_t)>& color) {
  std::vector<std::vector<std::uint32_t>> rows(height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const Rgb c = color(x, height - 1 - y);
      rows[y].push_back(c.b | (c.g << 8) | (c.r << 16));
    }
  }
  BitmapFixture f =
      Fixture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), 24);
  f.pixels = PackRows(rows, 24);
  return BuildBitmap(f);
}

std::vector<std::uint8_t> BlackRedWhite(std::uint32_t width, std::uint32_t height) {
  return MakeBmp24(width, height, [width](std::uint32_t x, std::uint32_t) {
    return 3 * x < width ? Rgb{0, 0, 0} : 3 * x < 2 * width ? Rgb{255, 0, 0} : Rgb{255, 255, 255};
  });
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

std::size_t Stride(const BitmapFile& raster) {
  return (U32At(raster, 18) * U16At(raster, 28) + 31) / 32 * 4;
}

std::int32_t PaletteAt(const BitmapFile& raster, int index) {
  const std::size_t at = 54 + 4 * static_cast<std::size_t>(index);
  return raster.at(at + 2) | (raster.at(at + 1) << 8) | (raster.at(at) << 16);
}

int ValueAt(const BitmapFile& raster, std::uint32_t x, std::uint32_t y) {
  const std::size_t row = U32At(raster, 10) + Stride(raster) * (U32At(raster, 22) - 1 - y);
  if (U16At(raster, 28) == 1) return (raster.at(row + x / 8) >> (7 - x % 8)) & 1;
  return raster.at(row + x);
}

std::vector<int> RowValues(const BitmapFile& raster, std::uint32_t y) {
  std::vector<int> values;
  for (std::uint32_t x = 0; x < U32At(raster, 18); ++x) values.push_back(ValueAt(raster, x, y));
  return values;
}

double Share(const BitmapFile& raster, int value) {
  const std::uint32_t width = U32At(raster, 18), height = U32At(raster, 22);
  std::size_t n = 0;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) n += ValueAt(raster, x, y) == value;
  }
  return static_cast<double>(n) / (static_cast<double>(width) * height);
}

}  // namespace inkmark::testing
