// JPEG pictures to bitmap files through libjpeg. libjpeg reports a fatal error by
// calling the error exit, which must not return; ours jumps back to the guarded
// step that made the call. Only plain C data lives between the jump's target and
// the library, so no destructor is skipped; the decoder object that owns the
// libjpeg state sits in the caller of the guarded steps and is destroyed normally.
#include <csetjmp>
#include <cstdio>
#include <cstring>

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
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
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

// Where the decoded rows go: the bitmap's pixel rows, filled bottom-up.
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

void ReadRows(JpegDecoder& d, const RowTarget& target) {
  // A bitmap stores blue first: let the colour conversion write that order
  // (the same values as the default red-first output, in the other order).
  if (d.cinfo.out_color_space == JCS_RGB) d.cinfo.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&d.cinfo);
  const JDIMENSION height = d.cinfo.output_height;
  while (d.cinfo.output_scanline < height) {
    JSAMPROW row = target.pixels + (height - 1 - d.cinfo.output_scanline) * target.stride;
    jpeg_read_scanlines(&d.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&d.cinfo);
}

}  // namespace

std::optional<BitmapFile> DecodeJpegToBitmap(std::span<const std::uint8_t> jpeg) {
  if (jpeg.empty()) return std::nullopt;
  JpegDecoder d;
  d.cinfo.err = jpeg_std_error(&d.err.pub);
  d.err.pub.error_exit = JpegErrorExit;
  d.err.pub.output_message = JpegNoOutput;
  d.err.pub.emit_message = JpegEmitMessage;

  auto header_step = [&] { ReadHeader(d, jpeg); };
  if (!Guarded(d, header_step)) return std::nullopt;

  // CMYK and YCCK pictures have no bitmap form here.
  const bool grey = d.cinfo.out_color_space == JCS_GRAYSCALE;
  if (!grey && d.cinfo.out_color_space != JCS_RGB) return std::nullopt;
  if (!PictureSizeAllowed(d.cinfo.image_width, d.cinfo.image_height)) return std::nullopt;

  const std::uint32_t width = d.cinfo.image_width;
  const std::uint32_t height = d.cinfo.image_height;
  const std::size_t stride = grey ? PaddedStride(width, 8) : Rgb24Stride(width);
  const std::size_t pixel_offset = kHeadersSize + (grey ? 256 * 4 : 0);
  BitmapFile out(pixel_offset + stride * height, 0);

  RowTarget target{out.data() + pixel_offset, stride};
  auto rows_step = [&] { ReadRows(d, target); };
  if (!Guarded(d, rows_step)) return std::nullopt;
  // Default scaling keeps the header's size; anything else would not fit the rows.
  if (d.cinfo.output_width != width || d.cinfo.output_height != height ||
      d.cinfo.output_components != (grey ? 1 : 3)) {
    return std::nullopt;
  }

  std::uint32_t x_resolution = 0, y_resolution = 0;
  if (d.cinfo.density_unit == 2) {  // dots per centimetre
    x_resolution = d.cinfo.X_density * 100u;
    y_resolution = d.cinfo.Y_density * 100u;
  }
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, kOffFileSize, static_cast<std::uint32_t>(out.size()));
  PutU32(out, kOffPixelOffset, static_cast<std::uint32_t>(pixel_offset));
  PutU32(out, kOffHeaderSize, kInfoHeaderSize);
  PutU32(out, kOffWidth, width);
  PutU32(out, kOffHeight, height);
  PutU16(out, kOffPlanes, 1);
  PutU16(out, kOffBitsPerPixel, grey ? 8 : 24);
  PutU32(out, kOffXResolution, x_resolution);
  PutU32(out, kOffYResolution, y_resolution);
  if (grey) {
    PutU32(out, kOffColorsUsed, 256);
    for (unsigned i = 0; i < 256; ++i) {
      std::memset(&out[kHeadersSize + 4 * i], static_cast<int>(i), 3);
    }
  }
  return out;
}

int DecodeJpegToBitmapFile(const std::string& jpeg_path, const std::string& bitmap_path) {
  auto jpeg = ReadWholeFile(jpeg_path);
  if (!jpeg || jpeg->empty()) return 0;
  auto bitmap = DecodeJpegToBitmap(*jpeg);
  if (!bitmap) return 0;
  return WriteTempFile(bitmap_path, *bitmap) ? 1 : 0;
}

}  // namespace inkmark
