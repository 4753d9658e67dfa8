// JPEG pictures to bitmap files through libjpeg. libjpeg reports a fatal error by
// calling the error exit, which must not return; ours jumps back to the guarded
// step that made the call. Only plain C data lives between the jump's target and
// the library, so no destructor is skipped; the decoder object that owns the
// libjpeg state sits in the caller of the guarded steps and is destroyed normally.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "picture/picture.h"
#include "picture/picture_bytes.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"
#include "picture/picture_jpeglib.h"

namespace inkmark {
namespace {

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  // libjpeg's own words for what stopped the decode.
  char message[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings and traces are not shown anywhere.
extern "C" void JpegNoOutput(j_common_ptr) {}

// libjpeg only warns about a picture that ends early or holds corrupt data, and
// goes on with blank or garbled rows; such a picture is refused like any other
// unreadable one. Warnings about versions or colour transforms are harmless.
extern "C" void JpegEmitMessage(j_common_ptr cinfo, int msg_level) {
  if (msg_level >= 0) return;  // a trace
  const int code = cinfo->err->msg_code;
  if (code == JWRN_ADOBE_XFORM || code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC) return;
  JpegErrorExit(cinfo);
}

// Reads and discards a COM or APP12 marker's data.
extern "C" boolean JpegSkipMarker(j_decompress_ptr cinfo) {
  jpeg_source_mgr* src = cinfo->src;
  unsigned length = 0;
  for (int i = 0; i < 2; ++i) {
    if (src->bytes_in_buffer == 0 && !(*src->fill_input_buffer)(cinfo)) return FALSE;
    length = (length << 8) | *src->next_input_byte++;
    --src->bytes_in_buffer;
  }
  if (length < 2) ERREXIT(cinfo, JERR_BAD_LENGTH);
  if (length > 2) (*src->skip_input_data)(cinfo, static_cast<long>(length - 2));
  return TRUE;
}

// The libjpeg state of one decode; destroys the decompressor on every path.
struct JpegDecoder {
  jpeg_decompress_struct cinfo{};
  JpegErrorManager err{};
  bool created = false;

  JpegDecoder() = default;
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;
  ~JpegDecoder() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

// Runs `step`, returning false when libjpeg took the error exit during it. Kept
// out of line, so that the caller's objects never share the frame that setjmp saves.
template <typename Step>
[[gnu::noinline]] bool Guarded(JpegDecoder& d, Step& step) {
  if (setjmp(d.err.jump) != 0) return false;
  step();
  return true;
}

// The failure libjpeg reported, in its words.
Failure LibraryFailure(const JpegDecoder& d) {
  return {FailureCode::kCorrupt, std::string("JPEG: ") + d.err.message};
}

// Where the decoded rows go: `stride` bytes apart, bottom-up (the last
// scanline first), or only the scanlines a plan keeps.
struct RowTarget {
  std::uint8_t* pixels;
  std::size_t stride;
};

void ReadHeader(JpegDecoder& d, std::span<const std::uint8_t> jpeg) {
  // Marked first: a creation that fails part-way is still destroyed (the library
  // copes with a half-made, zero-filled decompressor).
  d.created = true;
  jpeg_create_decompress(&d.cinfo);
  jpeg_set_marker_processor(&d.cinfo, JPEG_COM, JpegSkipMarker);
  jpeg_set_marker_processor(&d.cinfo, JPEG_APP0 + 12, JpegSkipMarker);
  jpeg_mem_src(&d.cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&d.cinfo, TRUE);
}

// A bitmap stores blue first: the colour conversion writes that order (the
// same values as the default red-first output, in the other order). A grey
// picture wanted in 24 bits gets its value in all three.
void ChooseOutput(JpegDecoder& d, bool rgb24) {
  if (d.cinfo.out_color_space == JCS_RGB || rgb24) d.cinfo.out_color_space = JCS_EXT_BGR;
}

// Zeroes the padding after `row_bytes` of each of `rows` rows.
void ZeroPadding(const RowTarget& target, std::size_t rows, std::size_t row_bytes) {
  if (target.stride == row_bytes) return;
  for (std::size_t r = 0; r < rows; ++r) {
    std::memset(target.pixels + r * target.stride + row_bytes, 0, target.stride - row_bytes);
  }
}

void ReadRows(JpegDecoder& d, const RowTarget& target, bool rgb24) {
  ChooseOutput(d, rgb24);
  jpeg_start_decompress(&d.cinfo);
  const JDIMENSION height = d.cinfo.output_height;
  // The header's size is checked after the step; the rows must fit before it.
  if (d.cinfo.output_width != d.cinfo.image_width || height != d.cinfo.image_height) {
    ERREXIT(&d.cinfo, JERR_NOTIMPL);
  }
  ZeroPadding(target, height,
              static_cast<std::size_t>(d.cinfo.output_width) * d.cinfo.output_components);
  while (d.cinfo.output_scanline < height) {
    JSAMPROW row = target.pixels + (height - 1 - d.cinfo.output_scanline) * target.stride;
    jpeg_read_scanlines(&d.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&d.cinfo);
}

// The scanlines to decode, ascending, and of each its first `columns` pixels.
struct JpegScanlines {
  std::vector<std::uint32_t> wanted;
  std::uint32_t columns = 0;
};

// Reads only the plan's scanlines, and of each its first `columns` pixels; the
// others are skipped. Row k of the target holds the k-th scanline kept.
void ReadPlannedRows(JpegDecoder& d, const RowTarget& target, const JpegScanlines& plan,
                     std::vector<std::uint8_t>& spare) {
  ChooseOutput(d, true);
  jpeg_start_decompress(&d.cinfo);
  if (d.cinfo.output_width != d.cinfo.image_width ||
      d.cinfo.output_height != d.cinfo.image_height || d.cinfo.output_components != 3) {
    ERREXIT(&d.cinfo, JERR_NOTIMPL);
  }
  const JDIMENSION full_width = d.cinfo.output_width;
  if (plan.columns < full_width) {
    // Upsampling looks one chroma sample to the right: the columns handed back
    // reach past the needed ones by two whole blocks, so the edge never shows.
    JDIMENSION x = 0;
    JDIMENSION w =
        std::min<JDIMENSION>(full_width, plan.columns + 2 * 8 * d.cinfo.max_h_samp_factor);
    jpeg_crop_scanline(&d.cinfo, &x, &w);
  }
  const std::size_t row_bytes = static_cast<std::size_t>(plan.columns) * 3;
  ZeroPadding(target, plan.wanted.size(), row_bytes);
  // Scanlines wider than the kept columns go through a spare row.
  const std::size_t decoded_bytes = static_cast<std::size_t>(d.cinfo.output_width) * 3;
  const bool direct = decoded_bytes == row_bytes;
  // Also where the last scanline is read to reach the end.
  spare.resize(decoded_bytes);
  std::size_t k = 0;
  for (const std::uint32_t wanted : plan.wanted) {
    if (wanted > d.cinfo.output_scanline) {
      jpeg_skip_scanlines(&d.cinfo, wanted - d.cinfo.output_scanline);
    }
    std::uint8_t* out = target.pixels + k * target.stride;
    JSAMPROW row = direct ? out : spare.data();
    if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) ERREXIT(&d.cinfo, JERR_INPUT_EMPTY);
    if (!direct) std::memcpy(out, spare.data(), row_bytes);
    ++k;
  }
  // The rest is still read, so that a picture cut short or corrupt past the
  // last row kept is refused like it is in a whole decode. Skipping to the very
  // end would mark the input ended without reading it, and finishing would then
  // never reach the end marker (nor warn about bytes before it): the last
  // scanline is read instead.
  if (d.cinfo.output_scanline < d.cinfo.output_height) {
    if (d.cinfo.output_height - d.cinfo.output_scanline > 1) {
      jpeg_skip_scanlines(&d.cinfo, d.cinfo.output_height - d.cinfo.output_scanline - 1);
    }
    JSAMPROW row = spare.data();
    if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) ERREXIT(&d.cinfo, JERR_INPUT_EMPTY);
  }
  jpeg_finish_decompress(&d.cinfo);
}

void SetUpErrors(JpegDecoder& d) {
  d.cinfo.err = jpeg_std_error(&d.err.pub);
  d.err.pub.error_exit = JpegErrorExit;
  d.err.pub.output_message = JpegNoOutput;
  d.err.pub.emit_message = JpegEmitMessage;
}

// Reads the header; refuses a picture before its rows: unreadable, CMYK or
// YCCK (no bitmap form here) or too large.
Status OpenJpeg(JpegDecoder& d, std::span<const std::uint8_t> jpeg) {
  if (jpeg.empty()) return {FailureCode::kCorrupt, "JPEG: the file is empty"};
  SetUpErrors(d);
  auto header_step = [&] { ReadHeader(d, jpeg); };
  if (!Guarded(d, header_step)) return LibraryFailure(d);
  const bool grey = d.cinfo.out_color_space == JCS_GRAYSCALE;
  if (!grey && d.cinfo.out_color_space != JCS_RGB)
    return {FailureCode::kUnsupported, "JPEG: CMYK and YCCK colour are not supported"};
  return CheckPictureSize(d.cinfo.image_width, d.cinfo.image_height, "JPEG");
}

// The headers of the picture as a bitmap file: colour as 24 bits with the
// resolution, grey as 8 bits with a grey palette, or grey as the 24-bit
// picture the bitmap reader makes of that (no resolution, the image size).
void WriteJpegHeaders(const JpegDecoder& d, std::span<std::uint8_t> out, bool rgb24,
                      std::size_t total_size) {
  const bool grey = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;
  const bool grey8 = grey && !rgb24;
  const std::uint32_t width = d.cinfo.image_width;
  const std::uint32_t height = d.cinfo.image_height;
  std::memset(out.data(), 0, kHeadersSize);
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, kOffFileSize, static_cast<std::uint32_t>(total_size));
  PutU32(out, kOffPixelOffset, static_cast<std::uint32_t>(kHeadersSize + (grey8 ? 256 * 4 : 0)));
  PutU32(out, kOffHeaderSize, kInfoHeaderSize);
  PutU32(out, kOffWidth, width);
  PutU32(out, kOffHeight, height);
  PutU16(out, kOffPlanes, 1);
  PutU16(out, kOffBitsPerPixel, grey8 ? 8 : 24);
  if (grey && rgb24) {
    PutU32(out, kOffImageSize, static_cast<std::uint32_t>(Rgb24Stride(width) * height));
    return;
  }
  if (d.cinfo.density_unit == 2) {  // dots per centimetre
    PutU32(out, kOffXResolution, d.cinfo.X_density * 100u);
    PutU32(out, kOffYResolution, d.cinfo.Y_density * 100u);
  }
  if (grey8) {
    PutU32(out, kOffColorsUsed, 256);
    for (unsigned i = 0; i < 256; ++i) {
      std::memset(&out[kHeadersSize + 4 * i], static_cast<int>(i), 3);
      out[kHeadersSize + 4 * i + 3] = 0;
    }
  }
}

// The whole picture decoded into a bitmap file, 24-bit or in the JPEG's own form.
Result<BitmapFile> DecodeWhole(std::span<const std::uint8_t> jpeg, bool rgb24) {
  JpegDecoder d;
  if (Status opened = OpenJpeg(d, jpeg); !opened) return opened.failure();
  const bool grey8 = d.cinfo.out_color_space == JCS_GRAYSCALE && !rgb24;
  const std::uint32_t width = d.cinfo.image_width;
  const std::uint32_t height = d.cinfo.image_height;
  const std::size_t stride = grey8 ? PaddedStride(width, 8) : Rgb24Stride(width);
  const std::size_t pixel_offset = kHeadersSize + (grey8 ? 256 * 4 : 0);
  BitmapFile out(pixel_offset + stride * height);
  RowTarget target{out.data() + pixel_offset, stride};
  auto rows_step = [&] { ReadRows(d, target, rgb24); };
  if (!Guarded(d, rows_step)) return LibraryFailure(d);
  WriteJpegHeaders(d, std::span(out.data(), pixel_offset), rgb24, out.size());
  return out;
}

}  // namespace

Result<BitmapFile> DecodeJpegToBitmap(std::span<const std::uint8_t> jpeg) {
  return DecodeWhole(jpeg, false);
}

Result<BitmapFile> DecodeJpegToRgb24(std::span<const std::uint8_t> jpeg) {
  return DecodeWhole(jpeg, true);
}

Result<PictureRows> DecodeJpegPlanned(std::span<const std::uint8_t> jpeg,
                                      const MakeRowPlan& make_plan) {
  JpegDecoder d;
  if (Status opened = OpenJpeg(d, jpeg); !opened) return opened.failure();
  const auto height = static_cast<std::int32_t>(d.cinfo.image_height);
  auto plan = make_plan(static_cast<std::int32_t>(d.cinfo.image_width), height);
  if (!plan || plan->columns == 0 || plan->columns > d.cinfo.image_width ||
      plan->keep.size() != static_cast<std::size_t>(height)) {
    return {FailureCode::kInvalidArgument, "JPEG: no rows to decode"};
  }
  // Scanlines count from the top; stored rows from the bottom.
  JpegScanlines scanlines{{}, plan->columns};
  PictureRows rows;
  rows.slot.assign(plan->keep.size(), -1);
  for (std::int32_t s = 0; s < height; ++s) {
    const auto r = static_cast<std::size_t>(height - 1 - s);
    if (!plan->keep[r]) continue;
    rows.slot[r] = static_cast<std::int32_t>(scanlines.wanted.size());
    scanlines.wanted.push_back(static_cast<std::uint32_t>(s));
  }
  rows.stride = Rgb24Stride(static_cast<std::int32_t>(plan->columns));
  // Written whole below (rows and padding): not filled first.
  rows.owned.reset(new std::uint8_t[rows.stride * scanlines.wanted.size()]);
  rows.pixels = rows.owned.get();
  std::vector<std::uint8_t> spare;
  RowTarget target{rows.owned.get(), rows.stride};
  auto rows_step = [&] { ReadPlannedRows(d, target, scanlines, spare); };
  if (!Guarded(d, rows_step)) return LibraryFailure(d);
  const std::size_t full_size =
      kHeadersSize +
      Rgb24Stride(static_cast<std::int32_t>(d.cinfo.image_width)) * d.cinfo.image_height;
  rows.header.resize(kHeadersSize);
  WriteJpegHeaders(d, rows.header, true, full_size);
  return rows;
}

int DecodeJpegToBitmapFile(const std::string& jpeg_path, const std::string& bitmap_path) {
  auto jpeg = ReadWholeFile(jpeg_path);
  if (!jpeg) return 0;
  auto bitmap = DecodeJpegToBitmap(*jpeg);
  if (!bitmap) return 0;
  return WriteTempFile(bitmap_path, *bitmap) ? 1 : 0;
}

}  // namespace inkmark
