#include "support/bench_pictures.h"

#include <cstdlib>

#include "picture/picture_io.h"
#include "picture/picture_jpeglib.h"

namespace inkmark {
namespace {

// A photograph-like gradient, so that the JPEG has real detail to decode.
std::uint8_t Sample(int x, int y, int c) {
  return static_cast<std::uint8_t>((x * (c + 1) + y * (3 - c)) ^ (x >> 3));
}

}  // namespace

BitmapFile MakeRgb24(int w, int h) {
  const std::size_t stride = (3 * w + 3) & ~3;
  BitmapFile file(54 + stride * h, 0);
  WriteRgb24Header(file, w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) file[54 + y * stride + 3 * x + c] = Sample(x, y, c);
    }
  }
  return file;
}

std::vector<std::uint8_t> MakeJpeg(int w, int h) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = w;
  cinfo.image_height = h;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(3 * w);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) row[3 * x + c] = Sample(x, cinfo.next_scanline, c);
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

}  // namespace inkmark
