// Logo documents written and read back, what is refused, and that a malformed
// body is never walked outside its bytes.
#include "image/document_reader.h"

#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "image/document_format.h"
#include "image/picture_bytes.h"
#include "image/picture_io.h"
#include "platform/string_table.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {
namespace {

std::vector<std::uint8_t> Doc(const std::vector<DocumentObject>& objects) {
  return *WriteLogoDocument(100, 50, objects);
}

DocumentObject Text(const std::string& s) { return TextObject(5, 30, s, "Arial", -12, kColorRed); }

TEST(DocumentReaderTest, WrittenObjectsReadBackInFileOrderWithTheirBudgets) {
  const auto bitmap = SolidBitmap(3, 2, kRed24);
  const auto file = Doc({Text("x"), ImageObject(1, 2, 3, 4, bitmap, true), Text("b")});
  ASSERT_EQ(file.size(), 64 + 2 * 143 + 44 + bitmap.size());
  EXPECT_EQ(ByteReader(file).U32(kDocOffTextBytes), 2 * 143u);
  EXPECT_EQ(ByteReader(file).U32(kDocOffImageBytes), 44 + bitmap.size());
  auto parsed = ParseLogoDocument(file);
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->items.size(), 3u);
  const LayoutItem& image = parsed->items[1];
  EXPECT_EQ(image.kind, kImageObject);
  EXPECT_EQ(image.object, 143u);
  EXPECT_EQ(image.bitmap, 143u + 44u);
  EXPECT_EQ(BitmapFile(parsed->data.begin() + image.bitmap,
                       parsed->data.begin() + image.bitmap + image.bitmap_size),
            bitmap);
  EXPECT_EQ(ReadObjectHeader(parsed->data, image.object)->transparent, 1);
  const LayoutItem& text = parsed->items[2];
  EXPECT_EQ(text.kind, kTextObject);
  EXPECT_EQ(text.object, 143u + 44u + bitmap.size());
  auto record = ReadTextRecord(parsed->data, text.payload);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->text_length, 1);
  EXPECT_EQ(record->text[0], 'b');
  EXPECT_STREQ(record->font.face_name.data(), "Arial");
}

TEST(DocumentReaderTest, RefusesMalformedFiles) {
  const auto good = Doc({Text("a")});
  ASSERT_TRUE(ParseLogoDocument(good));
  auto longer = good;
  longer.push_back(0);
  EXPECT_FALSE(ParseLogoDocument(longer));
  EXPECT_FALSE(ParseLogoDocument(std::span(good).first(good.size() - 1)));
  EXPECT_FALSE(ParseLogoDocument(std::span(good).first(63)));
  EXPECT_FALSE(ParseLogoDocument(Doc({}))) << "only the header: nothing to show";

  auto patched = [](std::vector<DocumentObject> objects, auto change) {
    auto file = Doc(objects);
    change(file);
    return file;
  };
  const struct {
    std::vector<std::uint8_t> file;
    const char* why;
  } cases[] = {
      {patched({Text("a")}, [](auto& f) { f[0] = 'q'; }), "magic"},
      {patched({Text("a")}, [](auto& f) { PutU16(f, 64, 0x8011); }), "unknown object"},
      {patched({ImageObject(0, 0, 1, 1, std::vector<std::uint8_t>(99, 0))},
               [](auto& f) { PutU32(f, kDocOffTextBytes, 143), PutU32(f, kDocOffImageBytes, 0); }),
       "budgets swapped"},
      {patched(
           {Text("a"), Text("b")},
           [](auto& f) { PutU32(f, kDocOffTextBytes, 143), PutU32(f, kDocOffImageBytes, 143); }),
       "budgets stop before the data ends"},
      {patched({Text("a")}, [](auto& f) { PutU16(f, 64 + 40 + kTextOffLength, 41); }),
       "text past its 40-byte field"},
  };
  for (const auto& c : cases) EXPECT_FALSE(ParseLogoDocument(c.file)) << c.why;
  // An image length that runs past the data, and ones that wrap 32 bits.
  for (std::uint32_t n : {1000u, 0xFFFFFFFFu, 0xFFFFFFD4u}) {
    auto past = Doc({ImageObject(0, 0, 1, 1, std::vector<std::uint8_t>(10, 0))});
    PutU32(past, 64 + 40, n);
    EXPECT_FALSE(ParseLogoDocument(past)) << n;
  }
  EXPECT_FALSE(WriteLogoDocument(10, 10, {Text(std::string(41, 'x'))}));
}

TEST(DocumentReaderTest, LoadCopiesSessionSettingsAndAnUnusableFileLoadsNothing) {
  RecordingMessageBoxes boxes;
  ComposeSession cs;
  cs.session().params.processing = 2;
  cs.session().monochrome = 1;
  ASSERT_TRUE(
      cs.UseDocument(100, 50, {Text("a"), ImageObject(0, 0, 9, 9, SolidBitmap(2, 2, kBlack24))}));
  ASSERT_EQ(cs.session().items.size(), 2u);
  EXPECT_EQ(cs.session().item_count, 2);
  EXPECT_EQ(cs.session().items[1].params.processing, 2u);
  EXPECT_EQ(cs.session().items[1].monochrome, 1);
  EXPECT_EQ(cs.session().items[0].monochrome, 0) << "text items keep none";
  EXPECT_EQ(ReadDocumentHeader(cs.session().document_header)->page_width, 100);

  auto bad = Doc({Text("a")});
  bad[5] = 'x';
  WriteWholeFile(cs.session().source_path, bad);
  EXPECT_EQ(LoadLogoDocument(nullptr, cs.session()), 0);
  EXPECT_EQ(cs.session().item_count, 0);
  EXPECT_TRUE(cs.session().items.empty() && cs.session().document.empty());
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, LoadString(kStrCannotReadImage));
  cs.session().source_path = (cs.dir().path() / "absent.qlf").string();
  EXPECT_EQ(LoadLogoDocument(nullptr, cs.session()), 0);
  EXPECT_EQ(boxes.boxes().size(), 2u);
}

TEST(DocumentReaderTest, BuildRefusesFileThatChangedSinceCounted) {
  ComposeSession cs;
  const std::string path = (cs.dir().path() / "d.qlf").string();
  ASSERT_TRUE(SaveLogoDocument(path, 10, 10, {Text("a"), Text("b")}));
  DocumentHeaderBytes header{};
  EXPECT_EQ(CountDocumentObjects(path, header), 2);
  EXPECT_EQ(CountDocumentObjects("", header), 0);
  std::vector<LayoutItem> items;
  std::vector<std::uint8_t> data;
  EXPECT_EQ(BuildLayoutItems(path, 1, items, data), 0);
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(BuildLayoutItems(path, 2, items, data), 1);
  EXPECT_EQ(items.size(), 2u);
  EXPECT_EQ(data.size(), 286u);
}

}  // namespace
}  // namespace inkmark::testing
