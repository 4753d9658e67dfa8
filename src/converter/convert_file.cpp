#include <string>
#include <utility>

#include "converter/convert.h"
#include "converter/convert_pixels.h"
#include "converter/replace_file.h"
#include "converter/source_bitmap.h"
#include "picture/picture.h"
#include "picture/picture_io.h"

namespace inkmark {
namespace {

// The decoded picture's rows converted; nullopt when there is no picture.
std::optional<BitmapFile> ConvertDecoded(const Result<BitmapFile>& picture,
                                         const converter::ConvertSettings& settings) {
  if (!picture) return std::nullopt;
  auto view = converter::ViewRgb24File(*picture);
  if (!view) return std::nullopt;
  return converter::ConvertPixels(*view, settings);
}

}  // namespace

std::optional<BitmapFile> ConvertBitmapFile(std::span<const std::uint8_t> source,
                                            const ConversionParams& params,
                                            const std::int32_t inks[2]) {
  auto settings = converter::CheckParams(params, inks);
  if (!settings) return std::nullopt;
  return ConvertDecoded(DecodeBitmapToRgb24(source), *settings);
}

}  // namespace inkmark

extern "C" int QrvConvertLogo(const char* source_path, const inkmark::ConversionParams* params,
                              const std::int32_t inks[2], const char* dest_path) {
  if (source_path == nullptr || params == nullptr || inks == nullptr || dest_path == nullptr) {
    return 0;
  }
  auto settings = inkmark::converter::CheckParams(*params, inks);
  if (!settings) return 0;
  // The whole source is in memory before the destination is touched, since
  // the two may be the same file.
  auto source = inkmark::ReadWholeFile(source_path);
  if (!source) return 0;
  // Handing the bytes over lets a 24-bit source be used without a copy.
  auto result =
      inkmark::ConvertDecoded(inkmark::DecodeBitmapToRgb24(std::move(*source)), *settings);
  if (!result) return 0;
  return inkmark::converter::ReplaceFile(dest_path, *result) ? 1 : 0;
}
