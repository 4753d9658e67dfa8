#include <algorithm>
#include <string>
#include <utility>

#include "converter/convert.h"
#include "converter/convert_pixels.h"
#include "converter/replace_file.h"
#include "converter/source_bitmap.h"
#include "picture/picture.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"

namespace inkmark {
namespace {

// At most this many bytes of expanded rows are held at once by a banded source.
constexpr std::size_t kBandBytes = std::size_t{8} << 20;

// The decoded picture's rows converted; nullopt when there is no picture.
std::optional<BitmapFile> ConvertDecoded(const Result<BitmapFile>& picture,
                                         const converter::ConvertSettings& settings) {
  if (!picture) return std::nullopt;
  auto view = converter::ViewRgb24File(*picture);
  if (!view) return std::nullopt;
  return converter::ConvertPixels(*view, settings);
}

// The rows of a bitmap file packed tighter than 24 bits, expanded one band at
// a time as the scaler reaches them. Each band decodes the whole file and keeps
// only its own rows, so damage anywhere refuses the picture as a whole decode does.
class BandedRows {
 public:
  BandedRows(std::span<const std::uint8_t> file, const BitmapHeader& header)
      : file_(file),
        width_(header.width),
        height_(header.height),
        band_rows_(static_cast<std::int32_t>(std::clamp<std::size_t>(
            kBandBytes / Rgb24Stride(header.width), 1, static_cast<std::size_t>(header.height)))) {}

  const std::uint8_t* Row(std::uint32_t r) {
    const auto row = static_cast<std::int32_t>(r);
    if (row >= height_) return nullptr;
    if (!band_ || row < first_ || row >= first_ + band_rows_) {
      if (!Load(row)) return nullptr;
    }
    return band_->Row(r);
  }

 private:
  bool Load(std::int32_t first) {
    band_.reset();  // the last band goes before the next is made
    auto plan = [&](std::int32_t w, std::int32_t h) -> std::optional<RowPlan> {
      if (w != width_ || h != height_) return std::nullopt;
      RowPlan p;
      p.keep.assign(static_cast<std::size_t>(h), false);
      std::fill_n(p.keep.begin() + first, std::min(band_rows_, h - first), true);
      p.columns = static_cast<std::uint32_t>(w);
      return p;
    };
    auto decoded = DecodeBitmapRows(file_, plan);
    if (!decoded) return false;
    band_ = std::move(*decoded);
    first_ = first;
    return true;
  }

  std::span<const std::uint8_t> file_;
  std::int32_t width_;
  std::int32_t height_;
  std::int32_t band_rows_;
  std::int32_t first_ = 0;
  std::optional<PictureRows> band_;
};

// A palette or run-length picture larger than one band that is scaled to
// another size never exists whole: a few bytes of run-length data may claim
// a picture of hundreds of megabytes. nullopt: the whole picture is decoded.
std::optional<std::optional<BitmapFile>> ConvertBanded(std::span<const std::uint8_t> source,
                                                       const converter::ConvertSettings& settings) {
  auto header = ReadBitmapHeader(source);
  if (!header || header->bits_per_pixel == 24 || header->width <= 0 || header->height <= 0 ||
      !PictureSizeAllowed(header->width, header->height))
    return std::nullopt;
  const auto w = static_cast<std::uint32_t>(header->width);
  const auto h = static_cast<std::uint32_t>(header->height);
  if (Rgb24Stride(w) * h <= kBandBytes || (w == settings.width && h == settings.height))
    return std::nullopt;
  BandedRows rows(source, *header);
  return converter::ConvertRows(
      w, h, [&rows](std::uint32_t r) { return rows.Row(r); }, settings);
}

// The converter's work on the file's bytes, banded where that helps.
std::optional<BitmapFile> ConvertSource(BitmapFile&& source,
                                        const converter::ConvertSettings& settings) {
  if (auto banded = ConvertBanded(source, settings)) return std::move(*banded);
  // Handing the bytes over lets a 24-bit source be used without a copy.
  return ConvertDecoded(DecodeBitmapToRgb24(std::move(source)), settings);
}

}  // namespace

std::optional<BitmapFile> ConvertBitmapFile(std::span<const std::uint8_t> source,
                                            const ConversionParams& params,
                                            const std::int32_t inks[2]) {
  auto settings = converter::CheckParams(params, inks);
  if (!settings) return std::nullopt;
  if (auto banded = ConvertBanded(source, *settings)) return std::move(*banded);
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
  auto result = inkmark::ConvertSource(std::move(*source), *settings);
  if (!result) return 0;
  return inkmark::converter::ReplaceFile(dest_path, *result) ? 1 : 0;
}
