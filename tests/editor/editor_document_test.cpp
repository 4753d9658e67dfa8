#include "editor/editor_document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "editor/editor_image.h"
#include "editor/editor_model.h"
#include "editor/editor_text.h"
#include "editor_fixture.h"
#include "image/bitmap_fixture.h"
#include "image/compose.h"
#include "image/compose_surface.h"
#include "image/document_reader.h"
#include "image/jpeg_fixture.h"
#include "image/picture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::ReadWithTool;
using testing::SolidBmp;
using testing::TempDir;

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

// A 4 x 2 RLE8 picture: every pixel palette entry 1 (pure green).
std::vector<std::uint8_t> GreenRle() {
  testing::BitmapFixture f = testing::Fixture(4, 2, 8, 1);
  f.palette = {{0, 0, 0}, {0, 255, 0}};
  f.pixels = {4, 1, 0, 0, 4, 1, 0, 1};
  return testing::BuildBitmap(f);
}

std::vector<std::uint8_t> GreyJpeg() {
  testing::JpegFixture f;
  f.width = 16;
  f.height = 8;
  f.kind = testing::JpegKind::kGrey;
  f.samples.assign(16 * 8, 0x40);
  return testing::EncodeJpeg(f);
}

TEST(EditorDocumentTest, SavedDocumentLoadsInToolWithEveryFieldAsMade) {
  TempDir dir;
  const auto bmp = dir.Write("red.bmp", Bytes(SolidBmp(20, 10, 0, 0, 255))).string();
  const auto rle = dir.Write("green.rle", Bytes(GreenRle())).string();
  const auto jpg = dir.Write("grey.jpg", Bytes(GreyJpeg())).string();

  EditorModel model(EditorDocument{384, 150, {}});
  TextStyle style;
  style.face = "Liberation Sans";
  style.size = 30;
  style.bold = style.italic = style.underline = style.strike_out = true;
  style.rotation = 90;
  style.color = 0x0000FF;
  auto text_object = MakeTextObject(40, 100, QStringLiteral("Inkmark \u00E9t\u00E9"), style);
  ASSERT_TRUE(text_object);
  ASSERT_TRUE(model.Add(*text_object));
  ASSERT_TRUE(model.Add(*ImageFromFile(bmp, 5, 6, 384, true)));
  ASSERT_TRUE(model.Add(*ImageFromFile(rle, 50, 60, 384, false)));
  ASSERT_TRUE(model.Add(*ImageFromFile(jpg, 70, 80, 384, false)));
  const auto path = (dir.path() / "logo.QLF").string();
  ASSERT_EQ(SaveEditorDocument(path, model.document()), SaveError::kNone);

  std::uint16_t width = 0, height = 0;
  const auto items = ReadWithTool(path, &width, &height);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(width, 384);
  EXPECT_EQ(height, 150);

  const auto& text = items[0];
  EXPECT_EQ(text.header.kind, kTextObject);
  EXPECT_EQ(text.header.left, 40);
  EXPECT_EQ(text.header.bottom, 100);
  EXPECT_EQ(text.header.text_color, 0x0000FF);
  EXPECT_EQ(text.text.font.height, -30);
  EXPECT_EQ(text.text.font.escapement, 900);
  EXPECT_EQ(text.text.font.weight, 700);
  EXPECT_EQ(text.text.font.italic, 1);
  EXPECT_EQ(text.text.font.underline, 1);
  EXPECT_EQ(text.text.font.strike_out, 1);
  EXPECT_STREQ(text.text.font.face_name.data(), "Liberation Sans");
  // "é" is one byte, 0xE9, in the Western code page.
  ASSERT_EQ(text.text.text_length, 11);
  EXPECT_EQ(std::memcmp(text.text.text.data(), "Inkmark \xE9t\xE9", 11), 0);

  const auto& red = items[1];
  EXPECT_EQ(red.header.kind, kImageObject);
  EXPECT_EQ((std::array{red.header.left, red.header.top, red.header.right, red.header.bottom}),
            (std::array{5, 6, 25, 16}));
  EXPECT_EQ(red.header.transparent, 1);
  EXPECT_EQ(red.bitmap, SolidBmp(20, 10, 0, 0, 255));
  EXPECT_EQ(items[2].header.transparent, 0);
  EXPECT_EQ(items[2].header.right - items[2].header.left, 4);
  EXPECT_EQ(items[2].bitmap, *LoadPicture(rle));
  EXPECT_EQ(items[3].header.bottom - items[3].header.top, 8);
  EXPECT_EQ(items[3].bitmap, *LoadPicture(jpg));

  // And the editor reads back what it wrote.
  LoadError error = LoadError::kUnreadable;
  auto again = LoadEditorDocument(path, error);
  ASSERT_TRUE(again);
  EXPECT_EQ(error, LoadError::kNone);
  ASSERT_EQ(again->objects.size(), 4u);
  EXPECT_EQ(again->objects[0].text, model.object(0).text);
  EXPECT_EQ(StyleOf(again->objects[0]), style);
  EXPECT_EQ(again->objects[3].bitmap, model.object(3).bitmap);
}

TEST(EditorDocumentTest, EditsOfALoadedDocumentReachTheTool) {
  TempDir dir;
  const auto path = (dir.path() / "edit me.QLF").string();
  ASSERT_TRUE(SaveLogoDocument(path, 200, 100,
                               {TextObject(10, 50, "one", "Liberation Sans", -20, 0),
                                ImageObject(0, 0, 8, 8, SolidBmp(8, 8, 0, 0, 0)),
                                TextObject(10, 90, "three", "Liberation Sans", -20, 0xFF0000)}));
  LoadError error;
  auto loaded = LoadEditorDocument(path, error);
  ASSERT_TRUE(loaded);
  EditorModel model(std::move(*loaded));
  EXPECT_FALSE(model.modified());
  ASSERT_TRUE(model.Delete(0));
  ASSERT_TRUE(model.MoveBy(0, 30, 40));
  ASSERT_TRUE(model.SetPageSize(256, 120));
  ASSERT_TRUE(model.modified());
  ASSERT_EQ(SaveEditorDocument(path, model.document()), SaveError::kNone);

  std::uint16_t width = 0, height = 0;
  const auto items = ReadWithTool(path, &width, &height);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(width, 256);
  EXPECT_EQ(height, 120);
  EXPECT_EQ(items[0].header.kind, kImageObject);
  EXPECT_EQ(items[0].header.left, 30);
  EXPECT_EQ(items[0].header.top, 40);
  EXPECT_EQ(items[0].header.right, 38);
  EXPECT_EQ(items[1].header.text_color, 0xFF0000);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(items[1].text.text.data())), "three");
}

TEST(EditorDocumentTest, RefusedSavesLeaveTheFileAlone) {
  TempDir dir;
  const auto path = dir.Write("keep.QLF", "previous").string();
  EXPECT_EQ(SaveEditorDocument(path, EditorDocument{}), SaveError::kEmpty);
  EditorDocument too_large{40000, 10, {TextObject(0, 20, "x", "Liberation Sans", -12, 0)}};
  EXPECT_EQ(SaveEditorDocument(path, too_large), SaveError::kUnstorable);
  EXPECT_EQ(testing::ReadFileText(path), "previous");

  EditorDocument fine{64, 32, {TextObject(0, 20, "x", "Liberation Sans", -12, 0)}};
  EXPECT_EQ(SaveEditorDocument((dir.path() / "no/such/folder.QLF").string(), fine),
            SaveError::kWriteFailed);
  // A folder in the way cannot be written over.
  std::filesystem::create_directory(dir.path() / "folder.QLF");
  EXPECT_EQ(SaveEditorDocument((dir.path() / "folder.QLF").string(), fine),
            SaveError::kWriteFailed);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.QLF"));
}

TEST(EditorDocumentTest, LoadTellsUnreadableFromMalformed) {
  TempDir dir;
  LoadError error = LoadError::kNone;
  EXPECT_FALSE(LoadEditorDocument((dir.path() / "missing.QLF").string(), error));
  EXPECT_EQ(error, LoadError::kUnreadable);

  EditorDocument doc{64, 32, {TextObject(0, 20, "x", "Liberation Sans", -12, 0)}};
  auto bytes = *WriteLogoDocument(64, 32, doc.objects);
  bytes.push_back(0);  // one byte past the budgets
  const auto path = dir.Write("long.QLF", Bytes(bytes)).string();
  EXPECT_FALSE(LoadEditorDocument(path, error));
  EXPECT_EQ(error, LoadError::kNotADocument);
}

TEST(EditorDocumentTest, CanvasPageIsTheToolsCompositionOfTheSavedFile) {
  TempDir dir;
  EditorDocument doc{120, 60, {}};
  TextStyle style;
  style.face = "Liberation Sans";
  style.color = 0x0000FF;
  doc.objects.push_back(ImageObject(10, 10, 50, 40, SolidBmp(4, 3, 0, 0, 0)));
  doc.objects.push_back(*MakeTextObject(5, 50, "Ab", style));
  doc.objects.push_back(ImageObject(30, 5, 60, 30, SolidBmp(2, 2, 255, 255, 255), true));
  const QImage canvas = RenderPage(doc);
  ASSERT_FALSE(canvas.isNull());
  ASSERT_EQ(canvas.size(), QSize(120, 60));

  const auto path = (dir.path() / "page.QLF").string();
  ASSERT_EQ(SaveEditorDocument(path, doc), SaveError::kNone);
  LogoSession session;
  session.item_count = CountDocumentObjects(path, session.document_header);
  ASSERT_EQ(BuildLayoutItems(path, session.item_count, session.items, session.document), 1);
  const QImage tool = *BitmapToSurface(*ComposeAsStored(session));
  EXPECT_EQ(canvas.convertToFormat(QImage::Format_RGB32),
            tool.convertToFormat(QImage::Format_RGB32));
  // The black image shows through the transparent white one above it.
  EXPECT_EQ(canvas.pixelColor(40, 20), QColor(Qt::black));
  EXPECT_EQ(canvas.pixelColor(55, 20), QColor(Qt::white));
}

TEST(EditorDocumentTest, WidePicturesAreFittedToThePage) {
  TempDir dir;
  const auto bmp = dir.Write("wide.bmp", Bytes(SolidBmp(400, 100, 0, 0, 0))).string();
  auto object = ImageFromFile(bmp, 0, 0, 200, false);
  ASSERT_TRUE(object);
  EXPECT_EQ(object->right, 200);
  EXPECT_EQ(object->bottom, 50);
  EXPECT_FALSE(ImageFromFile(dir.Write("x.bmp", "BMnot a bitmap").string(), 0, 0, 200, false));
  EXPECT_FALSE(ImageFromFile(dir.Write("x.png", "").string(), 0, 0, 200, false));
}

}  // namespace
}  // namespace inkmark
