// The converter's entry point on arbitrary parameter blocks, ink pairs and
// source files. Input: 60 bytes of ConversionParams, 8 bytes of inks, one
// byte choosing whether source and destination are the same file, then the
// source file's bytes. Whatever it is given, the converter either refuses or
// writes a raster of exactly the promised form.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "converter/convert.h"
#include "picture/picture_io.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& f, std::size_t at) {
  return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (std::uint32_t{f[at + 3]} << 24);
}

void Check(bool ok) {
  if (!ok) std::abort();
}

// The raster written must match the block: size fields, palette, values.
void CheckRaster(const std::vector<std::uint8_t>& f, const inkmark::ConversionParams& p) {
  Check(f.size() >= 62 && f[0] == 'B' && f[1] == 'M');
  Check(U32(f, 2) == f.size());
  Check(U32(f, 18) == p.target_width && U32(f, 22) == p.target_height);
  const bool one_bit = p.palette_size == 2;
  const std::size_t stride =
      one_bit ? ((p.target_width + 7) / 8 + 3) & ~3u : (p.target_width + 3) & ~3u;
  Check(U32(f, 10) == 54 + 4 * p.palette_size);
  Check(f.size() == U32(f, 10) + stride * p.target_height);
  if (one_bit) return;
  for (std::uint32_t y = 0; y < p.target_height; ++y) {
    for (std::uint32_t x = 0; x < p.target_width; ++x) Check(f[U32(f, 10) + y * stride + x] <= 2);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kHead = sizeof(inkmark::ConversionParams) + 8 + 1;
  if (size < kHead) return 0;
  inkmark::ConversionParams p;
  std::memcpy(&p, data, sizeof p);
  std::int32_t inks[2];
  std::memcpy(inks, data + sizeof p, sizeof inks);
  const bool same_path = data[kHead - 1] & 1;
  // Large targets are folded so that each run stays quick; the size caps
  // themselves are covered by the unit tests.
  if (std::uint64_t{p.target_width} * p.target_height > (1u << 16)) {
    p.target_width %= 300;
    p.target_height %= 200;
  }

  // Two scratch files for the whole run, removed when the run ends.
  static const struct Scratch {
    std::string src, dst;
    ~Scratch() {
      std::remove(src.c_str());
      std::remove(dst.c_str());
    }
  } scratch{"/tmp/fuzz-converter-" + std::to_string(::getpid()) + ".src.bmp",
            "/tmp/fuzz-converter-" + std::to_string(::getpid()) + ".dst.bmp"};
  const std::string& src = scratch.src;
  const std::string& dst = same_path ? scratch.src : scratch.dst;
  std::remove(dst.c_str());
  Check(inkmark::WriteWholeFile(src, {data + kHead, size - kHead}));
  const int rc = QrvConvertLogo(src.c_str(), &p, inks, dst.c_str());
  auto written = inkmark::ReadWholeFile(dst);
  if (rc == 1) {
    Check(written.has_value());
    CheckRaster(*written, p);
  } else if (!same_path) {
    Check(!written.has_value());
  }
  return 0;
}
