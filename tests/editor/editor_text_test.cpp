#include "editor/editor_text.h"

#include <gtest/gtest.h>

#include "editor/editor_document.h"

namespace inkmark {
namespace {

TEST(EditorTextTest, TextIsStoredInTheCodePageOfItsCharacterSetInAtMostFortyBytes) {
  EXPECT_EQ(EncodeItemText(QStringLiteral("\u20ACuro \u00E9"), 0), std::string("\x80uro \xE9"));
  EXPECT_FALSE(EncodeItemText(QStringLiteral("\u65E5"), 0));  // no Western code
  EXPECT_FALSE(EncodeItemText(QString(QChar(0)), 0));
  EXPECT_TRUE(EncodeItemText(QString(40, QChar('a')), 0));
  EXPECT_FALSE(MakeTextObject(0, 0, QString(41, QChar('a')), TextStyle{}));
  auto japanese = EncodeItemText(QStringLiteral("\u65E5\u672C"), 128);
  if (!japanese) GTEST_SKIP() << "no Shift-JIS codec in this Qt";
  EXPECT_EQ(*japanese, std::string("\x93\xFA\x96\x7B"));
  EXPECT_EQ(DecodeItemText(*japanese, 128), QStringLiteral("\u65E5\u672C"));
  TextStyle style;
  style.char_set = 128;
  EXPECT_TRUE(MakeTextObject(0, 0, QString(20, QChar(0x65E5)), style));
  EXPECT_FALSE(MakeTextObject(0, 0, QString(21, QChar(0x65E5)), style));
}

TEST(EditorTextTest, RefusesStylesOutOfRangeAndReadsNegativeTurns) {
  for (const TextStyle& bad :
       {TextStyle{"Arial", 0}, TextStyle{"Arial", 12, false, false, false, false, 360},
        TextStyle{"Arial", 12, false, false, false, false, 0, 0x1000000}}) {
    EXPECT_FALSE(MakeTextObject(0, 0, "x", bad));
  }
  auto object =
      MakeTextObject(12, 60, "turn", TextStyle{"Arial", 24, false, false, false, false, 270});
  ASSERT_TRUE(object);
  EXPECT_EQ(object->font.escapement, 2700);
  object->font.escapement = -900;
  EXPECT_EQ(StyleOf(*object).rotation, 270);
}

TEST(EditorTextTest, TurnedTextShowsInItsTurnedBox) {
  TextStyle style{"Liberation Sans"};
  const ItemBox flat = BoxOf(*MakeTextObject(100, 100, "Wide text", style));
  style.rotation = 90;
  const ItemBox upright = BoxOf(*MakeTextObject(100, 100, "Wide text", style));
  EXPECT_EQ((std::array{flat.width(), flat.height()}),
            (std::array{upright.height(), upright.width()}));
  EXPECT_EQ((std::array{upright.right, upright.bottom}), (std::array{100, 100}));  // reads upwards
}

}  // namespace
}  // namespace inkmark
