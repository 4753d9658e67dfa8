#include "support/bench_pictures.h"

#include <algorithm>
#include <cstdlib>

#include "picture/picture_io.h"
#include "picture/picture_jpeglib.h"

namespace inkmark {
namespace {

// A photograph-like gradient, so that the JPEG has real detail to decode.
std::uint8_t Sample(int x, int y, int c) {
  return static_cast<std::uint8_t>((x * (c + 1) + y * (3 - c)) ^ (x >> 3));
}

// Smooth shading in each channel plus a little noise, as a photograph has.
void PhotoRow(int y, int w, int h, std::uint32_t& seed, std::vector<std::uint8_t>& row) {
  for (int x = 0; x < w; ++x) {
    const int dx = x - w / 2;
    const int dy = y - h / 2;
    const int ring =
        static_cast<int>((static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy) /
                         (static_cast<std::int64_t>(w) * w / 256 + 1));
    const int base[3] = {x * 200 / w + 30, y * 180 / h + 40, 255 - ring};
    for (int c = 0; c < 3; ++c) {
      seed = seed * 1664525u + 1013904223u;
      const int noise = static_cast<int>(seed >> 27) - 16;
      row[3 * x + c] = static_cast<std::uint8_t>(std::clamp(base[c] + noise, 0, 255));
    }
  }
}

// Compresses the rows that `fill` writes, one at a time.
template <typename Fill>
std::vector<std::uint8_t> Compress(int w, int h, bool half_chroma, Fill fill) {
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
  if (half_chroma) {
    cinfo.comp_info[0].h_samp_factor = 2;
    cinfo.comp_info[0].v_samp_factor = 2;
  }
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(3 * w);
  while (cinfo.next_scanline < cinfo.image_height) {
    fill(static_cast<int>(cinfo.next_scanline), row);
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
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
  return Compress(w, h, false, [w](int y, std::vector<std::uint8_t>& row) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) row[3 * x + c] = Sample(x, y, c);
    }
  });
}

std::vector<std::uint8_t> MakePhotoJpeg(int w, int h) {
  std::uint32_t seed = 12345;
  return Compress(w, h, true, [w, h, &seed](int y, std::vector<std::uint8_t>& row) {
    PhotoRow(y, w, h, seed, row);
  });
}

}  // namespace inkmark
