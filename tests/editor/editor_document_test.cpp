#include "editor/editor_document.h"

#include <gtest/gtest.h>

#include "editor/editor_image.h"
#include "editor/editor_model.h"
#include "editor/editor_text.h"
#include "image/bitmap_fixture.h"
#include "image/compose_fixture.h"
#include "image/compose_surface.h"
#include "image/picture.h"

namespace inkmark::testing {
namespace {

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

std::array<std::int32_t, 4> Rect(const DocumentObject& o) {
  return {o.left, o.top, o.right, o.bottom};
}

TEST(EditorDocumentTest, SavedDocumentLoadsWithEveryFieldAsMade) {
  TempDir dir;
  const auto bmp = dir.Write("red.bmp", Bytes(SolidBitmap(20, 10, kRed24))).string();
  BitmapFixture green = Fixture(4, 2, 8, 1);  // RLE8, every pixel palette entry 1
  green.palette = {{0, 0, 0}, {0, 255, 0}};
  green.pixels = {4, 1, 0, 0, 4, 1, 0, 1};
  const auto rle = dir.Write("green.rle", Bytes(BuildBitmap(green))).string();
  EditorModel model(EditorDocument{384, 150, {}});
  TextStyle style{"Liberation Sans", 30, true, true, true, true, 90, 0x0000FF};
  ASSERT_TRUE(model.Add(*MakeTextObject(40, 100, QStringLiteral("Inkmark \u00E9t\u00E9"), style)));
  ASSERT_TRUE(model.Add(*ImageFromFile(bmp, 5, 6, 384, true)));
  ASSERT_TRUE(model.Add(*ImageFromFile(rle, 50, 60, 384, false)));
  const auto path = (dir.path() / "logo.QLF").string();
  ASSERT_EQ(SaveEditorDocument(path, model.document()), SaveError::kNone);

  LoadError error = LoadError::kUnreadable;  // through the tool's document reader
  const auto loaded = LoadEditorDocument(path, error);
  ASSERT_TRUE(loaded && error == LoadError::kNone);
  const EditorDocument& back = *loaded;
  ASSERT_EQ(back.objects.size(), 3u);
  EXPECT_EQ((std::array{back.page_width, back.page_height}), (std::array{384, 150}));
  const DocumentObject& text = back.objects[0];
  EXPECT_EQ((std::array{text.left, text.bottom, text.text_color, text.font.height,
                        text.font.escapement, text.font.weight}),
            (std::array{40, 100, 0x0000FF, -30, 900, 700}));
  EXPECT_STREQ(text.font.face_name.data(), "Liberation Sans");
  EXPECT_EQ(text.text, "Inkmark \xE9t\xE9");  // the Western code page
  EXPECT_EQ(StyleOf(text), style);
  EXPECT_EQ(Rect(back.objects[1]), (std::array{5, 6, 25, 16}));
  EXPECT_EQ(back.objects[1].transparent, 1);
  EXPECT_EQ(back.objects[1].bitmap, SolidBitmap(20, 10, kRed24));
  EXPECT_EQ(Rect(back.objects[2]), (std::array{50, 60, 54, 62}));
  EXPECT_EQ(back.objects[2].transparent, 0);
  EXPECT_EQ(back.objects[2].bitmap, *LoadPicture(rle));  // embedded as the tool decodes it
}

TEST(EditorDocumentTest, RefusedSavesAndLoadsLeaveFilesAlone) {
  TempDir dir;
  const auto path = dir.Write("keep.QLF", "previous").string();
  const EditorDocument fine{64, 32, {TextObject(0, 20, "x", "Liberation Sans", -12, 0)}};
  EXPECT_EQ(SaveEditorDocument(path, EditorDocument{}), SaveError::kEmpty);
  EXPECT_EQ(SaveEditorDocument(path, EditorDocument{40000, 10, fine.objects}),
            SaveError::kUnstorable);
  EXPECT_EQ(ReadFileText(path), "previous");
  std::filesystem::create_directory(dir.path() / "folder.QLF");
  for (const char* name : {"no/such/folder.QLF", "folder.QLF"}) {
    EXPECT_EQ(SaveEditorDocument((dir.path() / name).string(), fine), SaveError::kWriteFailed);
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.QLF"));

  LoadError error = LoadError::kNone;
  EXPECT_FALSE(LoadEditorDocument((dir.path() / "missing.QLF").string(), error));
  EXPECT_EQ(error, LoadError::kUnreadable);
  auto bytes = *WriteLogoDocument(64, 32, fine.objects);
  bytes.push_back(0);  // one byte past the budgets
  EXPECT_FALSE(LoadEditorDocument(dir.Write("long.QLF", Bytes(bytes)).string(), error));
  EXPECT_EQ(error, LoadError::kNotADocument);
}

TEST(EditorDocumentTest, CanvasPageIsTheToolsCompositionOfTheDocument) {
  TextStyle style{"Liberation Sans"};
  style.color = 0x0000FF;
  const std::vector<DocumentObject> objects = {
      ImageObject(10, 10, 50, 40, SolidBitmap(4, 3, kBlack24)), *MakeTextObject(5, 50, "Ab", style),
      ImageObject(30, 5, 60, 30, SolidBitmap(2, 2, kWhite24), /*transparent=*/true)};
  const QImage canvas = RenderPage(EditorDocument{120, 60, objects});
  ComposeSession tool;
  ASSERT_TRUE(tool.UseDocument(120, 60, objects));
  EXPECT_EQ(
      canvas.convertToFormat(QImage::Format_RGB32),
      BitmapToSurface(*ComposeAsStored(tool.session()))->convertToFormat(QImage::Format_RGB32));
  // The black image shows through the transparent white one above it.
  EXPECT_EQ(canvas.pixelColor(40, 20), QColor(Qt::black));
  EXPECT_EQ(canvas.pixelColor(55, 20), QColor(Qt::white));
}

TEST(EditorDocumentTest, WidePicturesAreFittedAndBadPicturesRefused) {
  TempDir dir;
  const auto wide = dir.Write("wide.bmp", Bytes(SolidBitmap(400, 100, kBlack24))).string();
  EXPECT_EQ(Rect(*ImageFromFile(wide, 0, 0, 200, false)), (std::array{0, 0, 200, 50}));
  EXPECT_FALSE(ImageFromFile(dir.Write("x.bmp", "BMnot a bitmap").string(), 0, 0, 200, false));
  EXPECT_FALSE(ImageFromFile(dir.Write("x.png", "").string(), 0, 0, 200, false));
}

}  // namespace
}  // namespace inkmark::testing
