// PNG, GIF and SVG sources: the same picture in PNG or GIF gives the same 24-bit
// picture as in BMP, transparency is white paper, and SVG is drawn at the width
// it is wanted at with sharp edges, or at its own size at the printer's resolution.
#include "picture/picture_qt.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <filesystem>
#include <string>

#include "picture/picture.h"
#include "picture/picture_header.h"
#include "support/bitmap_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using namespace testing;

constexpr std::uint32_t kPalette[] = {0x000000, 0xFF0000, 0xFFFFFF, 0x0000FF};

// 13 x 7 of the four palette colours, in a pattern that shows any row or column mix-up.
std::uint32_t PatternAt(int x, int y) { return kPalette[(x * 3 + y * 5 + x * y) % 4]; }

// The pattern as a 24-bit BMP, rows bottom-up as the file stores them.
std::vector<std::uint8_t> PatternBmp() {
  Rows rows;
  for (int r = 0; r < 7; ++r) {
    rows.emplace_back();
    for (int x = 0; x < 13; ++x) rows.back().push_back(PatternAt(x, 6 - r));
  }
  BitmapFixture f = Fixture(13, 7, 24);
  f.pixels = PackRows(rows, 24);
  return BuildBitmap(f);
}

QImage PatternImage(QImage::Format format) {
  QImage image(13, 7, QImage::Format_RGB32);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) image.setPixel(x, y, 0xFF000000u | PatternAt(x, y));
  return image.convertToFormat(format);
}

std::string Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format));
  return bytes.toStdString();
}

// A GIF of 2-bit indexes with a clear code after every two, so that every code
// stays 3 bits wide; one image block per frame.
std::string Gif(int w, int h, const std::vector<std::vector<int>>& frames) {
  std::string out = "GIF89a";
  auto u16 = [&out](int v) { out += char(v & 0xFF), out += char(v >> 8); };
  u16(w), u16(h);
  out += char(0x81), out += '\0', out += '\0';  // global table of 4 entries
  for (std::uint32_t c : kPalette) out += char(c >> 16), out += char(c >> 8), out += char(c);
  for (const auto& pixels : frames) {
    out += ',';
    u16(0), u16(0), u16(w), u16(h);
    out += '\0';
    out += char(2);  // minimum code size
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    auto code = [&](int c) {
      bits |= std::uint32_t(c) << count;
      count += 3;
      while (count >= 8) data += char(bits & 0xFF), bits >>= 8, count -= 8;
    };
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      if (i % 2 == 0) code(4);
      code(pixels[i]);
    }
    code(5);
    if (count > 0) data += char(bits & 0xFF);
    for (std::size_t i = 0; i < data.size(); i += 255) {
      const std::string block = data.substr(i, 255);
      out += char(block.size());
      out += block;
    }
    out += '\0';
  }
  out += ';';
  return out;
}

void ExpectSamePixels(const BitmapFile& got, const BitmapFile& want) {
  auto g = ReadBitmapHeader(got);
  auto w = ReadBitmapHeader(want);
  ASSERT_TRUE(g && w);
  ASSERT_EQ(g->bits_per_pixel, 24);
  ASSERT_EQ((std::array{g->width, g->height}), (std::array{w->width, w->height}));
  for (std::int32_t r = 0; r < w->height; ++r)
    for (std::int32_t x = 0; x < w->width; ++x)
      ASSERT_EQ(PixelAt(got, x, r), PixelAt(want, x, r)) << "x " << x << " row " << r;
}

TEST(OtherPictures, PngOfEveryDepthAndGifFirstFrameMatchTheBmp) {
  TempDir dir;
  auto bmp = LoadPicture(dir.Write("pattern.bmp", PatternBmp()).string());
  ASSERT_TRUE(bmp);
  const std::pair<const char*, QImage::Format> kPngs[] = {
      {"rgb8.png", QImage::Format_RGB888},
      {"rgba16.PNG", QImage::Format_RGBA64},
      {"palette.png", QImage::Format_Indexed8},
  };
  for (const auto& [name, format] : kPngs) {
    SCOPED_TRACE(name);
    auto png = LoadPicture(dir.Write(name, Encoded(PatternImage(format), "png")).string());
    ASSERT_TRUE(png);
    ExpectSamePixels(*png, *bmp);
  }
  // The first frame counts; the second is another picture.
  std::vector<int> first, second(13 * 7, 1);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) first.push_back((x * 3 + y * 5 + x * y) % 4);
  auto gif = LoadPicture(dir.Write("anim.gif", Gif(13, 7, {first, second})).string());
  ASSERT_TRUE(gif);
  ExpectSamePixels(*gif, *bmp);

  // Grey stays grey: the same levels as a BMP of greys.
  QImage grey(4, 1, QImage::Format_Grayscale8);
  const int kLevels[] = {0, 77, 200, 255};
  for (int x = 0; x < 4; ++x) grey.setPixel(x, 0, qRgb(kLevels[x], kLevels[x], kLevels[x]));
  auto g = LoadPicture(dir.Write("grey.png", Encoded(grey, "png")).string());
  ASSERT_TRUE(g);
  for (int x = 0; x < 4; ++x)
    EXPECT_EQ(PixelAt(*g, x, 0),
              (Bgr{std::uint8_t(kLevels[x]), std::uint8_t(kLevels[x]), std::uint8_t(kLevels[x])}));

  // The name decides the reader: a BMP under a PNG name, or a broken file, is refused.
  EXPECT_FALSE(
      LoadPicture(dir.Write("bmp.png", ReadFileText(dir.path() / "pattern.bmp")).string()));
  EXPECT_FALSE(LoadPicture(dir.Write("cut.gif", Gif(13, 7, {first}).substr(0, 30)).string()));
}

// The GIF's own screen size at `w` x `h`, its frame left as it is.
std::string OnScreen(std::string gif, int w, int h) {
  gif[6] = char(w & 0xFF), gif[7] = char(w >> 8), gif[8] = char(h & 0xFF), gif[9] = char(h >> 8);
  return gif;
}

// The 64-megapixel cap is the only limit, not Qt's own allocation limit: a
// GIF of 8192 x 8192 is read (its first frame in the top-left corner), one
// column more is refused with the size named.
TEST(OtherPictures, LargeGifsAreReadUpToOurLimitAlone) {
  TempDir dir;
  std::vector<int> frame;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) frame.push_back((x * 3 + y * 5 + x * y) % 4);
  const std::string gif = Gif(13, 7, {frame});
  auto big = LoadPicture(dir.Write("big.gif", OnScreen(gif, 8192, 8192)).string());
  ASSERT_TRUE(big) << big.detail();
  auto header = ReadBitmapHeader(*big);
  ASSERT_TRUE(header);
  EXPECT_EQ((std::array{header->width, header->height}), (std::array{8192, 8192}));
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 13; ++x) {
      const std::uint32_t c = PatternAt(x, y);
      ASSERT_EQ(PixelAt(*big, x, 8191 - y),
                (Bgr{std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)}))
          << x << " " << y;
    }
  }
  big = Result<BitmapFile>(FailureCode::kNoMemory);  // released before the next one
  auto over = LoadPicture(dir.Write("over.gif", OnScreen(gif, 8193, 8192)).string());
  ASSERT_FALSE(over);
  EXPECT_EQ(over.code(), FailureCode::kTooLarge);
  EXPECT_EQ(over.detail(), "GIF: 8193 \u00d7 8192 is more than the 64-megapixel limit");
}

TEST(OtherPictures, TransparentPartsAreWhitePaper) {
  TempDir dir;
  QImage image(3, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(0, 0, 0, 0));      // transparent (its colour is black)
  image.setPixel(1, 0, qRgba(0, 0, 0, 128));    // half-transparent black
  image.setPixel(2, 0, qRgba(255, 0, 0, 255));  // opaque red
  auto png = LoadPicture(dir.Write("alpha.png", Encoded(image, "png")).string());
  ASSERT_TRUE(png);
  EXPECT_EQ(PixelAt(*png, 0, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(PixelAt(*png, 1, 0), (Bgr{127, 127, 127}));
  EXPECT_EQ(PixelAt(*png, 2, 0), (Bgr{0, 0, 255}));
}

// Black left half, white right half, and a black bar along the bottom quarter.
constexpr char kHalves[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="50.8mm" height="25.4mm" viewBox="0 0 100 50">)"
    R"(<rect x="0" y="0" width="50" height="50" fill="#000"/>)"
    R"(<rect x="0" y="37.5" width="100" height="12.5" fill="black"/></svg>)";

TEST(OtherPictures, SvgIsDrawnSharpAtTheWidthAskedFor) {
  TempDir dir;
  dir.Write("halves.svg", kHalves);
  const std::string path = (dir.path() / "halves.svg").string();
  EXPECT_TRUE(IsScalablePicture(path));
  for (int width : {200, 360}) {
    SCOPED_TRACE(width);
    auto svg = LoadPicture(path, PictureScale{width, 180});
    ASSERT_TRUE(svg);
    auto header = ReadBitmapHeader(*svg);
    ASSERT_EQ((std::array{header->width, header->height}), (std::array{width, width / 2}));
    // The reference: every pixel pure black or pure white, the edges where the drawing puts them.
    const int h = width / 2;
    for (int r = 0; r < h; ++r) {
      const int y = h - 1 - r;  // stored bottom-up
      for (int x = 0; x < width; ++x) {
        const bool black = x < width / 2 || y >= h * 3 / 4;
        const std::uint8_t v = black ? 0 : 255;
        ASSERT_EQ(PixelAt(*svg, x, r), (Bgr{v, v, v})) << "x " << x << " y " << y;
      }
    }
  }
}

// Black pixels of a 24-bit picture.
int InkedPixels(const BitmapFile& picture) {
  auto header = ReadBitmapHeader(picture);
  int n = 0;
  for (std::int32_t r = 0; r < header->height; ++r)
    for (std::int32_t x = 0; x < header->width; ++x)
      n += PixelAt(picture, x, r) != Bgr{255, 255, 255};
  return n;
}

std::string SvgWithImage(const std::string& href) {
  return R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
         R"(width="40" height="20"><image x="0" y="0" width="40" height="20" xlink:href=")" +
         href + R"("/></svg>)";
}

// Nothing outside the document is read: an image named by a path (absolute or
// relative to the working folder), a file: or http: URI, a FIFO or the
// document itself prints no ink and neither blocks nor recurses; a picture
// embedded as a data: URI is drawn.
TEST(OtherPictures, SvgNeverReadsAnotherFile) {
  TempDir dir;
  QImage black(8, 8, QImage::Format_RGB32);
  black.fill(Qt::black);
  const auto ink = dir.Write("ink.png", Encoded(black, "png"));
  const auto fifo = dir.path() / "fifo.png";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string relative = std::filesystem::relative(ink).string();
  const std::vector<std::string> refs = {
      ink.string(),
      relative,
      "file://" + ink.string(),
      "http://127.0.0.1:9/ink.png",
      fifo.string(),
      (dir.path() / "self.svg").string(),
      "self.svg",
      "data:text/plain;base64,aGVsbG8=",
      "data:image/svg+xml;base64," +
          QByteArray::fromStdString(SvgWithImage(ink.string())).toBase64().toStdString()};
  for (const std::string& ref : refs) {
    SCOPED_TRACE(ref);
    const auto path = dir.Write("self.svg", SvgWithImage(ref));
    auto svg = LoadPicture(path.string(), PictureScale{40, 96});
    ASSERT_TRUE(svg) << svg.detail();
    EXPECT_EQ(InkedPixels(*svg), 0);
  }
  const std::string data =
      "data:image/png;base64," +
      QByteArray::fromStdString(Encoded(black, "png")).toBase64().toStdString();
  auto embedded =
      LoadPicture(dir.Write("data.svg", SvgWithImage(data)).string(), PictureScale{40, 96});
  ASSERT_TRUE(embedded) << embedded.detail();
  EXPECT_EQ(InkedPixels(*embedded), 40 * 20);
}

// The view box keeps its proportions in a picture of others: a circle in a
// square view box drawn into 200 x 100 stays a circle in the middle (meet),
// fills the width and is cut (slice), sits at the left (xMin), or is
// stretched (none).
TEST(OtherPictures, SvgHonoursPreserveAspectRatio) {
  TempDir dir;
  auto draw = [&](const std::string& par) {
    const std::string svg =
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="200" height="100" viewBox="0 0 10 10")" +
        (par.empty() ? std::string() : " preserveAspectRatio=\"" + par + "\"") +
        R"(><rect width="10" height="10" fill="black"/></svg>)";
    auto picture = LoadPicture(dir.Write("a.svg", svg).string(), PictureScale{200, 96});
    EXPECT_TRUE(picture);
    return picture ? *picture : BitmapFile{};
  };
  auto inked_columns = [](const BitmapFile& p, int row) {
    std::array<int, 2> span{-1, -1};
    for (int x = 0; x < 200; ++x) {
      if (PixelAt(p, x, row) == Bgr{0, 0, 0}) {
        if (span[0] < 0) span[0] = x;
        span[1] = x;
      }
    }
    return span;
  };
  EXPECT_EQ(inked_columns(draw(""), 50), (std::array{50, 149}));
  EXPECT_EQ(inked_columns(draw("xMidYMid meet"), 50), (std::array{50, 149}));
  EXPECT_EQ(inked_columns(draw("xMinYMin"), 50), (std::array{0, 99}));
  EXPECT_EQ(inked_columns(draw("xMaxYMax meet"), 50), (std::array{100, 199}));
  EXPECT_EQ(inked_columns(draw("xMidYMid slice"), 50), (std::array{0, 199}));
  EXPECT_EQ(inked_columns(draw("none"), 50), (std::array{0, 199}));
  EXPECT_EQ(InkedPixels(draw("")), 100 * 100);
}

TEST(OtherPictures, SvgOwnSizeComesFromItsUnitsOrItsViewBox) {
  auto own = [](std::string_view svg, int dpi) {
    auto size =
        SvgOwnSize(std::span(reinterpret_cast<const std::uint8_t*>(svg.data()), svg.size()), dpi);
    return size ? std::array{int(size->width + 0.5), int(size->height + 0.5)} : std::array{-1, -1};
  };
  // 50.8 mm is two inches.
  EXPECT_EQ(own(kHalves, 180), (std::array{360, 180}));
  EXPECT_EQ(own(kHalves, 360), (std::array{720, 360}));
  EXPECT_EQ(own(R"(<svg width="1in" height="0.5in"/>)", 203), (std::array{203, 102}));
  EXPECT_EQ(own(R"(<svg width="72pt" height="96px"/>)", 180), (std::array{180, 180}));
  // A view box counts 96 to the inch; a relative size leaves it to the view box.
  EXPECT_EQ(own(R"(<svg viewBox="0 0 96 48"/>)", 180), (std::array{180, 90}));
  EXPECT_EQ(own(R"(<svg width="100%" height="100%" viewBox="10,10,192,96"/>)", 180),
            (std::array{360, 180}));
  EXPECT_EQ(own(R"(<svg width="2in" viewBox="0 0 100 25"/>)", 100), (std::array{200, 50}));
  // Nothing to go by, or no SVG at all.
  EXPECT_EQ(own(R"(<svg/>)", 180), (std::array{-1, -1}));
  EXPECT_EQ(own(R"(<svg width="-3mm" height="2mm"/>)", 180), (std::array{-1, -1}));
  EXPECT_EQ(own(R"(<html width="1in" height="1in"/>)", 180), (std::array{-1, -1}));
  EXPECT_EQ(own("", 180), (std::array{-1, -1}));

  TempDir dir;
  auto svg = LoadPicture(dir.Write("halves.svg", kHalves).string(), PictureScale{0, 180});
  ASSERT_TRUE(svg);
  EXPECT_EQ(ReadBitmapHeader(*svg)->width, 360);
  // Absurd sizes are refused rather than drawn.
  dir.Write("wide.svg",
            R"(<svg xmlns="http://www.w3.org/2000/svg" width="100in" height="100in"/>)");
  EXPECT_FALSE(LoadPicture((dir.path() / "wide.svg").string(), PictureScale{0, 360}));
  EXPECT_FALSE(LoadPicture(
      dir.Write("broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1in\"").string(),
      PictureScale{0, 180}));
}

// A width or height in percent is a share of a box the picture does not have:
// the drawing keeps its view box, or without one the extent of what it draws
// (the renderer's own size), whole rather than cut at 100 pixels.
TEST(OtherPictures, SvgSizesInPercentFallBackToTheViewBoxOrTheDrawing) {
  TempDir dir;
  auto draw = [&](const std::string& root, int width) {
    const std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" )" + root +
                            R"(><rect x="50" y="20" width="200" height="100"/></svg>)";
    auto picture = LoadPicture(dir.Write("p.svg", svg).string(), PictureScale{width, 96});
    EXPECT_TRUE(picture) << root;
    if (!picture) return std::array{0, 0, 0};
    auto header = ReadBitmapHeader(*picture);
    return std::array{header->width, header->height, InkedPixels(*picture)};
  };
  for (const char* root : {R"(width="100%" height="100%")", R"(width="50%" height="100%")",
                           R"(width=" 100% " height="100%")", ""}) {
    EXPECT_EQ(draw(root, 0), (std::array{200, 100, 200 * 100})) << root;
    EXPECT_EQ(draw(root, 400), (std::array{400, 200, 400 * 200})) << root;
  }
  // With a view box the percent sizes give way to it.
  EXPECT_EQ(draw(R"(width="100%" height="100%" viewBox="0 0 500 200")", 0),
            (std::array{500, 200, 200 * 100}));
  // A size in units is kept: the drawing is cut where it says.
  EXPECT_EQ(draw(R"(width="100" height="100")", 0), (std::array{100, 100, 50 * 80}));
}

}  // namespace
}  // namespace inkmark
