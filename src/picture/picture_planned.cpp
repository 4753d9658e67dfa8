// Scale and crop for the paper straight from the file: a JPEG, PNG, GIF or bitmap picture
// that is reduced or cut is decoded only in the rows and columns the scaler
// reads, so it never exists whole at its own size.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "picture/picture.h"
#include "picture/picture_bytes.h"
#include "picture/picture_formats.h"
#include "picture/picture_gif.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"
#include "picture/picture_png.h"

namespace inkmark {
namespace {

// Where each output pixel is taken from: the source row of each output row (in
// storage order), and the source column of each kept output pixel, which in
// the last source row is the plain one and elsewhere the one on the centre's side.
struct SampleMap {
  std::int32_t out_width = 0;
  std::int32_t out_height = 0;
  std::size_t out_stride = 0;
  std::size_t copied_bytes = 0;  // of each output row; the rest is zero
  std::vector<std::uint32_t> row;
  std::vector<bool> last_row;
  std::vector<std::uint32_t> column_near;
  std::vector<std::uint32_t> column_plain;
};

// The scaler's picks for a src_w x src_h picture scaled to `width` and cut at
// `crop_width`, mirroring ResampleRgb24 and the crop after it. nullopt when
// nothing is saved (the picture is kept whole or enlarged) or the scaler
// would skip pixels; the whole path then runs.
std::optional<SampleMap> MapSamples(std::int32_t src_w, std::int32_t src_h, std::int32_t width,
                                    std::int32_t crop_width) {
  if (width <= 0 || crop_width <= 0 || width > src_w) return std::nullopt;
  if (width == src_w && width <= crop_width) return std::nullopt;
  const bool scaled = width != src_w;
  const auto h = scaled ? static_cast<std::int32_t>(std::max<std::int64_t>(
                              static_cast<std::int64_t>(src_h) * width / src_w, 1))
                        : src_h;
  if (!PictureSizeAllowed(width, h)) return std::nullopt;
  SampleMap m;
  m.out_width = std::min(width, crop_width);
  m.out_height = h;
  m.out_stride = Rgb24Stride(m.out_width);
  // The crop copies whole padded rows, which may reach into the next pixel.
  const std::int32_t kept =
      width > crop_width
          ? std::min<std::int32_t>(width, static_cast<std::int32_t>((m.out_stride + 2) / 3))
          : width;
  m.copied_bytes = std::min(m.out_stride, static_cast<std::size_t>(kept) * 3);

  const auto step_x = static_cast<std::uint32_t>(static_cast<double>(src_w) / width * 65536.0);
  const auto step_y = static_cast<std::uint32_t>(static_cast<double>(src_h) / h * 65536.0);
  const auto half_w = static_cast<std::uint32_t>(src_w / 2);
  const auto half_h = static_cast<std::uint32_t>(src_h / 2);
  const auto last_x = static_cast<std::uint32_t>(src_w - 1);
  const auto last_y = static_cast<std::uint32_t>(src_h - 1);
  m.row.resize(static_cast<std::size_t>(h));
  m.last_row.resize(static_cast<std::size_t>(h));
  std::uint32_t pos_y = 0;
  for (std::int32_t j = 0; j < h; ++j, pos_y += step_y) {
    const std::uint32_t sy = scaled ? pos_y >> 16 : static_cast<std::uint32_t>(j);
    if (!scaled || sy == last_y) {
      m.row[j] = sy;
      m.last_row[j] = true;
    } else if (sy < last_y) {
      m.row[j] = sy <= half_h ? sy + 1 : sy;
    } else {
      return std::nullopt;
    }
  }
  std::uint32_t pos_x = 0;
  for (std::int32_t i = 0; i < width; ++i, pos_x += step_x) {
    const std::uint32_t sx = scaled ? pos_x >> 16 : static_cast<std::uint32_t>(i);
    if (scaled && sx >= last_x) return std::nullopt;
    if (i >= kept) continue;
    m.column_plain.push_back(sx);
    m.column_near.push_back(scaled && sx <= half_w ? sx + 1 : sx);
  }
  return m;
}

// The picture as the scaler and crop make it, from the rows they read.
BitmapFile BuildScaled(const SampleMap& m, const PictureRows& rows) {
  const std::size_t offset = rows.header.size();
  BitmapFile out(offset + m.out_stride * static_cast<std::size_t>(m.out_height), 0);
  std::memcpy(out.data(), rows.header.data(), offset);
  const auto image_size = static_cast<std::uint32_t>(m.out_stride * m.out_height);
  PutU32(out, kOffWidth, static_cast<std::uint32_t>(m.out_width));
  PutU32(out, kOffHeight, static_cast<std::uint32_t>(m.out_height));
  PutU32(out, kOffImageSize, image_size);
  PutU32(out, kOffFileSize, image_size + static_cast<std::uint32_t>(offset));
  const std::size_t pixels = m.copied_bytes / 3;
  for (std::int32_t j = 0; j < m.out_height; ++j) {
    const std::uint8_t* src = rows.Row(m.row[static_cast<std::size_t>(j)]);
    std::uint8_t* dst = out.data() + offset + static_cast<std::size_t>(j) * m.out_stride;
    const auto& columns = m.last_row[static_cast<std::size_t>(j)] ? m.column_plain : m.column_near;
    for (std::size_t i = 0; i < pixels; ++i) {
      std::memcpy(dst + 3 * i, src + 3 * static_cast<std::size_t>(columns[i]), 3);
    }
    // The crop's last bytes, part of a pixel.
    if (const std::size_t rest = m.copied_bytes - 3 * pixels; rest > 0) {
      std::memcpy(dst + 3 * pixels, src + 3 * static_cast<std::size_t>(columns[pixels]), rest);
    }
  }
  return out;
}

using DecodeRows = DecodePlannedRows;
using DecodeAll = DecodeWholePicture;

const Failure kSizeRefused{FailureCode::kInvalidArgument, "a size the picture cannot be made at"};

bool SizeAllowed(const ScaleCrop& size) { return size.crop_width > 0 && size.width >= 0; }

// The sizes wanted, asked once, when the picture's width and height are known.
class WantedSizes {
 public:
  explicit WantedSizes(const ScaleCropSizes& sizes) : sizes_(sizes) {}

  // nullopt: a size refused.
  const std::optional<std::vector<ScaleCrop>>& For(std::int32_t src_w, std::int32_t src_h) {
    if (!asked_) {
      asked_ = true;
      wanted_ = sizes_(src_w, src_h);
      if (!std::all_of(wanted_->begin(), wanted_->end(), SizeAllowed)) wanted_.reset();
    }
    return wanted_;
  }
  bool Refused() const { return asked_ && !wanted_; }

 private:
  const ScaleCropSizes& sizes_;
  bool asked_ = false;
  std::optional<std::vector<ScaleCrop>> wanted_;
};

// The picture with its width and height.
std::optional<ScaledPicture> Scaled(BitmapFile picture) {
  auto header = ReadBitmapHeader(picture);
  if (!header) return std::nullopt;
  return ScaledPicture{std::move(picture), {header->width, header->height}};
}

// Scales and crops the picture to every size wanted, decoding once the rows
// and columns any of them reads. nullopt with no `refusal`: no saving here,
// the whole path is to run.
std::optional<std::vector<ScaledPicture>> ScaleCropPlanned(const DecodeRows& decode,
                                                           WantedSizes& wanted,
                                                           std::optional<Failure>& refusal) {
  std::vector<SampleMap> maps;
  bool planned = false;
  auto make_plan = [&](std::int32_t src_w, std::int32_t src_h) -> std::optional<RowPlan> {
    const auto& sizes = wanted.For(src_w, src_h);
    if (!sizes || sizes->empty()) return std::nullopt;
    RowPlan plan;
    plan.keep.assign(static_cast<std::size_t>(src_h), false);
    for (const ScaleCrop& size : *sizes) {
      auto map = MapSamples(src_w, src_h, size.width == 0 ? src_w : size.width, size.crop_width);
      if (!map) return std::nullopt;
      for (std::size_t i = 0; i < map->column_near.size(); ++i) {
        plan.columns = std::max({plan.columns, map->column_near[i] + 1, map->column_plain[i] + 1});
      }
      for (const std::uint32_t r : map->row) plan.keep[r] = true;
      maps.push_back(std::move(*map));
    }
    planned = true;
    return plan;
  };
  auto rows = decode(make_plan);
  if (wanted.Refused()) {
    refusal = kSizeRefused;
  } else if (!rows && planned) {
    refusal = rows.failure();
  }
  if (!rows) return std::nullopt;
  std::vector<ScaledPicture> out;
  out.reserve(maps.size());
  for (const SampleMap& map : maps) {
    auto scaled = Scaled(BuildScaled(map, *rows));
    if (!scaled) {
      refusal = Failure{FailureCode::kCorrupt, "a scaled picture without its headers"};
      return std::nullopt;
    }
    out.push_back(std::move(*scaled));
  }
  return out;
}

// ScaleCropToFile of a whole picture at `width` (0: its own).
Result<BitmapFile> ScaleCropWhole(const BitmapFile& picture, std::int32_t width,
                                  std::int32_t crop_width, const std::string& dest_path,
                                  std::array<std::int32_t, 2>& size_out) {
  if (width == 0) {
    auto header = ReadBitmapHeader(picture);
    if (!header) return Failure{FailureCode::kCorrupt, "a picture without its headers"};
    width = header->width;
  }
  auto scaled = ScaleCropToFile(width, crop_width, "", &picture, dest_path, size_out);
  if (!scaled) {
    return Failure{FailureCode::kNoMemory,
                   "the picture cannot be scaled to " + std::to_string(width) + " pixels wide"};
  }
  return std::move(*scaled);
}

// The kind of planned file the name says, if any.
std::optional<PlannedKind> PlannedKindOf(const std::string& path) {
  const PictureFormatInfo* format = PictureFormatOf(path);
  if (format == nullptr || !format->planned) return std::nullopt;
  switch (format->format) {
    case PictureFormat::kJpeg:
      return PlannedKind::kJpeg;
    case PictureFormat::kPng:
      return PlannedKind::kPng;
    case PictureFormat::kGif:
      return PlannedKind::kGif;
    default:
      return PlannedKind::kBitmap;
  }
}

}  // namespace

Result<std::vector<ScaledPicture>> ScaleCropDecoded(const DecodePlannedRows& decode_rows,
                                                    const DecodeWholePicture& decode_all,
                                                    const ScaleCropSizes& sizes) {
  WantedSizes wanted(sizes);
  std::optional<Failure> refusal;
  auto planned = ScaleCropPlanned(decode_rows, wanted, refusal);
  if (refusal) return std::move(*refusal);
  if (planned) return std::move(*planned);
  auto whole = decode_all();
  if (!whole) return whole.failure();
  auto header = ReadBitmapHeader(*whole);
  if (!header) return Failure{FailureCode::kCorrupt, "a picture without its headers"};
  const auto& want = wanted.For(header->width, header->height);
  if (!want) return kSizeRefused;
  std::vector<ScaledPicture> out(want->size());
  for (std::size_t i = 0; i < want->size(); ++i) {
    auto picture = ScaleCropWhole(*whole, (*want)[i].width, (*want)[i].crop_width, "", out[i].size);
    if (!picture) return picture.failure();
    out[i].picture = std::move(*picture);
  }
  return out;
}

namespace {

// A PNG or GIF file is read straight from the disk, never whole: its
// compressed bytes may be larger than the rows the scaler keeps.
Result<std::vector<ScaledPicture>> ScaleCropStreamedFile(const std::string& path, PlannedKind kind,
                                                         const ScaleCropSizes& sizes) {
  auto opened = OpenPictureFile(path);
  if (!opened) return opened.failure();
  const int fd = opened->get();
  std::optional<Failure> rewind_failed;
  // Each decode reads from the start.
  auto rewind = [&] {
    if (::lseek(fd, 0, SEEK_SET) == 0) return true;
    rewind_failed = Failure{FailureCode::kCannotOpen, std::strerror(errno)};
    return false;
  };
  const bool gif = kind == PlannedKind::kGif;
  DecodeRows rows = [&](const MakeRowPlan& plan) -> Result<PictureRows> {
    if (!rewind()) return *rewind_failed;
    return gif ? DecodeGifPlanned(GifSource{{}, fd}, plan)
               : DecodePngPlanned(PngSource{{}, fd}, plan);
  };
  DecodeAll all = [&]() -> Result<BitmapFile> {
    if (!rewind()) return *rewind_failed;
    return gif ? DecodeGifToRgb24(GifSource{{}, fd}) : DecodePngToRgb24(PngSource{{}, fd});
  };
  return ScaleCropDecoded(rows, all, sizes);
}

// One size wanted, whatever the picture's size.
ScaleCropSizes OneSize(std::int32_t width, std::int32_t crop_width) {
  return [width, crop_width](std::int32_t, std::int32_t) {
    return std::vector<ScaleCrop>{{width, crop_width}};
  };
}

}  // namespace

Result<std::vector<ScaledPicture>> ScaleCropFileBytesEach(std::span<const std::uint8_t> file,
                                                          PlannedKind kind,
                                                          const ScaleCropSizes& sizes) {
  DecodeRows rows;
  DecodeAll all;
  switch (kind) {
    case PlannedKind::kJpeg:
      rows = [file](const MakeRowPlan& plan) { return DecodeJpegPlanned(file, plan); };
      all = [file] { return DecodeJpegToRgb24(file); };
      break;
    case PlannedKind::kPng:
      rows = [file](const MakeRowPlan& plan) { return DecodePngPlanned(file, plan); };
      all = [file] { return DecodePngToRgb24(file); };
      break;
    case PlannedKind::kGif:
      rows = [file](const MakeRowPlan& plan) { return DecodeGifPlanned(GifSource{file}, plan); };
      all = [file] { return DecodeGifToRgb24(GifSource{file}); };
      break;
    case PlannedKind::kBitmap:
      rows = [file](const MakeRowPlan& plan) { return DecodeBitmapRows(file, plan); };
      all = [file] { return DecodeBitmapToRgb24(file); };
      break;
  }
  return ScaleCropDecoded(rows, all, sizes);
}

Result<BitmapFile> ScaleCropFileBytes(std::span<const std::uint8_t> file, PlannedKind kind,
                                      std::int32_t width, std::int32_t crop_width,
                                      std::array<std::int32_t, 2>& size_out) {
  auto each = ScaleCropFileBytesEach(file, kind, OneSize(width, crop_width));
  if (!each) return each.failure();
  if (each->size() != 1) return kSizeRefused;
  size_out = each->front().size;
  return std::move(each->front().picture);
}

bool IsPlannedPicture(const std::string& path) { return PlannedKindOf(path).has_value(); }

Result<std::vector<ScaledPicture>> LoadScaledCroppedEach(const std::string& path,
                                                         const ScaleCropSizes& sizes,
                                                         std::span<const std::string> dest_paths) {
  const auto kind = PlannedKindOf(path);
  if (!kind) return Failure{FailureCode::kUnknownFormat, "not a JPEG, PNG, GIF or bitmap file"};
  const bool streamed = *kind == PlannedKind::kPng || *kind == PlannedKind::kGif;
  auto each = streamed ? ScaleCropStreamedFile(path, *kind, sizes) : [&] {
    auto file = ReadWholeFile(path);
    if (!file) return Result<std::vector<ScaledPicture>>(file.failure());
    return ScaleCropFileBytesEach(*file, *kind, sizes);
  }();
  if (!each) return each.failure();
  for (std::size_t i = 0; i < each->size() && i < dest_paths.size(); ++i) {
    if (!dest_paths[i].empty() && !WriteTempFile(dest_paths[i], (*each)[i].picture)) {
      return Failure{FailureCode::kWriteFailed, "cannot write " + dest_paths[i]};
    }
  }
  return each;
}

Result<BitmapFile> LoadScaledCropped(const std::string& path, const PictureScale& scale,
                                     std::int32_t width, std::int32_t crop_width,
                                     const std::string& dest_path,
                                     std::array<std::int32_t, 2>& size_out) {
  if (crop_width <= 0 || width < 0) return kSizeRefused;
  if (IsPlannedPicture(path)) {
    auto each = LoadScaledCroppedEach(path, OneSize(width, crop_width), std::span(&dest_path, 1));
    if (!each) return each.failure();
    if (each->size() != 1) return kSizeRefused;
    size_out = each->front().size;
    return std::move(each->front().picture);
  }
  auto picture = LoadPicture(path, scale);
  if (!picture) return picture.failure();
  return ScaleCropWhole(*picture, width, crop_width, dest_path, size_out);
}

}  // namespace inkmark
