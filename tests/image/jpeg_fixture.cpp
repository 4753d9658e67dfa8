#include "image/jpeg_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "image/picture_jpeglib.h"

namespace inkmark::testing {

std::vector<std::uint8_t> EncodeJpeg(const JpegFixture& fixture) {
  const int components = fixture.kind == JpegKind::kColour ? 3
                         : fixture.kind == JpegKind::kGrey ? 1
                                                           : 4;
  if (fixture.samples.size() !=
      static_cast<std::size_t>(fixture.width * fixture.height * components)) {
    throw std::invalid_argument("EncodeJpeg: sample count");
  }
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);  // fixtures are well formed; an error aborts the test
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = fixture.width;
  cinfo.image_height = fixture.height;
  cinfo.input_components = components;
  cinfo.in_color_space = fixture.kind == JpegKind::kColour ? JCS_RGB
                         : fixture.kind == JpegKind::kGrey ? JCS_GRAYSCALE
                                                           : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  cinfo.density_unit = static_cast<UINT8>(fixture.density_unit);
  cinfo.X_density = static_cast<UINT16>(fixture.x_density);
  cinfo.Y_density = static_cast<UINT16>(fixture.y_density);
  jpeg_start_compress(&cinfo, TRUE);
  if (fixture.with_comment_and_app12) {
    const char comment[] = "made for the picture tests";
    jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(comment), sizeof comment);
    const unsigned char ducky[] = {'D', 'u', 'c', 'k', 'y', 0, 1, 2, 3};
    jpeg_write_marker(&cinfo, JPEG_APP0 + 12, ducky, sizeof ducky);
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(fixture.samples.data() +
                                        cinfo.next_scanline * fixture.width * components);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

}  // namespace inkmark::testing
