#include "converter/convert_pixels.h"
#include "converter/raster_writer.h"
#include "converter/reduce.h"
#include "converter/resample.h"

namespace inkmark::converter {

BitmapFile ConvertPixels(const RgbView& picture, const ConvertSettings& settings) {
  RasterWriter writer(settings);
  const auto put = [&writer](std::uint32_t row, const std::uint8_t* codes) {
    writer.PutRow(row, codes);
  };
  if (picture.width == settings.width && picture.height == settings.height) {
    ReduceToInks(picture, settings, put);
  } else {
    RgbImage scaled = Resample(picture, settings.width, settings.height);
    ReduceToInks(scaled.View(), settings, put);
  }
  return writer.Take();
}

std::optional<BitmapFile> ConvertRows(std::uint32_t src_width, std::uint32_t src_height,
                                      const SourceRows& rows, const ConvertSettings& settings) {
  auto scaled = Resample(src_width, src_height, rows, settings.width, settings.height);
  if (!scaled) return std::nullopt;
  RasterWriter writer(settings);
  ReduceToInks(scaled->View(), settings, [&writer](std::uint32_t row, const std::uint8_t* codes) {
    writer.PutRow(row, codes);
  });
  return writer.Take();
}

}  // namespace inkmark::converter
