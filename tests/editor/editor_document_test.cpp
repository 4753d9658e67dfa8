#include "editor/editor_document.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "editor/editor_image.h"
#include "editor/editor_text.h"
#include "picture/picture_bytes.h"
#include "settings/printer_files.h"
#include "settings/saved_settings.h"
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
  ASSERT_EQ(SaveEditorDocument(path, {384, 150, {*text, *ImageFromFile(bmp, 5, 6, 20, true, 96)}}),
            SaveError::kNone);
  EXPECT_FALSE(ImageFromFile(dir.Write("x.bmp", "BMnot a bitmap").string(), 0, 0, 200, false, 96));
  // A JPEG the tool refuses (foreign bytes before its end marker) makes no item.
  auto jpeg = EncodePhotoJpeg({301, 203, 3, 2, 2, 0, false});
  EXPECT_TRUE(ImageFromFile(dir.Write("sound.jpg", Bytes(jpeg)).string(), 0, 0, 20, false, 96));
  jpeg.insert(jpeg.end() - 2, {0x12, 0x34, 0x56});
  EXPECT_FALSE(ImageFromFile(dir.Write("foreign.jpg", Bytes(jpeg)).string(), 0, 0, 20, false, 96));

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

// A drawing is placed at its own size on the printer's paper: at the
// resolution of the printer the tool's saved settings choose (96 without
// printer files), and drawn at the page's width when it is wider, never first
// at its own size, which may be beyond any picture's.
TEST(EditorImageTest, DrawingsArePlacedAtThePrintersResolution) {
  TempDir dir;
  for (const char* folder : {"system", "user"})
    QSettings::setPath(QSettings::NativeFormat,
                       folder[0] == 's' ? QSettings::SystemScope : QSettings::UserScope,
                       QString::fromStdString((dir.path() / folder).string()));
  const auto svg =
      dir.Write("half.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="1in" )"
                            R"(height="0.5in"><rect width="100%" height="100%"/></svg>)")
          .string();
  auto box = [&](std::int32_t page_width, std::int32_t dpi) {
    auto object = ImageFromFile(svg, 3, 4, page_width, false, dpi);
    if (!object) return std::array{-1, -1, -1};
    return std::array{object->right - object->left, object->bottom - object->top,
                      ByteReader(object->bitmap).I32(18).value_or(0)};
  };
  EXPECT_EQ(box(400, 203), (std::array{203, 102, 203}));
  EXPECT_EQ(box(203, 203), (std::array{203, 102, 203}));
  EXPECT_EQ(box(202, 203), (std::array{202, 101, 202})) << "drawn again at the page's width";
  EXPECT_EQ(box(400, 96), (std::array{96, 48, 96}));
  const auto huge = dir.Write("huge.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" )"
                                          R"(width="600in" height="100in"/>)");
  auto wide = ImageFromFile(huge.string(), 0, 0, 512, false, 180);
  ASSERT_TRUE(wide);
  EXPECT_EQ((std::array{wide->right, wide->bottom}), (std::array{512, 85}));

  const std::filesystem::path printers = INKMARK_PRINTERS_DIR;
  EXPECT_EQ(PrinterDotsPerInch(dir.path()), 96) << "no printer files";
  EXPECT_EQ(PrinterDotsPerInch(printers), 180) << "the first printer's first resolution";
  std::vector<PrinterProfile> profiles;
  ASSERT_EQ(LoadPrinterProfiles(CountPrinterFiles(printers), profiles, printers), 5);
  PrinterProfile& dt500 = profiles[3];
  dt500.resolutions.sel = 1;
  ASSERT_EQ(dt500.resolutions.Selected(), 360);
  std::string folder = (dir.path() / "x.svg").string();
  ASSERT_EQ(SaveSettings(dt500, folder), 1);
  EXPECT_EQ(PrinterDotsPerInch(printers), 360);
}

}  // namespace
}  // namespace inkmark::testing
