#include "support/bitmap_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "picture/picture_jpeglib.h"

namespace inkmark::testing {
namespace {

void Put(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> BuildBitmap(const BitmapFixture& f) {
  const std::size_t table_start = 14 + f.header_size;
  std::size_t tables_end = table_start + 4 * f.palette.size();
  if (!f.masks.empty()) tables_end = std::max(tables_end, 54 + 4 * f.masks.size());
  const std::size_t offset = f.pixel_offset.value_or(static_cast<std::uint32_t>(tables_end));
  std::vector<std::uint8_t> b(std::max<std::size_t>({offset, tables_end, 54}) + f.pixels.size());
  Put(b, 0, 'B' | 'M' << 8, 2);
  Put(b, 2, static_cast<std::uint32_t>(b.size()));
  Put(b, 10, static_cast<std::uint32_t>(offset));
  Put(b, 14, f.header_size);
  Put(b, 18, static_cast<std::uint32_t>(f.width));
  Put(b, 22, static_cast<std::uint32_t>(f.height));
  Put(b, 26, 1, 2);
  Put(b, 28, f.bits_per_pixel, 2);
  Put(b, 30, f.compression);
  Put(b, 34, f.image_size);
  Put(b, 46, static_cast<std::uint32_t>(f.palette.size()));
  for (std::size_t i = 0; i < f.masks.size(); ++i) Put(b, 54 + 4 * i, f.masks[i]);
  for (std::size_t i = 0; i < f.palette.size(); ++i) {
    std::copy(f.palette[i].begin(), f.palette[i].end(), b.begin() + table_start + 4 * i);
  }
  std::copy(f.pixels.begin(), f.pixels.end(), b.begin() + offset);
  return b;
}

std::vector<std::uint8_t> PackRows(const std::vector<std::vector<std::uint32_t>>& rows,
                                   unsigned bits) {
  std::vector<std::uint8_t> out;
  for (const auto& row : rows) {
    std::vector<std::uint8_t> packed((row.size() * bits + 31) / 32 * 4, 0);
    for (std::size_t x = 0; x < row.size(); ++x) {
      for (unsigned k = 0; k < std::max(bits / 8, 1u); ++k) {
        const std::size_t bit = x * bits + 8 * k;
        packed[bit / 8] |= bits < 8 ? static_cast<std::uint8_t>(row[x] << (8 - bits - bit % 8))
                                    : static_cast<std::uint8_t>(row[x] >> (8 * k));
      }
    }
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

std::uint16_t U16At(std::span<const std::uint8_t> b, std::size_t at) {
  if (at + 2 > b.size()) throw std::out_of_range("U16At");
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32At(std::span<const std::uint8_t> b, std::size_t at) {
  return U16At(b, at) | (std::uint32_t{U16At(b, at + 2)} << 16);
}

Bgr PixelAt(std::span<const std::uint8_t> picture, std::int32_t x, std::int32_t r) {
  const std::size_t stride = (U32At(picture, 18) * 3 + 3) & ~std::size_t{3};
  const std::size_t at = U32At(picture, 10) + r * stride + x * 3;
  if (at + 3 > picture.size()) throw std::out_of_range("PixelAt");
  return {picture[at], picture[at + 1], picture[at + 2]};
}

std::vector<std::uint8_t> EncodeJpeg(int components) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);  // fixtures are well formed; an error aborts the test
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = cinfo.image_height = 16;
  cinfo.input_components = components;
  cinfo.in_color_space = components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> samples(16 * components, 200);
  JSAMPROW row = samples.data();
  while (cinfo.next_scanline < cinfo.image_height) jpeg_write_scanlines(&cinfo, &row, 1);
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

std::vector<std::uint8_t> EncodePhotoJpeg(const JpegCoding& coding) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);  // fixtures are well formed; an error aborts the test
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(coding.width);
  cinfo.image_height = static_cast<JDIMENSION>(coding.height);
  cinfo.input_components = coding.components;
  cinfo.in_color_space = coding.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  cinfo.comp_info[0].h_samp_factor = coding.h_samp;
  cinfo.comp_info[0].v_samp_factor = coding.v_samp;
  cinfo.restart_in_rows = coding.restart_rows;
  if (coding.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> samples(static_cast<std::size_t>(coding.width) * coding.components);
  std::uint32_t noise = 12345;
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < coding.width; ++x) {
      for (int c = 0; c < coding.components; ++c) {
        noise = noise * 1103515245u + 12345u;
        const int stripe = ((x / (3 + c)) + (y / (5 + c))) % 2 ? 60 : 0;
        const int value = (x * (c + 1) * 255 / coding.width + y * 200 / coding.height) / 2 +
                          stripe + static_cast<int>((noise >> 16) % 40);
        samples[static_cast<std::size_t>(x) * coding.components + c] =
            static_cast<JSAMPLE>(std::clamp(value, 0, 255));
      }
    }
    JSAMPROW row = samples.data();
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

std::vector<std::uint8_t> Page(const Rows& rows) {
  auto f = Fixture(static_cast<std::int32_t>(rows[0].size()),
                   static_cast<std::int32_t>(rows.size()), 24);
  f.pixels = PackRows(rows, 24);
  f.image_size = static_cast<std::uint32_t>(f.pixels.size());
  return BuildBitmap(f);
}

}  // namespace inkmark::testing
