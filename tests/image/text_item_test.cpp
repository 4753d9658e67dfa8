// Text items: the rotated box table, measuring, and glyphs that come out in
// exactly their colour.
#include "image/text_item.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "compose_fixture.h"
#include "image/compose_surface.h"
#include "image/text_item_font.h"

namespace inkmark::testing {
namespace {

TextRecord Record(const std::string& text, const char* face, std::int32_t height,
                  std::int32_t escapement = 0, std::uint8_t char_set = 0) {
  TextRecord r;
  r.font.height = height;
  r.font.escapement = escapement;
  r.font.char_set = char_set;
  r.font.weight = 400;
  std::snprintf(r.font.face_name.data(), r.font.face_name.size(), "%s", face);
  r.text_length = static_cast<std::uint16_t>(text.size());
  std::copy(text.begin(), text.end(), r.text.begin());
  return r;
}

TEST(RotateTextBoxTest, BoxAndOriginFollowTheTable) {
  const TextBox start{100, 0, 0, 200};
  struct Case {
    std::int32_t escapement;
    TextBox box;
    TextOrigin origin;
  };
  // cx = 40, cy = 10. At 30 degrees each term is truncated: A = trunc(10 sin 30) = 4,
  // B = trunc(40 sin 30 + 10 cos 30) = 28, C = trunc(40 cos 30) = 34, D = trunc(10 cos 30) = 8.
  // A negative escapement leaves the box as it is, unless a whole turn back (or less
  // than a degree back) makes it degree 0.
  // clang-format off
  const Case cases[] = {
      {0, {100, 190, 140, 200}, {0, 0}},     {3600, {100, 190, 140, 200}, {0, 0}},
      {900, {90, 160, 100, 200}, {0, 40}},   {1800, {60, 200, 100, 210}, {40, 10}},
      {2700, {100, 200, 110, 240}, {10, 0}}, {4500, {90, 160, 100, 200}, {0, 40}},
      {300, {96, 172, 134, 200}, {0, 20}},   {1200, {72, 166, 100, 204}, {20, 38}},
      {-10, start, {0, 0}},                  {-900, start, {0, 0}},
      {-2700, start, {0, 0}},                {-3599, start, {0, 0}},
      {-3600, {100, 190, 140, 200}, {0, 0}}, {-9, {100, 190, 140, 200}, {0, 0}}};
  // clang-format on
  for (const Case& c : cases) {
    TextBox box = start;
    TextOrigin origin{-1, -1};
    RotateTextBox(40, 10, c.escapement, box, origin);
    EXPECT_EQ(box, c.box) << c.escapement;
    EXPECT_EQ(origin, c.origin) << c.escapement;
  }
}

TEST(MeasureTextItemTest, BoxSitsOnBottomLeftCornerAndHugeFontsAreRefused) {
  const TextRecord r = Record("Hello", "Arial", -20);
  TextBox box{30, 0, 0, 100};
  TextOrigin origin{5, 5};
  ASSERT_EQ(MeasureTextItem(r, box, origin), 1);
  const QFontMetrics m(*MakeItemFont(r.font));
  EXPECT_EQ(box, (TextBox{30, 100 - m.height(), 30 + m.horizontalAdvance("Hello"), 100}));
  EXPECT_EQ(origin, (TextOrigin{0, 0}));
  // A positive height is the cell height.
  EXPECT_NEAR(QFontMetrics(*MakeItemFont(Record("Ag", "Arial", 30).font)).height(), 30, 1);

  TextRecord huge = r;
  huge.font.height = -100000;
  TextBox kept{1, 2, 3, 4};
  EXPECT_EQ(MeasureTextItem(huge, kept, origin), 0);
  EXPECT_EQ(kept, (TextBox{1, 2, 3, 4}));
}

TEST(JapaneseTextTest, ReadInItsCodePageWithItalicOutlineTextWidened) {
  const std::uint8_t sjis[] = {'A', 0x82, 0xA0, 'B', 0x88};  // A, hiragana a, B, lone lead byte
  auto units = SplitTextCharacters(sjis, 932);
  ASSERT_EQ(units.size(), 3u);
  EXPECT_EQ(units[1], QString::fromUtf8("\u3042"));
  EXPECT_EQ(SplitTextCharacters(sjis, 1252).size(), 5u);
  const std::uint8_t euro[] = {0x80};
  EXPECT_EQ(SplitTextCharacters(euro, 1252)[0], QString::fromUtf8("\u20AC"));

  auto font = MakeItemFont(Record("", "IPA\x83\x53\x83\x56\x83\x62\x83\x4e", -20, 0, 128).font);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->family(), QString::fromUtf8("IPA\u30B4\u30B7\u30C3\u30AF"));
  EXPECT_EQ(font->pixelSize(), 20);
  EXPECT_EQ(font->styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);

  const TextRecord hiragana = Record("\x82\xA0", "IPAGothic", -24, 0, 128);
  TextBox box{0, 0, 0, 50};
  TextOrigin o;
  ASSERT_EQ(MeasureTextItem(hiragana, box, o), 1);
  EXPECT_EQ(
      box.right,
      QFontMetrics(*MakeItemFont(hiragana.font)).horizontalAdvance(QString::fromUtf8("\u3042")));

  // Italic text in a Japanese character set is widened by half a character.
  TextRecord western = Record("AB", "IPAGothic", -24);
  western.font.italic = 1;
  TextRecord japanese = western;
  japanese.font.char_set = 128;
  TextBox a{0, 0, 0, 50}, b = a;
  ASSERT_EQ(MeasureTextItem(western, a, o), 1);
  ASSERT_EQ(MeasureTextItem(japanese, b, o), 1);
  const int avg = QFontMetrics(*MakeItemFont(japanese.font)).averageCharWidth();
  EXPECT_GT(avg, 0);
  EXPECT_EQ(b.right - a.right, avg / 2);
}

TEST(DrawTextItemTest, GlyphsArePureInkAtEveryAngleAndAQuarterTurnReadsUpwards) {
  for (std::int32_t e : {0, 900, 1800, 2700, 450, 1234, -300}) {
    QImage page = WhiteSurface(300, 300);
    ObjectHeader object{kTextObject, 150, 150, 150, 150, 0, 0};
    ASSERT_EQ(DrawTextItem(page, object, Record("Inkmark 42", "Arial", -18, e), kColorRed, 1, 1),
              1);
    const PixelCensus census = CountPixels(SurfaceToPage(page), kRed24);
    EXPECT_GT(census.ink, 20) << e;
    EXPECT_EQ(census.other, 0) << e;
  }
  QImage page = WhiteSurface(300, 300);
  ObjectHeader corner{kTextObject, 150, 0, 0, 250, 0, 0};
  ASSERT_EQ(DrawTextItem(page, corner, Record("IIIIIIII", "Arial", -20, 900), kColorRed, 1, 1), 1);
  auto ink_in = [&](int x, int y, int w, int h) {
    return CountPixels(SurfaceToPage(page.copy(x, y, w, h)), kRed24).ink;
  };
  const auto all = ink_in(0, 0, 300, 300);
  EXPECT_GT(all, 40);
  EXPECT_EQ(ink_in(121, 0, 29, 250), all) << "a column left of x 150 and above y 250";
  EXPECT_GT(ink_in(121, 0, 29, 210), 0) << "more than 40 dots tall";
}

TEST(DrawTextItemTest, EmptyTextDrawsNothingAndBoxIsTintedOverOtherColours) {
  QImage page = WhiteSurface(300, 300);
  ObjectHeader object{kTextObject, 10, 0, 0, 100, 0, 0};
  ASSERT_EQ(DrawTextItem(page, object, Record("", "Arial", -20), kColorRed, 1, 1), 1);
  EXPECT_EQ(CountPixels(SurfaceToPage(page), kRed24).white, 300 * 300);

  page.fill(0xFF808080u);  // grey under the text
  ASSERT_EQ(DrawTextItem(page, object, Record("W", "Arial", -20), kColorRed, 1, 1), 1);
  const auto bytes = SurfaceToPage(page);
  // Inside the box grey is ORed with red; outside it is left alone.
  EXPECT_EQ(PagePixel(bytes, 11, 95), (Bgr24{128, 128, 255}));
  EXPECT_EQ(PagePixel(bytes, 5, 95), (Bgr24{128, 128, 128}));
}

}  // namespace
}  // namespace inkmark::testing
