// GIF files written by a small LZW encoder here: each must decode to the
// pixels worked out here from its indexes and colour tables (the first frame on
// its screen, transparency and missing colours as white paper), to what Qt's
// reader makes of it, and planned at every size to what the whole decode
// scaled gives; every damaged file is refused on both roads with its reason.
#include "picture/picture_gif.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <array>
#include <cstdint>
#include <optional>
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

using Palette = std::vector<std::uint32_t>;  // 0xRRGGBB

struct Frame {
  int left = 0;
  int top = 0;
  int width = 37;
  int height = 23;
  bool interlaced = false;
  Palette local;                 // empty: none
  int transparent = -1;          // in a graphic control block before the frame
  int code_size = 3;             // the LZW minimum code size written
  std::vector<std::uint8_t> px;  // indexes, top row first; fewer than the frame has: data
                                 // that ends early
};

struct Gif {
  int width = 37;
  int height = 23;
  Palette global;  // empty: none
  int background = 0;
  std::vector<Frame> frames;
};

// LZW codes as GIF packs them: least significant bit first, the width growing
// as the decoder's table grows, a clear code when the table is full.
std::string Lzw(const std::vector<std::uint8_t>& px, int min_size) {
  const int clear = 1 << min_size;
  std::string out;
  std::uint32_t acc = 0;
  int filled = 0;
  int width = min_size + 1;
  int running = clear + 2;
  auto put = [&](int code) {
    acc |= std::uint32_t(code) << filled;
    filled += width;
    while (filled >= 8) out += char(acc & 0xFF), acc >>= 8, filled -= 8;
  };
  std::vector<std::array<std::int16_t, 256>> next(4096);
  int next_code = clear + 2;
  auto reset = [&] {
    for (auto& n : next) n.fill(-1);
    next_code = clear + 2;
    running = clear + 2;
    width = min_size + 1;
  };
  auto send = [&](int code) {
    put(code);
    if (++running > (1 << width) && width < 12) ++width;
  };
  put(clear);
  reset();
  if (px.empty()) {
    put(clear + 1);
  } else {
    int prefix = px[0];
    for (std::size_t i = 1; i < px.size(); ++i) {
      const int c = px[i];
      if (next[prefix][c] >= 0) {
        prefix = next[prefix][c];
        continue;
      }
      send(prefix);
      if (next_code < 4096) {
        next[prefix][c] = std::int16_t(next_code++);
      } else {
        put(clear);
        reset();
      }
      prefix = c;
    }
    send(prefix);
    put(clear + 1);
  }
  if (filled > 0) out += char(acc & 0xFF);
  return out;
}

std::string Encode(const Gif& g) {
  std::string out = "GIF89a";
  auto u16 = [&out](int v) { out += char(v & 0xFF), out += char(v >> 8); };
  auto table = [&out](const Palette& p) {
    for (std::uint32_t c : p) out += char(c >> 16), out += char(c >> 8), out += char(c);
  };
  auto table_bits = [](const Palette& p) {
    int bits = 0;
    while ((2 << bits) < int(p.size())) ++bits;
    return bits;
  };
  u16(g.width), u16(g.height);
  out += char(g.global.empty() ? 0 : 0x80 | table_bits(g.global));
  out += char(g.background), out += '\0';
  table(g.global);
  for (const Frame& f : g.frames) {
    if (f.transparent >= 0) out += std::string("!\xF9\x04\x01\0\0", 6) + char(f.transparent) + '\0';
    out += ',';
    u16(f.left), u16(f.top), u16(f.width), u16(f.height);
    out += char((f.local.empty() ? 0 : 0x80 | table_bits(f.local)) | (f.interlaced ? 0x40 : 0));
    table(f.local);
    out += char(f.code_size);
    // Interlaced rows are stored every eighth from 0, every eighth from 4,
    // every fourth from 2, every second from 1.
    std::vector<std::uint8_t> reordered;
    if (f.interlaced) {
      for (const auto& [start, step] : {std::array{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
        for (int y = start; y < f.height; y += step)
          reordered.insert(reordered.end(), f.px.begin() + y * f.width,
                           f.px.begin() + (y + 1) * f.width);
      }
    }
    const std::string data = Lzw(f.interlaced ? reordered : f.px, std::max(2, f.code_size));
    for (std::size_t i = 0; i < data.size(); i += 255) {
      out += char(std::min<std::size_t>(255, data.size() - i));
      out += data.substr(i, 255);
    }
    out += '\0';
  }
  out += ';';
  return out;
}

// The picture as this system promises it, worked out from the indexes: RGB per
// pixel, top row first.
std::vector<std::uint32_t> Expected(const Gif& g) {
  const Frame& f = g.frames.front();
  const Palette& colours = f.local.empty() ? g.global : f.local;
  const bool covers = f.left == 0 && f.top == 0 && f.width >= g.width && f.height >= g.height;
  std::uint32_t around = 0xFFFFFF;
  if (!covers && f.transparent < 0 && g.background < int(g.global.size()))
    around = g.global[std::size_t(g.background)];
  std::vector<std::uint32_t> out(std::size_t(g.width * g.height), around);
  for (int y = 0; y < f.height && f.top + y < g.height; ++y) {
    for (int x = 0; x < f.width && f.left + x < g.width; ++x) {
      const int i = f.px[std::size_t(y * f.width + x)];
      out[std::size_t((f.top + y) * g.width + f.left + x)] =
          i == f.transparent || i >= int(colours.size()) ? 0xFFFFFF : colours[std::size_t(i)];
    }
  }
  return out;
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

Bgr AsBgr(std::uint32_t rgb) {
  return {std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16)};
}

std::vector<std::uint8_t> Pattern(int w, int h, int colours, int seed) {
  std::vector<std::uint8_t> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px.push_back(std::uint8_t((x * 3 + y * seed + x * y / 4) % colours));
  return px;
}

const Palette kEight = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                        0xFFFF00, 0x123456, 0xFFFFFF, 0x808080};

struct Case {
  const char* name;
  Gif gif;
  bool as_qt = true;  // Qt reads the same pixels
};

std::vector<Case> Corpus() {
  std::vector<Case> corpus;
  Gif plain{37, 23, kEight, 0, {Frame{}}};
  plain.frames[0].px = Pattern(37, 23, 8, 5);
  corpus.push_back({"global palette", plain});
  Gif interlaced = plain;
  interlaced.frames[0].interlaced = true;
  corpus.push_back({"interlaced", interlaced});
  Gif short_interlaced = interlaced;  // fewer rows than the first pass's step
  short_interlaced.height = short_interlaced.frames[0].height = 3;
  short_interlaced.frames[0].px.resize(37 * 3);
  // Qt's reader misplaces the later passes' rows of a frame under 5 rows high.
  corpus.push_back({"interlaced, 3 rows", short_interlaced, false});
  Gif transparent = plain;
  transparent.frames[0].transparent = 1;
  corpus.push_back({"transparent index", transparent});
  Gif local = plain;
  local.frames[0].local = {0x111111, 0x222222, 0x333333, 0x444444,
                           0xA0B0C0, 0x0F0E0D, 0x987654, 0xFEDCBA};
  corpus.push_back({"local palette over the global one", local});
  Gif local_only = local;
  local_only.global.clear();
  corpus.push_back({"local palette alone", local_only});
  Gif beyond = plain;  // a 4-colour table and indexes up to 7
  beyond.global.resize(4);
  corpus.push_back({"indexes past the table", beyond});
  Gif wide = plain;  // 256 colours, codes up to 12 bits and a table reset
  wide.global.clear();
  for (int i = 0; i < 256; ++i) wide.global.push_back(std::uint32_t(i * 0x010203) & 0xFFFFFF);
  wide.width = wide.frames[0].width = 211;
  wide.height = wide.frames[0].height = 97;
  wide.frames[0].code_size = 8;
  wide.frames[0].px = Pattern(211, 97, 256, 77);
  corpus.push_back({"256 colours", wide});
  Gif smaller = plain;  // on a larger screen: the background colour around it
  smaller.width = 50, smaller.height = 30, smaller.background = 5;
  smaller.frames[0].left = 7, smaller.frames[0].top = 4;
  corpus.push_back({"frame inside the screen", smaller});
  Gif smaller_clear = smaller;  // with a transparent index: paper around it
  smaller_clear.frames[0].transparent = 0;
  corpus.push_back({"frame inside the screen, transparent", smaller_clear});
  Gif overhang = plain;  // cut by the screen's right and bottom edges
  overhang.width = 30, overhang.height = 20;
  overhang.frames[0].left = 3, overhang.frames[0].top = 2;
  corpus.push_back({"frame past the screen", overhang});
  Gif animated = plain;
  Frame second;
  second.px.assign(37 * 23, 3);
  animated.frames.push_back(second);
  corpus.push_back({"first of two frames", animated});
  return corpus;
}

// Qt's reading of the same bytes over white paper, as RGB.
std::optional<std::vector<std::uint32_t>> ByQt(const std::string& bytes) {
  QImage image = QImage::fromData(QByteArray(bytes.data(), qsizetype(bytes.size())), "GIF");
  if (image.isNull()) return std::nullopt;
  image = image.convertToFormat(QImage::Format_ARGB32);
  std::vector<std::uint32_t> out;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      const int a = qAlpha(p);
      auto over = [a](int c) { return std::uint32_t((c * a + 255 * (255 - a) + 127) / 255); };
      out.push_back(over(qRed(p)) << 16 | over(qGreen(p)) << 8 | over(qBlue(p)));
    }
  }
  return out;
}

TEST(GifPictures, CorpusDecodesToItsIndexesColoursAndToQtsPixels) {
  for (const Case& c : Corpus()) {
    SCOPED_TRACE(c.name);
    const std::string file = Encode(c.gif);
    const std::vector<std::uint32_t> want = Expected(c.gif);
    auto got = DecodeGifToRgb24(GifSource{Bytes(file)});
    ASSERT_TRUE(got) << got.detail();
    auto header = ReadBitmapHeader(*got);
    ASSERT_TRUE(header);
    ASSERT_EQ((std::array{header->width, header->height}), (std::array{c.gif.width, c.gif.height}));
    for (int y = 0; y < c.gif.height; ++y)
      for (int x = 0; x < c.gif.width; ++x)
        ASSERT_EQ(PixelAt(*got, x, c.gif.height - 1 - y),
                  AsBgr(want[std::size_t(y * c.gif.width + x)]))
            << "x " << x << " y " << y;
    if (c.as_qt) {
      EXPECT_EQ(ByQt(file), want);
    }
    // Planned at sizes that reduce, cut and keep it, as the whole picture scaled.
    for (const auto& [width, crop] : std::vector<std::array<std::int32_t, 2>>{
             {20, 16}, {0, 9}, {c.gif.width - 1, 50}, {7, 7}}) {
      std::array<std::int32_t, 2> whole_size{}, size{};
      auto whole =
          ScaleCropToFile(width == 0 ? c.gif.width : width, crop, "", &*got, "", whole_size);
      ASSERT_TRUE(whole);
      auto planned = ScaleCropFileBytes(Bytes(file), PlannedKind::kGif, width, crop, size);
      ASSERT_TRUE(planned) << planned.detail();
      EXPECT_EQ(*planned, *whole) << width << " cut at " << crop;
      EXPECT_EQ(size, whole_size);
    }
  }
}

TEST(GifPictures, DamagedFilesAreRefusedWithTheirReasonOnBothRoads) {
  Gif plain{37, 23, kEight, 0, {Frame{}}};
  plain.frames[0].px = Pattern(37, 23, 8, 5);
  const std::string good = Encode(plain);
  std::vector<std::pair<std::string, std::string>> damaged;
  // Cut in the screen descriptor, the colour table, the frame's descriptor and its data.
  for (std::size_t cut :
       {std::size_t(8), std::size_t(20), std::size_t(40), good.size() / 2, good.size() - 3})
    damaged.emplace_back("cut at " + std::to_string(cut), good.substr(0, cut));
  for (int code_size : {9, 12}) {
    Gif g = plain;
    g.frames[0].code_size = code_size;
    damaged.emplace_back("LZW code size " + std::to_string(code_size), Encode(g));
  }
  for (const auto& [w, h] : {std::array{0, 23}, std::array{37, 0}}) {
    Gif g = plain;
    g.frames[0].width = w, g.frames[0].height = h;
    g.frames[0].px.clear();
    damaged.emplace_back("frame of " + std::to_string(w) + " x " + std::to_string(h), Encode(g));
  }
  Gif few = plain;  // the end code comes before the last row
  few.frames[0].px.resize(37 * 20);
  damaged.emplace_back("data ends early", Encode(few));
  Gif none = plain;
  none.frames.clear();
  damaged.emplace_back("no frame", Encode(none));
  damaged.emplace_back("not a GIF", std::string("\x89PNG\r\n\x1a\n", 8) + good.substr(8));
  for (const auto& [name, file] : damaged) {
    SCOPED_TRACE(name);
    auto whole = DecodeGifToRgb24(GifSource{Bytes(file)});
    ASSERT_FALSE(whole);
    EXPECT_EQ(whole.code(), FailureCode::kCorrupt);
    EXPECT_EQ(whole.detail().rfind("GIF: ", 0), 0u) << whole.detail();
    std::array<std::int32_t, 2> size{};
    auto planned = ScaleCropFileBytes(Bytes(file), PlannedKind::kGif, 20, 16, size);
    ASSERT_FALSE(planned);
    EXPECT_EQ(planned.detail(), whole.detail());
  }
}

// Every row of a frame is decoded, shown or not: a frame over the cap is
// refused before any is read, even on a small screen; one at the cap is read.
TEST(GifPictures, AFrameIsHeldToTheCapWhateverTheScreen) {
  Gif at_cap{16, 16, kEight, 0, {Frame{}}};
  at_cap.frames[0].width = at_cap.frames[0].height = 8192;
  at_cap.frames[0].px.assign(std::size_t(8192) * 8192, 3);
  const std::string accepted = Encode(at_cap);
  auto read = DecodeGifToRgb24(GifSource{Bytes(accepted)});
  ASSERT_TRUE(read) << read.detail();
  EXPECT_EQ(PixelAt(*read, 15, 0), AsBgr(kEight[3]));
  Gif over = at_cap;
  over.frames[0].width = 8193;
  over.frames[0].px.clear();
  auto refused = DecodeGifToRgb24(GifSource{Bytes(Encode(over))});
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.code(), FailureCode::kTooLarge);
  EXPECT_EQ(refused.detail(), "GIF: 8193 \u00d7 8192 is more than the 64-megapixel limit");
}

// A real 8000 x 8000 frame (not just a screen of that size) is read through
// the file, reduced for the paper, with every sampled pixel where it belongs.
TEST(GifPictures, AnEightThousandSquareFrameIsReducedFromTheFile) {
  constexpr int kSide = 8000;
  Gif big{kSide, kSide, kEight, 0, {Frame{}}};
  big.frames[0].width = big.frames[0].height = kSide;
  // Bands of 1000 rows, each split into 1000-column stripes.
  auto colour = [](int x, int y) { return std::uint8_t((x / 1000 + y / 1000) % 8); };
  big.frames[0].px.resize(std::size_t(kSide) * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) big.frames[0].px[std::size_t(y) * kSide + x] = colour(x, y);
  TempDir dir;
  const std::string path = dir.Write("big.gif", Encode(big)).string();
  big.frames[0].px = {};
  std::array<std::int32_t, 2> size{};
  auto scaled = LoadScaledCropped(path, {}, 400, 400, "", size);
  ASSERT_TRUE(scaled) << scaled.detail();
  EXPECT_EQ(size, (std::array<std::int32_t, 2>{400, 400}));
  for (int y = 10; y < 400; y += 50)
    for (int x = 10; x < 400; x += 50)
      ASSERT_EQ(PixelAt(*scaled, x, 399 - y), AsBgr(kEight[colour(x * 20, y * 20)]))
          << x << " " << y;
}

}  // namespace
}  // namespace inkmark
