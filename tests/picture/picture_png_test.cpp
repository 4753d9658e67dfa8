// PNG files of every colour type, depth, transparency form and interlacing,
// written by a small encoder here from known samples: each must decode to the
// pixels worked out here independently (over white paper, 16 bits rounded to
// 8), the planned decode must equal the whole one at every size, and every
// damaged file must be refused on both roads.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "picture/picture.h"
#include "picture/picture_header.h"
#include "support/bitmap_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::Bgr;
using testing::PixelAt;
using testing::TempDir;

enum ColourType : int { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

int SamplesPerPixel(int type) {
  switch (type) {
    case kRgb:
      return 3;
    case kGreyAlpha:
      return 2;
    case kRgba:
      return 4;
    default:
      return 1;
  }
}

// A picture as the file holds it: samples per pixel at the file's depth.
struct PngPicture {
  int type = kGrey;
  int depth = 8;
  int width = 37;
  int height = 23;
  bool interlaced = false;
  std::vector<std::array<std::uint16_t, 4>> samples;  // per pixel, top row first
  std::vector<std::array<std::uint8_t, 3>> palette;   // red, green, blue
  std::vector<std::uint16_t> trns;  // grey: 1 value; RGB: 3; palette: an alpha per entry
};

void PutBe32(std::string& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out += static_cast<char>(v >> s);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  PutBe32(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  PutBe32(out, static_cast<std::uint32_t>(
                   crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

std::string Be16(std::uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }

// The scanlines of the pixels (x0 + i·dx, y0 + j·dy), each after its filter
// byte: none, sub and up in turn.
void Scanlines(const PngPicture& p, int x0, int y0, int dx, int dy, std::string& out) {
  const int spp = SamplesPerPixel(p.type);
  const int bits = spp * p.depth;
  const int bpp = std::max(1, bits / 8);
  std::string prior;
  for (int y = y0, n = 0; y < p.height; y += dy, ++n) {
    std::string raw;
    unsigned acc = 0;
    int filled = 0;
    for (int x = x0; x < p.width; x += dx) {
      for (int s = 0; s < spp; ++s) {
        const std::uint16_t v = p.samples[static_cast<std::size_t>(y * p.width + x)][s];
        if (p.depth == 16) {
          raw += Be16(v);
        } else if (p.depth == 8) {
          raw += static_cast<char>(v);
        } else {
          acc = (acc << p.depth) | v;
          filled += p.depth;
          if (filled == 8) raw += static_cast<char>(acc), acc = 0, filled = 0;
        }
      }
    }
    if (raw.empty() && filled == 0) return;  // an empty pass
    if (filled > 0) raw += static_cast<char>(acc << (8 - filled));
    const int filter = prior.empty() ? n % 2 : n % 3;
    std::string line(1, static_cast<char>(filter));
    for (std::size_t i = 0; i < raw.size(); ++i) {
      const auto left = i >= std::size_t(bpp) ? std::uint8_t(raw[i - bpp]) : 0;
      const auto up = prior.empty() ? 0 : std::uint8_t(prior[i]);
      const std::uint8_t pred = filter == 1 ? left : filter == 2 ? up : 0;
      line += static_cast<char>(std::uint8_t(raw[i]) - pred);
    }
    out += line;
    prior = raw;
  }
}

std::string Filtered(const PngPicture& p) {
  std::string out;
  if (!p.interlaced) {
    Scanlines(p, 0, 0, 1, 1, out);
    return out;
  }
  static constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  for (const auto& pass : kPasses) Scanlines(p, pass[0], pass[1], pass[2], pass[3], out);
  return out;
}

std::string Deflate(const std::string& data) {
  uLongf size = compressBound(uLong(data.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                      reinterpret_cast<const Bytef*>(data.data()), uLong(data.size()), 6),
            Z_OK);
  out.resize(size);
  return out;
}

const std::string kSignature = "\x89PNG\r\n\x1a\n";

std::string Ihdr(const PngPicture& p) {
  std::string ihdr;
  PutBe32(ihdr, std::uint32_t(p.width));
  PutBe32(ihdr, std::uint32_t(p.height));
  ihdr += {static_cast<char>(p.depth), static_cast<char>(p.type), 0, 0,
           static_cast<char>(p.interlaced)};
  return ihdr;
}

// A file of `p`'s header and `idat` as its only image data, without palette or tRNS.
std::string WithImageData(const PngPicture& p, const std::string& idat) {
  std::string file = kSignature;
  Chunk(file, "IHDR", Ihdr(p));
  Chunk(file, "IDAT", idat);
  Chunk(file, "IEND", "");
  return file;
}

// The file, with `extra` chunks (already framed) before the image data.
std::string Encode(const PngPicture& p, const std::string& extra = "") {
  std::string out = kSignature;
  Chunk(out, "IHDR", Ihdr(p));
  out += extra;
  if (!p.palette.empty()) {
    std::string plte;
    for (const auto& e : p.palette) plte += {char(e[0]), char(e[1]), char(e[2])};
    Chunk(out, "PLTE", plte);
  }
  if (!p.trns.empty()) {
    std::string trns;
    for (const std::uint16_t v : p.trns) {
      if (p.type == kPalette) {
        trns += static_cast<char>(v);
      } else {
        trns += Be16(v);
      }
    }
    Chunk(out, "tRNS", trns);
  }
  Chunk(out, "IDAT", Deflate(Filtered(p)));
  Chunk(out, "IEND", "");
  return out;
}

// What the picture must print as, blue, green, red by stored row, worked out
// from the samples: depths below 8 stretched to 0..255, 16 bits rounded to 8,
// a transparent colour matched at the file's own depth, all over white.
std::vector<Bgr> Expected(const PngPicture& p) {
  const unsigned max = (1u << p.depth) - 1;
  auto to8 = [&](unsigned v) { return static_cast<unsigned>(std::lround(v * 255.0 / max)); };
  std::vector<Bgr> out;
  for (int r = 0; r < p.height; ++r) {
    const int y = p.height - 1 - r;
    for (int x = 0; x < p.width; ++x) {
      const auto& s = p.samples[static_cast<std::size_t>(y * p.width + x)];
      unsigned red = 0, green = 0, blue = 0, alpha = 255;
      switch (p.type) {
        case kGrey:
        case kGreyAlpha:
          red = green = blue = to8(s[0]);
          if (p.type == kGreyAlpha) alpha = to8(s[1]);
          if (!p.trns.empty() && s[0] == p.trns[0]) alpha = 0;
          break;
        case kRgb:
        case kRgba:
          red = to8(s[0]), green = to8(s[1]), blue = to8(s[2]);
          if (p.type == kRgba) alpha = to8(s[3]);
          if (!p.trns.empty() && s[0] == p.trns[0] && s[1] == p.trns[1] && s[2] == p.trns[2])
            alpha = 0;
          break;
        case kPalette:
          red = p.palette[s[0]][0], green = p.palette[s[0]][1], blue = p.palette[s[0]][2];
          if (s[0] < p.trns.size()) alpha = p.trns[s[0]];
          break;
      }
      auto over_white = [alpha](unsigned c) {
        return static_cast<std::uint8_t>((c * alpha + 255 * (255 - alpha) + 127) / 255);
      };
      out.push_back({over_white(blue), over_white(green), over_white(red)});
    }
  }
  return out;
}

// Samples that reach both ends of the range and vary in every direction; the
// transparent colour, when wanted, is the first pixel's, and a neighbouring
// 16-bit value that rounds to the same 8 bits stays opaque beside it.
PngPicture Picture(int type, int depth, bool trns, bool interlaced) {
  PngPicture p;
  p.type = type, p.depth = depth, p.interlaced = interlaced;
  const unsigned max = (1u << depth) - 1;
  const int spp = SamplesPerPixel(type);
  if (type == kPalette) {
    const int entries = 1 << std::min(depth, 5);  // 32 of 256: indexes past them unused
    for (int i = 0; i < entries; ++i)
      p.palette.push_back({std::uint8_t(i * 37), std::uint8_t(255 - i * 11), std::uint8_t(i * 90)});
    if (trns) {
      for (int i = 0; i < entries / 2 + 1; ++i) p.trns.push_back(std::uint16_t((i * 97) % 256));
    }
  }
  const unsigned range = type == kPalette ? unsigned(p.palette.size() - 1) : max;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      std::array<std::uint16_t, 4> s{};
      for (int c = 0; c < spp; ++c) {
        const unsigned v = (x * 2654435761u + y * 40503u * (c + 1) + c * 977u) >> 7;
        s[c] = static_cast<std::uint16_t>((x + y) % 9 == 0 ? range : v % (range + 1));
      }
      p.samples.push_back(s);
    }
  }
  if (trns && type != kPalette) {
    auto& first = p.samples[0];
    p.trns.assign(first.begin(), first.begin() + spp);
    if (depth == 16) {
      for (int c = 0; c < spp; ++c) {
        p.samples[1][c] = first[c];
        p.samples[2][c] = first[c];
      }
      p.samples[2][0] = static_cast<std::uint16_t>(first[0] ^ 1);  // same in 8 bits
    }
  }
  return p;
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

struct Form {
  int type;
  int depth;
  bool trns;
};

std::vector<Form> EveryForm() {
  std::vector<Form> out;
  for (int d : {1, 2, 4, 8, 16}) out.push_back({kGrey, d, false}), out.push_back({kGrey, d, true});
  for (int d : {1, 2, 4, 8})
    out.push_back({kPalette, d, false}), out.push_back({kPalette, d, true});
  for (int d : {8, 16}) {
    out.push_back({kRgb, d, false}), out.push_back({kRgb, d, true});
    out.push_back({kGreyAlpha, d, false}), out.push_back({kRgba, d, false});
  }
  return out;
}

// Scaled to the paper straight from the bytes must be the whole decode scaled.
void ExpectPlannedMatchesWhole(const std::string& file, const BitmapFile& whole,
                               const std::string& name) {
  const std::int32_t w = static_cast<std::int32_t>(testing::U32At(whole, 18));
  for (const auto& [width, crop] : std::vector<std::array<std::int32_t, 2>>{
           {w / 2, w / 2}, {w - 1, w / 3}, {0, 5}, {7, 7}, {w, w}}) {
    std::array<std::int32_t, 2> want_size{}, got_size{};
    auto want = ScaleCropToFile(width == 0 ? w : width, crop, "", &whole, "", want_size);
    ASSERT_TRUE(want) << name;
    auto got = ScaleCropFileBytes(Bytes(file), PlannedKind::kPng, width, crop, got_size);
    ASSERT_TRUE(got) << name << " " << width << " " << crop << ": " << got.detail();
    EXPECT_TRUE(*got == *want) << name << " at " << width << " cut at " << crop;
    EXPECT_EQ(got_size, want_size) << name;
  }
}

TEST(PicturePng, EveryColourTypeDepthAndTransparencyGivesTheIndependentPixels) {
  TempDir dir;
  for (const Form& f : EveryForm()) {
    for (const bool interlaced : {false, true}) {
      const PngPicture p = Picture(f.type, f.depth, f.trns, interlaced);
      const std::string name = "type" + std::to_string(f.type) + "-" + std::to_string(f.depth) +
                               (f.trns ? "-trns" : "") + (interlaced ? "-adam7" : "") + ".png";
      const std::string file = Encode(p);
      auto got = DecodePngToRgb24(Bytes(file));
      ASSERT_TRUE(got) << name << ": " << got.detail();
      const auto want = Expected(p);
      for (int r = 0; r < p.height; ++r)
        for (int x = 0; x < p.width; ++x)
          ASSERT_EQ(PixelAt(*got, x, r), want[std::size_t(r * p.width + x)])
              << name << " x " << x << " row " << r;
      // From the disk, whole and for the paper, it is the same picture.
      const std::string path = dir.Write(name, file).string();
      EXPECT_EQ(LoadPicture(path), *got) << name;
      ExpectPlannedMatchesWhole(file, *got, name);
      std::array<std::int32_t, 2> size{}, file_size{};
      EXPECT_EQ(LoadScaledCropped(path, {}, 20, 16, "", file_size),
                ScaleCropFileBytes(Bytes(file), PlannedKind::kPng, 20, 16, size))
          << name;
    }
  }
}

// Gamma and background chunks change nothing: no gamma is applied, and
// transparency is always over the white paper.
TEST(PicturePng, GammaAndBackgroundChunksLeaveThePixelsAlone) {
  const PngPicture p = Picture(kRgba, 8, false, false);
  std::string extra;
  std::string gama;
  PutBe32(gama, 100000);  // gamma 1.0 against the usual 0.45455
  Chunk(extra, "gAMA", gama);
  auto plain = DecodePngToRgb24(Bytes(Encode(p)));
  auto with_gamma = DecodePngToRgb24(Bytes(Encode(p, extra)));
  ASSERT_TRUE(plain);
  ASSERT_TRUE(with_gamma) << with_gamma.detail();
  EXPECT_TRUE(*plain == *with_gamma);
  // bKGD comes after PLTE by the format's order; for RGB it stands anywhere before IDAT.
  std::string bkgd;
  Chunk(bkgd, "bKGD", Be16(0) + Be16(0) + Be16(0));
  auto with_background = DecodePngToRgb24(Bytes(Encode(p, bkgd)));
  ASSERT_TRUE(with_background) << with_background.detail();
  EXPECT_TRUE(*plain == *with_background);
}

// Where the IDAT chunk's data starts in a file Encode made without extra chunks.
std::size_t IdatData(const std::string& file) { return file.find("IDAT") + 4; }

TEST(PicturePng, DamagedFilesAreRefusedWholeAndForThePaper) {
  const PngPicture p = Picture(kRgb, 8, false, false);
  const std::string good = Encode(p);
  const std::size_t idat = IdatData(good);
  std::vector<std::pair<std::string, std::string>> damaged;
  for (const std::size_t cut : {std::size_t{5}, std::size_t{20}, idat + 10,
                                (idat + good.size()) / 2, good.size() - 20, good.size() - 5})
    damaged.push_back({"cut at " + std::to_string(cut), good.substr(0, cut)});
  {
    std::string crc = good;
    crc[good.size() - 13] ^= 1;  // the last byte of the IDAT chunk's CRC
    damaged.push_back({"IDAT CRC", crc});
    std::string text;
    Chunk(text, "tEXt", std::string("Comment") + '\0' + "hello");
    text[text.size() - 1] ^= 1;
    damaged.push_back({"tEXt CRC", Encode(p, text)});
  }
  {
    // A filter type past the five there are, in the last row.
    std::string raw = Filtered(p);
    raw[raw.size() - (std::size_t(p.width) * 3 + 1)] = 5;
    damaged.push_back({"filter 5", WithImageData(p, Deflate(raw))});
    // No image data at all, and more rows than the picture has.
    damaged.push_back({"empty IDAT", WithImageData(p, "")});
    damaged.push_back({"too much data", WithImageData(p, Deflate(Filtered(p) + Filtered(p)))});
    // The compressed stream's own check broken.
    std::string z = Deflate(Filtered(p));
    z.back() ^= 0x40;
    damaged.push_back({"adler32", WithImageData(p, z)});
  }
  for (const auto& [name, file] : damaged) {
    auto whole = DecodePngToRgb24(Bytes(file));
    ASSERT_FALSE(whole) << name;
    EXPECT_EQ(whole.code(), FailureCode::kCorrupt) << name;
    EXPECT_EQ(whole.detail().rfind("PNG: ", 0), 0u) << name << ": " << whole.detail();
    for (const std::int32_t width : {18, 0}) {
      std::array<std::int32_t, 2> size{};
      auto planned = ScaleCropFileBytes(Bytes(file), PlannedKind::kPng, width, 9, size);
      EXPECT_FALSE(planned) << name << " at " << width;
    }
  }
  auto crc = DecodePngToRgb24(Bytes(damaged[6].second));
  ASSERT_FALSE(crc);
  EXPECT_EQ(crc.detail(), "PNG: IDAT: CRC error");
}

// A file claiming the size, without image data: refused before any row is read.
std::string HeaderOnly(int width, int height) {
  PngPicture p;
  p.width = width, p.height = height, p.type = kGrey, p.depth = 1;
  return WithImageData(p, "");
}

// The 64-megapixel limit is the only one: 8192 x 8192 is read (for the paper,
// never whole), one column more is refused with the size named.
TEST(PicturePng, TheLimitIsOursAlone) {
  PngPicture p;
  p.width = 8192, p.height = 8192, p.type = kGrey, p.depth = 1;
  // A black square of 16 at the bottom left, the rest white.
  std::string raw;
  const std::string white_row = std::string(1, '\0') + std::string(8192 / 8, '\xff');
  for (int y = 0; y < p.height - 16; ++y) raw += white_row;
  for (int y = 0; y < 16; ++y) raw += std::string(3, '\0') + std::string(8192 / 8 - 2, '\xff');
  const std::string file = WithImageData(p, Deflate(raw));
  std::array<std::int32_t, 2> size{};
  auto scaled = ScaleCropFileBytes(Bytes(file), PlannedKind::kPng, 512, 512, size);
  ASSERT_TRUE(scaled) << scaled.detail();
  EXPECT_EQ(size, (std::array<std::int32_t, 2>{512, 512}));
  EXPECT_EQ(PixelAt(*scaled, 0, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(PixelAt(*scaled, 1, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(PixelAt(*scaled, 0, 1), (Bgr{255, 255, 255}));

  auto over = DecodePngToRgb24(Bytes(HeaderOnly(8193, 8192)));
  ASSERT_FALSE(over);
  EXPECT_EQ(over.code(), FailureCode::kTooLarge);
  EXPECT_EQ(over.detail(), "PNG: 8193 \u00d7 8192 is more than the 64-megapixel limit");
  EXPECT_EQ(
      ScaleCropFileBytes(Bytes(HeaderOnly(8193, 8192)), PlannedKind::kPng, 512, 512, size).code(),
      FailureCode::kTooLarge);
  EXPECT_EQ(DecodePngToRgb24(Bytes(HeaderOnly(32769, 1))).code(), FailureCode::kTooLarge);
}

}  // namespace
}  // namespace inkmark
