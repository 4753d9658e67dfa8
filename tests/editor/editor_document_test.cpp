#include "editor/editor_document.h"

#include <gtest/gtest.h>

#include "editor/editor_image.h"
#include "editor/editor_text.h"
#include "support/bitmap_fixture.h"
#include "support/compose_fixture.h"

namespace inkmark::testing {
namespace {

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

TEST(EditorDocumentTest, SavedDocumentLoadsAsMadeAndRefusedSavesAndLoadsLeaveFilesAlone) {
  TempDir dir;
  const auto bmp = dir.Write("red.bmp", Bytes(SolidBitmap(40, 10, kRed24))).string();
  TextStyle style{"Liberation Sans", 30, true, true, true, true, 90, 0x0000FF};
  const auto text = MakeTextObject(40, 100, QStringLiteral("Inkmark \u00E9t\u00E9"), style);
  ASSERT_TRUE(text);
  const auto path = (dir.path() / "logo.QLF").string();
  ASSERT_EQ(SaveEditorDocument(path, {384, 150, {*text, *ImageFromFile(bmp, 5, 6, 20, true)}}),
            SaveError::kNone);
  EXPECT_FALSE(ImageFromFile(dir.Write("x.bmp", "BMnot a bitmap").string(), 0, 0, 200, false));
  // A JPEG the tool refuses (foreign bytes before its end marker) makes no item.
  auto jpeg = EncodePhotoJpeg({301, 203, 3, 2, 2, 0, false});
  EXPECT_TRUE(ImageFromFile(dir.Write("sound.jpg", Bytes(jpeg)).string(), 0, 0, 20, false));
  jpeg.insert(jpeg.end() - 2, {0x12, 0x34, 0x56});
  EXPECT_FALSE(ImageFromFile(dir.Write("foreign.jpg", Bytes(jpeg)).string(), 0, 0, 20, false));

  LoadError error = LoadError::kUnreadable;  // through the tool's document reader
  const auto loaded = LoadEditorDocument(path, error);
  ASSERT_TRUE(loaded && error == LoadError::kNone);
  const EditorDocument& back = *loaded;
  ASSERT_EQ(back.objects.size(), 2u);
  EXPECT_EQ((std::array{back.page_width, back.page_height}), (std::array{384, 150}));
  const DocumentObject& t = back.objects[0];
  EXPECT_EQ(
      (std::array{t.left, t.bottom, t.text_color, t.font.height, t.font.escapement, t.font.weight}),
      (std::array{40, 100, 0x0000FF, -30, 900, 700}));
  EXPECT_EQ(t.text, "Inkmark \xE9t\xE9");  // the Western code page
  EXPECT_EQ(StyleOf(t), style);
  const DocumentObject& image = back.objects[1];  // scaled down to the page's width
  EXPECT_EQ((std::array{image.left, image.top, image.right, image.bottom}),
            (std::array{5, 6, 25, 11}));
  EXPECT_EQ(image.transparent, 1);
  EXPECT_EQ(image.bitmap, SolidBitmap(40, 10, kRed24));

  // Refused saves and loads leave the files alone.
  TempDir::WriteFile(path, "previous");
  const EditorDocument fine{64, 32, {TextObject(0, 20, "x", "Liberation Sans", -12, 0)}};
  EXPECT_EQ(SaveEditorDocument(path, EditorDocument{}), SaveError::kEmpty);
  EXPECT_EQ(SaveEditorDocument(path, EditorDocument{40000, 10, fine.objects}),
            SaveError::kUnstorable);
  EXPECT_EQ(ReadFileText(path), "previous");
  std::filesystem::create_directory(dir.path() / "folder.QLF");
  EXPECT_EQ(SaveEditorDocument((dir.path() / "folder.QLF").string(), fine),
            SaveError::kNotRegularFile);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.QLF"));

  EXPECT_FALSE(LoadEditorDocument((dir.path() / "missing.QLF").string(), error));
  EXPECT_EQ(error, LoadError::kUnreadable);
  EXPECT_FALSE(LoadEditorDocument(dir.Write("bad.QLF", "QLF, but no document").string(), error));
  EXPECT_EQ(error, LoadError::kNotADocument);
}

}  // namespace
}  // namespace inkmark::testing
