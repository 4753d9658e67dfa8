#include "editor/editor_text.h"

#include <gtest/gtest.h>

#include "editor/editor_document.h"

namespace inkmark {
namespace {

TEST(EditorTextTest, TextIsStoredInItsCodePageInAtMostFortyBytesStylesAreCheckedAndTurnsShow) {
  EXPECT_EQ(EncodeItemText(QStringLiteral("\u20ACuro \u00E9"), 0), std::string("\x80uro \xE9"));
  // Each refusal says which rule it is: no code in the page, or past the limit.
  EXPECT_EQ(EncodeItemText(QStringLiteral("\u65E5"), 0).code(), FailureCode::kUnsupported);
  EXPECT_EQ(EncodeItemText(QString(QChar(0)), 0).code(), FailureCode::kUnsupported);
  EXPECT_TRUE(MakeTextObject(0, 0, QString(40, QChar('a')), TextStyle{}));
  const auto long_text = MakeTextObject(0, 0, QString(41, QChar('a')), TextStyle{});
  ASSERT_FALSE(long_text);
  EXPECT_EQ(long_text.code(), FailureCode::kTextTooLong);
  EXPECT_TRUE(TextRefusal(QString(41, QChar('a')), 0, long_text.failure()).contains("41 bytes"));
  for (const TextStyle& bad :
       {TextStyle{"Arial", 0}, TextStyle{"Arial", 12, false, false, false, false, 360},
        TextStyle{"Arial", 12, false, false, false, false, 0, 0x1000000}}) {
    EXPECT_FALSE(MakeTextObject(0, 0, "x", bad));
  }
  // Turned text shows in its turned box; negative turns read as the user sets them.
  TextStyle style{"Liberation Sans"};
  const ItemBox flat = BoxOf(*MakeTextObject(100, 100, "Wide text", style));
  style.rotation = 90;
  DocumentObject turned = *MakeTextObject(100, 100, "Wide text", style);
  const ItemBox upright = BoxOf(turned);
  EXPECT_EQ((std::array{flat.width(), flat.height()}),
            (std::array{upright.height(), upright.width()}));
  EXPECT_EQ((std::array{upright.right, upright.bottom}), (std::array{100, 100}));  // reads upwards
  turned.font.escapement = -900;
  EXPECT_EQ(StyleOf(turned).rotation, 270);
  style.char_set = 128;  // two bytes a character
  if (!EncodeItemText(QStringLiteral("\u65E5"), 128))
    GTEST_SKIP() << "no Shift-JIS codec in this Qt";
  EXPECT_TRUE(MakeTextObject(0, 0, QString(20, QChar(0x65E5)), style));
  EXPECT_FALSE(MakeTextObject(0, 0, QString(21, QChar(0x65E5)), style));
}

}  // namespace
}  // namespace inkmark
