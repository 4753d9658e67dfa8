// Makes real JPEG files with libjpeg's compressor for the picture tests.
#pragma once

#include <cstdint>
#include <vector>

namespace inkmark::testing {

enum class JpegKind { kColour, kGrey, kCmyk };

struct JpegFixture {
  int width = 8;
  int height = 8;
  JpegKind kind = JpegKind::kColour;
  // Samples top row first: RGB, grey or CMYK as the kind says.
  std::vector<std::uint8_t> samples;
  int density_unit = 0;  // 0 none, 1 per inch, 2 per centimetre
  int x_density = 1;
  int y_density = 1;
  bool with_comment_and_app12 = false;
};

std::vector<std::uint8_t> EncodeJpeg(const JpegFixture& fixture);

}  // namespace inkmark::testing
