#include "editor/editor_text.h"

#include <gtest/gtest.h>

#include "editor/editor_document.h"

namespace inkmark {
namespace {

TEST(EditorTextTest, TextIsStoredInTheCodePageOfItsCharacterSet) {
  EXPECT_EQ(EncodeItemText(QStringLiteral("\u20ACuro \u00E9"), 0), std::string("\x80uro \xE9"));
  EXPECT_FALSE(EncodeItemText(QStringLiteral("\u65E5"), 0));  // no Western code
  EXPECT_FALSE(EncodeItemText(QString(QChar(0)), 0));
  auto japanese = EncodeItemText(QStringLiteral("\u65E5\u672C"), 128);
  if (!japanese) GTEST_SKIP() << "no Shift-JIS codec in this Qt";
  EXPECT_EQ(*japanese, std::string("\x93\xFA\x96\x7B"));
  EXPECT_EQ(DecodeItemText(*japanese, 128), QStringLiteral("\u65E5\u672C"));
}

TEST(EditorTextTest, AtMostFortyBytes) {
  EXPECT_TRUE(EncodeItemText(QString(40, QChar('a')), 0));
  EXPECT_FALSE(EncodeItemText(QString(41, QChar('a')), 0));
  TextStyle style;
  EXPECT_FALSE(MakeTextObject(0, 0, QString(41, QChar('a')), style));
  if (EncodeItemText(QStringLiteral("\u65E5"), 128)) {
    style.char_set = 128;
    EXPECT_TRUE(MakeTextObject(0, 0, QString(20, QChar(0x65E5)), style));
    EXPECT_FALSE(MakeTextObject(0, 0, QString(21, QChar(0x65E5)), style));
  }
}

TEST(EditorTextTest, StyleSurvivesTheFontRecord) {
  TextStyle style;
  style.face = "Liberation Serif";
  style.size = 33;
  style.italic = true;
  style.strike_out = true;
  style.rotation = 270;
  style.color = 0x00FF00;
  auto object = MakeTextObject(12, 60, "turn", style);
  ASSERT_TRUE(object);
  EXPECT_EQ(object->font.escapement, 2700);
  EXPECT_EQ(object->font.height, -33);
  EXPECT_EQ(StyleOf(*object), style);
  // Reads a stored negative escapement as the turn it draws.
  object->font.escapement = -900;
  EXPECT_EQ(StyleOf(*object).rotation, 270);
}

TEST(EditorTextTest, RefusesStylesOutOfRange) {
  TextStyle style;
  style.size = 0;
  EXPECT_FALSE(MakeTextObject(0, 0, "x", style));
  style.size = 12;
  style.rotation = 360;
  EXPECT_FALSE(MakeTextObject(0, 0, "x", style));
  style.rotation = 0;
  style.color = 0x1000000;
  EXPECT_FALSE(MakeTextObject(0, 0, "x", style));
}

TEST(EditorTextTest, TurnedTextShowsInItsTurnedBox) {
  TextStyle style;
  style.face = "Liberation Sans";
  auto flat = *MakeTextObject(100, 100, "Wide text", style);
  style.rotation = 90;
  auto upright = *MakeTextObject(100, 100, "Wide text", style);
  const ItemBox a = BoxOf(flat), b = BoxOf(upright);
  EXPECT_EQ(a.width(), b.height());
  EXPECT_EQ(a.height(), b.width());
  EXPECT_EQ(b.right, 100);  // reads upwards from the anchor
  EXPECT_EQ(b.bottom, 100);
}

}  // namespace
}  // namespace inkmark
