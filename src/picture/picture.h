// Picture loading and the pipeline's scaling primitives. A picture is always a
// whole bitmap file image (BitmapFile); one made here is 24 bits per pixel with
// pixel offset 54, rows bottom-up and padded to (3 x width + 3) & ~3 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "session/session.h"

namespace inkmark {

// The size a scalable picture (SVG) is drawn at: `width` pixels wide with its
// proportions kept, or its own size at `dots_per_inch` when width is 0. Pictures
// made of pixels ignore it; they are scaled afterwards.
struct PictureScale {
  std::int32_t width = 0;
  std::int32_t dots_per_inch = 96;
  // When above 0, only the first `crop_width` columns of the drawing at that
  // size are made.
  std::int32_t crop_width = 0;
};

// Reads a ".bmp", ".rle", ".jpg", ".png", ".gif" or ".svg" file (any letter
// case) as a 24-bit picture; refused for any other name (kUnknownFormat), or a
// file that cannot be read or decoded, with the reason. Transparent parts
// become white.
Result<BitmapFile> LoadPicture(const std::string& path, const PictureScale& scale = {});

// The scale at `width` (0: own size) at the session's selected resolution.
PictureScale PictureScaleFor(const LogoSession& session, std::int32_t width);

// Whether the file is drawn at the size it is wanted at (SVG) rather than
// scaled from its pixels.
bool IsScalablePicture(const std::string& path);

// The width and height such a file is drawn at at `scale`, found without
// drawing it, so also beyond the picture limits; refused for another kind of
// file or one that cannot be read.
Result<std::array<std::int64_t, 2>> ScalablePictureSize(const std::string& path,
                                                        const PictureScale& scale);

// The bitmap file bytes (1, 4, 8, 16, 24 or 32 bits per pixel; uncompressed,
// RLE8, RLE4 or bit fields) as a 24-bit picture. A 24-bit file comes back
// unchanged once its rows are known to lie inside it.
Result<BitmapFile> DecodeBitmapToRgb24(std::span<const std::uint8_t> file);

// The same, taking the bytes over, so that a 24-bit file is not copied.
Result<BitmapFile> DecodeBitmapToRgb24(BitmapFile&& file);

// Decodes a JPEG file into a bitmap file: colour as 24 bits per pixel, greyscale
// as 8 bits with a grey palette. 1 when the bitmap file was written, else 0.
int DecodeJpegToBitmapFile(const std::string& jpeg_path, const std::string& bitmap_path);

// The in-memory core of DecodeJpegToBitmapFile: the bitmap file bytes, or the
// refusal in libjpeg's words.
Result<BitmapFile> DecodeJpegToBitmap(std::span<const std::uint8_t> jpeg);

// The JPEG file as a 24-bit picture, decoded straight into it: the same picture
// as DecodeBitmapToRgb24 makes of DecodeJpegToBitmap's bitmap.
Result<BitmapFile> DecodeJpegToRgb24(std::span<const std::uint8_t> jpeg);

// A PNG file as a 24-bit picture: every colour type and depth, transparency
// (alpha or a transparent colour) over white paper, 16 bits rounded to 8;
// refused in libpng's words ("PNG: CRC error").
Result<BitmapFile> DecodePngToRgb24(std::span<const std::uint8_t> png);

// Which rows of a picture to decode: for each stored row (bottom-up), whether
// it is kept, and of each kept row its first `columns` pixels.
struct RowPlan {
  std::vector<bool> keep;
  std::uint32_t columns = 0;
};

// The rows a plan kept, as blue, green, red, each padded to `stride` bytes with
// zeros, and the headers (all bytes before the pixels) the whole 24-bit
// picture has.
struct PictureRows {
  BitmapFile header;
  std::vector<std::int32_t> slot;  // per stored row, its kept row; empty: all kept
  std::unique_ptr<std::uint8_t[]> owned;
  const std::uint8_t* pixels = nullptr;
  std::size_t stride = 0;

  // Call only for a kept row.
  const std::uint8_t* Row(std::uint32_t r) const {
    return pixels + static_cast<std::size_t>(slot.empty() ? r : slot[r]) * stride;
  }
};

// Asked with the picture's width and height for the rows to keep; nullopt: none.
using MakeRowPlan = std::function<std::optional<RowPlan>(std::int32_t, std::int32_t)>;

// Decodes only the rows the plan keeps; the others are skipped, yet the picture
// is refused exactly where a whole decode would refuse it. Refused as well
// when there is no plan (kInvalidArgument).
Result<PictureRows> DecodeJpegPlanned(std::span<const std::uint8_t> jpeg,
                                      const MakeRowPlan& make_plan);

// The same for a PNG file: every row is still read, so that damage anywhere
// refuses the picture as a whole decode does.
Result<PictureRows> DecodePngPlanned(std::span<const std::uint8_t> png,
                                     const MakeRowPlan& make_plan);

// The same for a bitmap file; a 24-bit file's rows are used where they lie in
// `file`, which must outlive the result.
Result<PictureRows> DecodeBitmapRows(std::span<const std::uint8_t> file,
                                     const MakeRowPlan& make_plan);

// Scales 24-bit rows to dst_w x dst_h by 16.16 stepping, taking the neighbour
// on the side of the picture's centre. The result holds `header_room` zero bytes
// (for the caller's header) and then the rows. nullopt: no source, a size out of
// range, or no memory. `src` must hold src_h rows of src_stride bytes.
std::optional<std::vector<std::uint8_t>> ResampleRgb24(std::int32_t src_w, std::int32_t src_h,
                                                       std::int32_t dst_w, std::int32_t dst_h,
                                                       const std::uint8_t* src,
                                                       std::size_t src_stride,
                                                       std::size_t header_room);

// Scales a picture (loaded from `path_or_empty`, or copied from
// `picture_or_null` when that is given) to `width`, keeping its proportions,
// crops it to `crop_width` when wider, and writes it to `dest_path`. Returns the
// picture and stores its width and height in `size_out`.
std::optional<BitmapFile> ScaleCropToFile(std::int32_t width, std::int32_t crop_width,
                                          const std::string& path_or_empty,
                                          const BitmapFile* picture_or_null,
                                          const std::string& dest_path,
                                          std::array<std::int32_t, 2>& size_out);

// ScaleCropToFile of the picture at `path` loaded at `scale`, scaled to `width`
// (0: its own width): the same picture, file and size. A JPEG or bitmap picture
// that is reduced or cut is decoded only where the scaler reads it, so it never
// exists whole at its own size; so is a PNG or GIF one.
Result<BitmapFile> LoadScaledCropped(const std::string& path, const PictureScale& scale,
                                     std::int32_t width, std::int32_t crop_width,
                                     const std::string& dest_path,
                                     std::array<std::int32_t, 2>& size_out);

// One size a picture is wanted at: scaled to `width` (0: its own width) with
// its proportions kept, and cut at `crop_width` when wider.
struct ScaleCrop {
  std::int32_t width = 0;
  std::int32_t crop_width = 0;
};

// A picture made at one ScaleCrop, and its width and height.
struct ScaledPicture {
  BitmapFile picture;
  std::array<std::int32_t, 2> size{};
};

// The sizes wanted of a picture, asked with its width and height.
using ScaleCropSizes = std::function<std::vector<ScaleCrop>(std::int32_t, std::int32_t)>;

// Whether LoadScaledCroppedEach takes the file: a ".jpg", ".png", ".gif", ".bmp"
// or ".rle" name.
bool IsPlannedPicture(const std::string& path);

// LoadScaledCropped of such a file at every size `sizes` asks for, in that
// order, picture i also written to dest_paths[i] unless that is empty: the file
// is read and decoded once, in the rows and columns any of the sizes reads.
// Refused: another kind of file, the file or a size refused, or a file not written.
Result<std::vector<ScaledPicture>> LoadScaledCroppedEach(const std::string& path,
                                                         const ScaleCropSizes& sizes,
                                                         std::span<const std::string> dest_paths);

// A decoder of one picture: of the rows a plan keeps, or of the whole picture.
using DecodePlannedRows = std::function<Result<PictureRows>(const MakeRowPlan&)>;
using DecodeWholePicture = std::function<Result<BitmapFile>()>;

// ScaleCropToFile's pictures at every size `sizes` asks for, writing no file:
// made from the rows `decode_rows` keeps where that saves anything, else from
// the picture `decode_all` makes whole.
Result<std::vector<ScaledPicture>> ScaleCropDecoded(const DecodePlannedRows& decode_rows,
                                                    const DecodeWholePicture& decode_all,
                                                    const ScaleCropSizes& sizes);

// The kinds of file that are decoded only where the scaler reads them.
enum class PlannedKind : std::uint8_t { kBitmap, kJpeg, kPng, kGif };

// The same on the bytes of a file of that kind, writing no file.
Result<BitmapFile> ScaleCropFileBytes(std::span<const std::uint8_t> file, PlannedKind kind,
                                      std::int32_t width, std::int32_t crop_width,
                                      std::array<std::int32_t, 2>& size_out);

// The same at every size `sizes` asks for, decoded once.
Result<std::vector<ScaledPicture>> ScaleCropFileBytesEach(std::span<const std::uint8_t> file,
                                                          PlannedKind kind,
                                                          const ScaleCropSizes& sizes);

// Writes the file and information header of a 24-bit picture into the first 54
// bytes of `block`, leaving the other fields as they are. A block shorter than
// 54 bytes is left alone.
void WriteRgb24Header(std::span<std::uint8_t> block, std::int32_t width, std::int32_t height);

}  // namespace inkmark
