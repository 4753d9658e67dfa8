// PNG pictures through libpng, row by row. libpng reports a fatal error by
// calling our error function, which must not return; it jumps back to the
// guarded step that made the call. Only plain C data lives between the jump's
// target and the library, so no destructor is skipped: every buffer is made
// before the step, and the reader that owns the libpng state sits in the
// caller and is destroyed normally.
#include "picture/picture_png.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "picture/picture.h"
#include "picture/picture_decode.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"

namespace inkmark {
namespace {

// The libpng state of one decode; destroys it on every path.
struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;
  PictureInput input;
  std::jmp_buf jump;
  // libpng's own words for what stopped the decode.
  char message[256] = {};

  PngReader() = default;
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  ~PngReader() {
    if (png != nullptr) png_destroy_read_struct(&png, &info, nullptr);
  }
};

extern "C" void PngError(png_structp png, png_const_charp text) {
  auto* r = static_cast<PngReader*>(png_get_error_ptr(png));
  std::snprintf(r->message, sizeof r->message, "%s", text);
  std::longjmp(r->jump, 1);
}

// libpng goes on after damage to the image data or its checksums with a
// warning only (too much data, a failed check of the compressed stream, a
// palette index past the palette); such a picture is refused like a broken
// one. Other warnings are about metadata the picture is drawn without.
extern "C" void PngWarning(png_structp png, png_const_charp text) {
  const bool damage = std::strncmp(text, "IDAT: ", 6) == 0 || std::strstr(text, "CRC") != nullptr ||
                      std::strstr(text, "palette index") != nullptr;
  if (damage) PngError(png, text);
}

extern "C" void PngRead(png_structp png, png_bytep out, std::size_t count) {
  auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
  if (!r->input.Take(out, count)) {
    if (r->input.ReadErrno() != 0) png_error(png, std::strerror(r->input.ReadErrno()));
    png_error(png, "the file ends early");
  }
}

// Runs `step`, returning false when libpng took the error exit during it. Kept
// out of line, so that the caller's objects never share the frame that setjmp saves.
template <typename Step>
[[gnu::noinline]] bool Guarded(PngReader& r, Step& step) {
  if (setjmp(r.jump) != 0) return false;
  step();
  return true;
}

Failure LibraryFailure(const PngReader& r) {
  return {FailureCode::kCorrupt, std::string("PNG: ") + r.message};
}

// What the rows are read as: blue, green, red and, when the file has any
// transparency, alpha, 8 bits each.
struct PngLayout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int channels = 0;
  bool interlaced = false;
};

void ReadInfo(PngReader& r, PngLayout& layout) {
  r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &r, PngError, PngWarning);
  if (r.png == nullptr) PngError(nullptr, "no memory");
  r.info = png_create_info_struct(r.png);
  if (r.info == nullptr) png_error(r.png, "no memory");
  png_set_read_fn(r.png, &r, PngRead);
  // Damage anywhere is refused, ancillary chunks included.
  png_set_crc_action(r.png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
  // The 64-megapixel limit is ours, checked once the size is known; libpng's
  // own limits stand back.
  png_set_user_limits(r.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_read_info(r.png, r.info);
  layout.width = png_get_image_width(r.png, r.info);
  layout.height = png_get_image_height(r.png, r.info);
  layout.interlaced = png_get_interlace_type(r.png, r.info) != PNG_INTERLACE_NONE;
}

// Every colour type and depth becomes 8-bit blue, green, red (and alpha):
// palettes and low depths expanded, a transparent colour (tRNS, compared at the
// file's own depth) made alpha, 16 bits rounded to 8. No gamma is applied.
void ChooseOutput(PngReader& r, PngLayout& layout) {
  png_set_expand(r.png);
  png_set_scale_16(r.png);
  png_set_gray_to_rgb(r.png);
  png_set_bgr(r.png);
  if (layout.interlaced) png_set_interlace_handling(r.png);
  png_read_update_info(r.png, r.info);
  layout.channels = png_get_channels(r.png, r.info);
  if ((layout.channels != 3 && layout.channels != 4) ||
      png_get_rowbytes(r.png, r.info) != std::size_t{layout.width} * layout.channels) {
    png_error(r.png, "a pixel layout that cannot be read");
  }
}

// One row over white paper: (c·a + 255·(255 − a) + 127) / 255 per channel.
void ComposeRow(const std::uint8_t* src, int channels, std::uint8_t* dst, std::size_t pixels) {
  if (channels == 3) {
    std::memcpy(dst, src, 3 * pixels);
    return;
  }
  for (std::size_t i = 0; i < pixels; ++i, src += 4, dst += 3) {
    const unsigned a = src[3];
    if (a == 255) {
      std::memcpy(dst, src, 3);
      continue;
    }
    for (int c = 0; c < 3; ++c)
      dst[c] = static_cast<std::uint8_t>((src[c] * a + 255 * (255 - a) + 127) / 255);
  }
}

// Reads every row, keeping those the target keeps, then the file's end, so that
// damage past the last row kept is refused as in a whole decode. `line` holds
// one decoded row; for an interlaced file `image` points at every row, as
// every pass fills in rows already begun.
void ReadRows(PngReader& r, const PngLayout& layout, const Rgb24Rows& target, std::uint8_t* line,
              png_bytep* image) {
  const auto kept = static_cast<std::size_t>(target.KeptWidth());
  if (layout.interlaced) png_read_image(r.png, image);
  for (std::uint32_t y = 0; y < layout.height; ++y) {
    const auto stored = static_cast<std::int32_t>(layout.height - 1 - y);
    png_bytep row = line;
    if (layout.interlaced) {
      row = image[y];
    } else {
      png_read_row(r.png, row, nullptr);
    }
    if (target.Kept(stored)) ComposeRow(row, layout.channels, target.Row(stored), kept);
  }
  png_read_end(r.png, nullptr);
}

// Reads the header and chooses the output; refuses a picture before its rows:
// unreadable or too large.
Status OpenPng(PngReader& r, PngLayout& layout) {
  auto info_step = [&] { ReadInfo(r, layout); };
  if (!Guarded(r, info_step)) return LibraryFailure(r);
  if (Status size = CheckPictureSize(layout.width, layout.height, "PNG"); !size) return size;
  auto output_step = [&] { ChooseOutput(r, layout); };
  if (!Guarded(r, output_step)) return LibraryFailure(r);
  return Status();
}

// The buffers one decode reads through, made before the guarded step.
struct PngBuffers {
  std::vector<std::uint8_t> line;
  std::vector<std::uint8_t> image;
  std::vector<png_bytep> image_rows;

  explicit PngBuffers(const PngLayout& layout) {
    const std::size_t row_bytes = std::size_t{layout.width} * layout.channels;
    if (!layout.interlaced) {
      line.resize(row_bytes);
      return;
    }
    image.resize(row_bytes * layout.height);
    image_rows.resize(layout.height);
    for (std::uint32_t y = 0; y < layout.height; ++y) image_rows[y] = image.data() + y * row_bytes;
  }
};

}  // namespace

Result<BitmapFile> DecodePngToRgb24(const PngSource& source) {
  PngReader r;
  r.input.Set(source.bytes, source.fd);
  PngLayout layout;
  if (Status opened = OpenPng(r, layout); !opened) return opened.failure();
  BitmapFile out;
  Rgb24Rows target = WholeRows(out, static_cast<std::int32_t>(layout.width),
                               static_cast<std::int32_t>(layout.height));
  PngBuffers buffers(layout);
  auto rows_step = [&] {
    ReadRows(r, layout, target, buffers.line.data(), buffers.image_rows.data());
  };
  if (!Guarded(r, rows_step)) return LibraryFailure(r);
  return out;
}

Result<PictureRows> DecodePngPlanned(const PngSource& source, const MakeRowPlan& make_plan) {
  PngReader r;
  r.input.Set(source.bytes, source.fd);
  PngLayout layout;
  if (Status opened = OpenPng(r, layout); !opened) return opened.failure();
  const auto width = static_cast<std::int32_t>(layout.width);
  const auto height = static_cast<std::int32_t>(layout.height);
  PictureRows rows;
  const std::optional<Rgb24Rows> target = PlanRows(rows, width, height, make_plan(width, height));
  if (!target) return {FailureCode::kInvalidArgument, "PNG: no rows to decode"};
  rows.header.assign(kHeadersSize, 0);
  WriteRgb24Header(rows.header, width, height);
  PngBuffers buffers(layout);
  auto rows_step = [&] {
    ReadRows(r, layout, *target, buffers.line.data(), buffers.image_rows.data());
  };
  if (!Guarded(r, rows_step)) return LibraryFailure(r);
  return rows;
}

Result<BitmapFile> DecodePngToRgb24(std::span<const std::uint8_t> png) {
  return DecodePngToRgb24(PngSource{png, -1});
}

Result<PictureRows> DecodePngPlanned(std::span<const std::uint8_t> png,
                                     const MakeRowPlan& make_plan) {
  return DecodePngPlanned(PngSource{png, -1}, make_plan);
}

}  // namespace inkmark
