// Reading logo documents: what loads, what is refused, and that a malformed
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

TEST(DocumentReaderTest, SizesFollowTheObjects) {
  auto image = Doc({ImageObject(0, 0, 10, 10, std::vector<std::uint8_t>(1000, 7))});
  EXPECT_EQ(image.size(), 1108u);
  EXPECT_EQ(*ByteReader(image).U32(kDocOffImageBytes), 1044u);
  EXPECT_EQ(*ByteReader(image).U32(kDocOffTextBytes), 0u);

  auto texts = Doc({Text("a"), Text("b")});
  EXPECT_EQ(texts.size(), 350u);
  EXPECT_EQ(*ByteReader(texts).U32(kDocOffTextBytes), 286u);
  auto parsed = ParseLogoDocument(texts);
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->items.size(), 2u);
  EXPECT_EQ(parsed->items[1].kind, kTextObject);
  EXPECT_EQ(parsed->items[1].object, 143u);
  auto record = ReadTextRecord(parsed->data, parsed->items[1].payload);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->text_length, 1);
  EXPECT_EQ(record->text[0], 'b');
  EXPECT_STREQ(record->font.face_name.data(), "Arial");
}

TEST(DocumentReaderTest, MixedObjectsKeepFileOrderAndLocateTheirBitmaps) {
  const auto bitmap = SolidBitmap(3, 2, kRed24);
  auto parsed =
      ParseLogoDocument(Doc({Text("x"), ImageObject(1, 2, 3, 4, bitmap, true), Text("y")}));
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->items.size(), 3u);
  const LayoutItem& image = parsed->items[1];
  EXPECT_EQ(image.kind, kImageObject);
  EXPECT_EQ(image.object, 143u);
  EXPECT_EQ(image.bitmap, 143u + 44u);
  ASSERT_EQ(image.bitmap_size, bitmap.size());
  EXPECT_TRUE(std::equal(bitmap.begin(), bitmap.end(), parsed->data.begin() + 187));
  auto header = ReadObjectHeader(parsed->data, image.object);
  EXPECT_EQ(header->transparent, 1);
  EXPECT_EQ(header->right, 3);
  EXPECT_EQ(parsed->items[2].object, 143u + 44u + bitmap.size());
}

TEST(DocumentReaderTest, RefusesWrongLengthOrMagic) {
  const auto good = Doc({Text("a")});
  ASSERT_TRUE(ParseLogoDocument(good));
  auto longer = good;
  longer.push_back(0);
  EXPECT_FALSE(ParseLogoDocument(longer));
  EXPECT_FALSE(ParseLogoDocument(std::span(good).first(good.size() - 1)));
  EXPECT_FALSE(ParseLogoDocument(std::span(good).first(63)));
  auto lower = good;
  lower[0] = 'q';
  EXPECT_FALSE(ParseLogoDocument(lower));
  // Only the header: nothing to show.
  auto empty = Doc({});
  EXPECT_EQ(empty.size(), 64u);
  EXPECT_FALSE(ParseLogoDocument(empty));
}

TEST(DocumentReaderTest, RefusesMalformedBudgetsAndObjects) {
  auto unknown = Doc({Text("a")});
  PutU16(unknown, 64, 0x8011);
  EXPECT_FALSE(ParseLogoDocument(unknown));

  // The text budget names the image object's bytes and vice versa.
  auto swapped = Doc({ImageObject(0, 0, 1, 1, std::vector<std::uint8_t>(99, 0))});
  PutU32(swapped, kDocOffTextBytes, 143);
  PutU32(swapped, kDocOffImageBytes, 0);
  EXPECT_FALSE(ParseLogoDocument(swapped));

  // An image length that runs past the data, and one that wraps 32 bits.
  for (std::uint32_t n : {1000u, 0xFFFFFFFFu, 0xFFFFFFD4u}) {
    auto past = Doc({ImageObject(0, 0, 1, 1, std::vector<std::uint8_t>(10, 0))});
    PutU32(past, 64 + 40, n);
    EXPECT_FALSE(ParseLogoDocument(past)) << n;
  }

  // Budgets that stop before the data ends: the length matches, the objects do not.
  auto early = Doc({Text("a"), Text("b")});
  PutU32(early, kDocOffTextBytes, 143);
  PutU32(early, kDocOffImageBytes, 143);
  EXPECT_FALSE(ParseLogoDocument(early));

  // A text length past the 40-byte field.
  auto long_text = Doc({Text("a")});
  PutU16(long_text, 64 + 40 + kTextOffLength, 41);
  EXPECT_FALSE(ParseLogoDocument(long_text));
  EXPECT_FALSE(WriteLogoDocument(10, 10, {Text(std::string(41, 'x'))}));
}

TEST(DocumentReaderTest, LoadCopiesSessionSettingsIntoImageItems) {
  ComposeSession cs;
  cs.session().params.processing = 2;
  cs.session().monochrome = 1;
  ASSERT_TRUE(
      cs.UseDocument(100, 50, {Text("a"), ImageObject(0, 0, 9, 9, SolidBitmap(2, 2, kBlack24))}));
  const LogoSession& s = cs.session();
  EXPECT_EQ(s.item_count, 2);
  ASSERT_EQ(s.items.size(), 2u);
  EXPECT_EQ(s.items[1].params.processing, 2u);
  EXPECT_EQ(s.items[1].monochrome, 1);
  EXPECT_EQ(s.items[0].monochrome, 0);  // text items keep none
  EXPECT_EQ(s.items[0].color_index, 0);
  EXPECT_EQ(ReadDocumentHeader(s.document_header)->page_width, 100);
}

TEST(DocumentReaderTest, UnusableFileShowsStringTwentyEightAndLoadsNothing) {
  RecordingMessageBoxes boxes;
  ComposeSession cs;
  ASSERT_TRUE(cs.UseDocument(100, 50, {Text("a")}));
  auto bad = Doc({Text("a")});
  bad[5] = 'x';
  WriteWholeFile(cs.session().source_path, bad);
  EXPECT_EQ(LoadLogoDocument(nullptr, cs.session()), 0);
  EXPECT_EQ(cs.session().item_count, 0);
  EXPECT_TRUE(cs.session().items.empty());
  EXPECT_TRUE(cs.session().document.empty());
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
  std::vector<LayoutItem> items;
  std::vector<std::uint8_t> data;
  EXPECT_EQ(BuildLayoutItems(path, 1, items, data), 0);
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(BuildLayoutItems(path, 2, items, data), 1);
  EXPECT_EQ(items.size(), 2u);
  EXPECT_EQ(data.size(), 286u);
  EXPECT_EQ(CountDocumentObjects("", header), 0);
}

}  // namespace
}  // namespace inkmark::testing
