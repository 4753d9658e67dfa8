// Composition of documents and pictures: order, transparency, inks, the two
// previews and the full-size print raster at the paper's edge; logo documents
// written and read back, what is refused, and that a malformed body is never
// walked outside its bytes; text items: the rotated box table and glyphs that
// come out in exactly their colour.
#include "document/compose.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPainter>

#include "converter/convert.h"
#include "document/compose_surface.h"
#include "document/document_format.h"
#include "document/document_reader.h"
#include "document/text_item.h"
#include "document/text_item_font.h"
#include "document/text_limit.h"
#include "picture/picture.h"
#include "picture/picture_bytes.h"
#include "picture/picture_io.h"
#include "support/bitmap_fixture.h"
#include "support/compose_fixture.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {
namespace {

std::int32_t PageWidth(const BitmapFile& page) { return *ByteReader(page).I32(18); }
std::int32_t PageHeight(const BitmapFile& page) { return *ByteReader(page).I32(22); }

// The pixel at (x, y) counted from the top of a composed 24-bit page.
Bgr24 PagePixel(const BitmapFile& page, std::int32_t x, std::int32_t y) {
  const std::size_t stride = (3 * PageWidth(page) + 3) & ~3;
  const std::size_t at = *ByteReader(page).U32(10) + stride * (PageHeight(page) - 1 - y) + 3 * x;
  return {page.at(at), page.at(at + 1), page.at(at + 2)};
}

// The pixels of the page that are `ink`, white, or neither.
struct PixelCensus {
  std::int64_t ink = 0, white = 0, other = 0;
};
PixelCensus CountPixels(const BitmapFile& page, Bgr24 ink) {
  PixelCensus n;
  for (std::int32_t i = 0, w = PageWidth(page); i < w * PageHeight(page); ++i) {
    const Bgr24 p = PagePixel(page, i % w, i / w);
    ++(p == ink ? n.ink : p == kWhite24 ? n.white : n.other);
  }
  return n;
}

// A window 202 wide (200 usable) with the given list selections.
struct FakePreviewControls : PreviewControls {
  int monochrome_color = 0, text_color = 0;
  int ListSelection(int list) const override {
    return list == kMonochromeColorList ? monochrome_color : text_color;
  }
  int ClientWidth(int) const override { return 202; }
};

constexpr Bgr24 kGreen24 = {0, 255, 0};

DocumentObject GreenText(std::int32_t left, std::int32_t bottom) {
  return TextObject(left, bottom, "HHHH", "Arial", -24, kColorGreen);
}

TEST(ComposeTest, TextTakesItsInkConvertedAndALaterImageHidesItUnlessTransparent) {
  for (bool transparent : {false, true}) {
    ComposeSession cs;
    ASSERT_TRUE(cs.UseDocument(
        200, 60,
        {GreenText(10, 40), ImageObject(0, 0, 200, 60, SolidBitmap(4, 4, kWhite24), transparent)}));
    cs.session().items[0].color_index = 1;
    auto stored = ComposeAsStored(cs.session());
    auto converted = ComposeConverted(cs.session(), 2.0, 2.0);
    ASSERT_TRUE(stored && converted);
    EXPECT_EQ((std::array{PageWidth(*stored), PageWidth(*converted), PageHeight(*converted)}),
              (std::array{200, 400, 120}));
    const PixelCensus as_stored = CountPixels(*stored, kGreen24),
                      in_ink = CountPixels(*converted, kRed24);
    EXPECT_EQ((std::array<std::int64_t, 3>{as_stored.ink > 50, in_ink.ink > 4 * 50,
                                           as_stored.other + in_ink.other}),
              (std::array<std::int64_t, 3>{transparent, transparent, 0}));
    EXPECT_EQ(CountPixels(*ComposeAsStored(cs.session()), kGreen24).ink, as_stored.ink)
        << "converting leaves the document's own colour as stored";
  }
}

TEST(ComposeTest, ImageItemsConvertWithTheirOwnSettingsAndARefusedItemFailsThePage) {
  ComposeSession cs;
  // A mid grey: with two inks it converts to an ink; attached to white it vanishes.
  const auto grey = SolidBitmap(8, 8, {100, 100, 100});
  ASSERT_TRUE(cs.UseDocument(100, 20,
                             {ImageObject(0, 0, 50, 20, grey), ImageObject(50, 0, 100, 20, grey)}));
  for (auto& level : cs.session().items[1].params.level_attach) level = kAttachWhite;
  cs.session().items[1].params.attach_manual = 1;
  auto page = ComposeConverted(cs.session(), 1.0, 1.0);
  ASSERT_TRUE(page);
  EXPECT_NE(PagePixel(*page, 10, 10), kWhite24);
  EXPECT_EQ(PagePixel(*page, 75, 10), kWhite24);
  EXPECT_EQ(cs.session().items[1].params.target_width, 50u);
  cs.session().items[0].params.adjust_b = 0;
  EXPECT_FALSE(ComposeConverted(cs.session(), 1.0, 1.0));

  ComposeSession broken;
  ASSERT_TRUE(
      broken.UseDocument(50, 50, {ImageObject(0, 0, 10, 10, std::vector<std::uint8_t>(70, 1))}));
  EXPECT_FALSE(ComposeAsStored(broken.session())) << "undecodable embedded bitmap";
  EXPECT_FALSE(ComposeConverted(broken.session(), 1.0, 1.0));
}

// The previews of a JPEG and a run-length picture come straight from the file,
// both from one decode, and are the whole picture fitted and cut, byte for
// byte; so is the logo converted from either.
TEST(PreviewTest, JpegAndRunLengthPreviewsAreTheWholePictureFitAndCut) {
  ComposeSession cs(400);
  LogoSession& s = cs.session();
  FakePreviewControls window;  // usable width 200
  const std::string reference = (cs.dir().path() / "reference.bmp").string();
  const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> pictures = {
      {EncodePhotoJpeg({1001, 333, 3, 2, 2, 1, false}), "src.jpg"},
      {EncodePhotoJpeg({1203, 517, 3, 2, 2, 0, false}), "wide.jpg"},
      {EncodePhotoJpeg({517, 211, 1, 1, 1, 0, true}), "src.JPG"},
      // Narrower than the paper: the cut picture is enlarged from the whole decode.
      {EncodePhotoJpeg({150, 90, 3, 2, 1, 0, false}), "small.jpg"},
      {*ReadWholeFile(std::string(INKMARK_PICTURE_FIXTURES) + "/rle8.bmp"), "src.rle"}};
  for (const auto& [bytes, name] : pictures) {
    cs.UsePicture(bytes, name);
    ASSERT_EQ(MakeSourcePreviews(window, s), 1) << name;
    auto whole = LoadPicture(s.source_path);
    ASSERT_TRUE(whole);
    EXPECT_EQ((std::array{s.source_width, s.source_height}),
              (std::array<std::uint32_t, 2>{std::uint32_t(PageWidth(*whole)),
                                            std::uint32_t(PageHeight(*whole))}));
    std::array<std::int32_t, 2> fit_size{}, cut_size{};
    const std::int32_t c = std::max(PageWidth(*whole) * 200 / 400, 1);
    const auto fit = ScaleCropToFile(200, 200, "", &*whole, "", fit_size);
    const auto cut = ScaleCropToFile(c, 200, "", &*whole, "", cut_size);
    ASSERT_TRUE(fit && cut);
    EXPECT_EQ(*fit, s.fit_image) << name;
    EXPECT_EQ(fit_size, s.fit_size);
    EXPECT_EQ(*cut, s.cut_image) << name;
    EXPECT_EQ(cut_size, s.cut_size);
    EXPECT_EQ(ReadWholeFile(s.temp_fit_path), s.fit_image);
    EXPECT_EQ(ReadWholeFile(s.temp_cut_path), s.cut_image);
    for (const bool fitted : {false, true}) {
      s.fit_to_width = fitted ? 1 : 0;
      ASSERT_EQ(MakeConvertedPreview(window, s), 1) << name;
      // The converter run on the whole picture scaled, as a file of its own.
      ConversionParams params = s.params;
      params.target_width = std::uint32_t((fitted ? fit_size : cut_size)[0]);
      params.target_height = std::uint32_t((fitted ? fit_size : cut_size)[1]);
      ASSERT_TRUE(WriteWholeFile(reference, fitted ? *fit : *cut));
      const std::int32_t inks[2] = {s.first_color, s.second_color};
      ASSERT_EQ(QrvConvertLogo(reference.c_str(), &params, inks, reference.c_str()), 1);
      EXPECT_EQ(LoadPicture(reference), s.converted) << name << " fit " << fitted;
    }
    s.fit_to_width = 0;
  }
}

// A JPEG with foreign bytes before its end marker is refused on every road: the
// window's previews and the print raster, with and without Fit; the same
// picture without them is taken on each.
TEST(PreviewTest, AJpegWithExtraneousBytesIsRefusedByThePreviewsAndTheRasterWithAndWithoutFit) {
  // Paper narrower than the picture: every road scales or cuts it.
  ComposeSession cs(250);
  LogoSession& s = cs.session();
  FakePreviewControls window;
  const auto sound = EncodePhotoJpeg({301, 203, 3, 2, 2, 0, false});
  auto foreign = sound;
  foreign.insert(foreign.end() - 2, {0x12, 0x34, 0x56});
  for (const auto* bytes : std::array<const std::vector<std::uint8_t>*, 2>{&sound, &foreign}) {
    const bool taken = bytes == &sound;
    cs.UsePicture(*bytes, "photo.jpg");
    ASSERT_EQ(LoadPicture(s.source_path).has_value(), taken);
    for (const int fit : {0, 1}) {
      s.fit_to_width = fit;
      EXPECT_EQ(MakeSourcePreviews(window, s), taken ? 1 : 0) << fit;
      EXPECT_EQ(MakeConvertedPreview(window, s), taken ? 1 : 0) << fit;
      EXPECT_EQ(BuildPreviewImage(s).has_value(), taken) << fit;
      auto raster = BuildLogoRaster(s);
      ASSERT_EQ(raster.has_value(), taken) << fit;
      if (!taken) {
        EXPECT_NE(raster.detail().find("extraneous bytes"), std::string::npos) << raster.detail();
      }
    }
  }
}

// A drawing is shown drawn at each preview's size, never at its own first: one
// whose own size is beyond the picture limits shows both previews with Fit,
// and the Preview window's picture is what Test Print sends; the cut preview,
// made only as far as it is cut, is that of the drawing made whole at its width.
TEST(PreviewTest, DrawingsShowAtThePreviewSizesEvenWhenTheirOwnSizeIsBeyondTheLimits) {
  ComposeSession cs(400);
  LogoSession& s = cs.session();
  FakePreviewControls window;  // usable width 200
  auto svg = [](const std::string& size) {
    const std::string text = R"(<svg xmlns="http://www.w3.org/2000/svg" )" + size +
                             R"( viewBox="0 0 6 1"><rect width="3" height="1"/></svg>)";
    return std::vector<std::uint8_t>(text.begin(), text.end());
  };
  auto inked = [](const BitmapFile& picture) {
    return CountPixels(picture, kBlack24).ink + CountPixels(picture, kRed24).ink;
  };
  // 1801 x 300 at 96 to the inch: the cut preview is drawn at 900 and cut at 200.
  cs.UsePicture(svg(R"(width="1801" height="300")"), "small.svg");
  ASSERT_EQ(MakeSourcePreviews(window, s), 1);
  EXPECT_EQ((std::array{s.source_width, s.source_height}), (std::array{1801u, 300u}));
  std::array<std::int32_t, 2> size{};
  const BitmapFile at_fit = *LoadPicture(s.source_path, {200, 96});
  const BitmapFile at_cut = *LoadPicture(s.source_path, {900, 96});
  EXPECT_EQ(s.fit_image, *ScaleCropToFile(200, 200, "", &at_fit, "", size));
  EXPECT_EQ(s.cut_image, *ScaleCropToFile(900, 200, "", &at_cut, "", size));
  EXPECT_EQ(size, s.cut_size);

  // 600 x 100 inches is 57600 x 9600 pixels.
  cs.UsePicture(svg(R"(width="600in" height="100in")"), "huge.svg");
  s.fit_to_width = 0;
  EXPECT_FALSE(BuildLogoRaster(s)) << "its own size is beyond the limits";
  s.fit_to_width = 1;
  ASSERT_EQ(MakeSourcePreviews(window, s), 1);
  EXPECT_EQ((std::array{s.source_width, s.source_height}), (std::array{57600u, 9600u}));
  EXPECT_GT(inked(s.fit_image), 0);
  EXPECT_GT(inked(s.cut_image), 0);
  ASSERT_EQ(MakeConvertedPreview(window, s), 1);
  EXPECT_GT(inked(s.converted), 0);
  auto shown = BuildPreviewImage(s);
  auto sent = BuildLogoRaster(s);
  ASSERT_TRUE(shown && sent);
  auto from_shown = LogoRaster::FromFile(std::move(*shown));
  ASSERT_TRUE(from_shown);
  EXPECT_TRUE(std::ranges::equal(from_shown->bytes(), sent->bytes()));
  EXPECT_EQ((std::array{sent->width(), sent->height()}), (std::array{400, 67}));
}

TEST(PreviewTest,
     PreviewsFollowTheWindowSelectionsPicturesAreFitAndCutAnEmptyDocumentShowsNothing) {
  ComposeSession cs(400);
  LogoSession& s = cs.session();
  ASSERT_TRUE(cs.UseDocument(
      400, 100, {GreenText(10, 60), ImageObject(200, 0, 400, 100, SolidBitmap(4, 4, kBlack24))}));
  FakePreviewControls window;  // usable width 200
  ASSERT_EQ(MakeSourcePreviews(window, s), 1);
  EXPECT_TRUE(s.source_shown == ShownSource::kFit && s.fit_size == (std::array{200, 50}));

  window.text_color = 1;  // the text item takes the text list's choice
  ASSERT_EQ(MakeConvertedPreview(window, s), 1);
  EXPECT_EQ(s.items[0].color_index, 1);
  EXPECT_GT(CountPixels(s.converted, kRed24).ink, 10);
  s.item_index = 1;  // the image item, the monochrome list's and the grade
  window.monochrome_color = s.params.processing = 1;
  ASSERT_EQ(MakeConvertedPreview(window, s), 1);
  EXPECT_EQ((std::array{s.items[1].color_index, int(s.items[1].params.processing)}),
            (std::array{1, 1}));

  // Pictures are fit and cut.
  cs.UsePicture(SolidBitmap(800, 100, kBlack24));
  ASSERT_EQ(MakeSourcePreviews(window, s), 1);
  // 800 pixels at 200 per 400 dots is 400 wide, cut at the paper's 200.
  EXPECT_EQ((std::array{s.fit_size, s.cut_size}),
            (std::array<std::array<int, 2>, 2>{{{200, 25}, {200, 50}}}));
  EXPECT_EQ(s.source_shown, ShownSource::kCut);
  ASSERT_EQ(MakeConvertedPreview(window, s), 1);
  EXPECT_EQ((std::array{PageWidth(s.converted), PageHeight(s.converted)}), (std::array{200, 50}));

  ComposeSession empty;  // a document without items
  empty.session().source_kind = kSourceDocument;
  empty.session().converted = {1, 2, 3};
  EXPECT_EQ(
      MakeSourcePreviews(window, empty.session()) + MakeConvertedPreview(window, empty.session()),
      0);
  EXPECT_TRUE(empty.session().converted.empty() &&
              empty.session().source_shown == ShownSource::kNone);
}

TEST(BuildLogoRasterTest, PicturesAreCutAtThePaperEdgeOrScaledToItWithFit) {
  // Pictures whose left half is black and right half white, on 512-dot paper.
  // Width, height, fit, one ink, the raster's width and height, probes (x, y, value).
  const std::tuple<std::int32_t, std::int32_t, bool, bool, std::int32_t, std::int32_t,
                   std::vector<std::array<std::int32_t, 3>>>
      cases[] = {
          // Cut: 500 black and 12 white columns are kept.
          {1000, 40, false, false, 512, 40, {{0, 0, 0}, {499, 20, 0}, {511, 20, 2}}},
          // Scaled whole: 301 * 512 / 1000 = 154, truncated; never less than one row.
          {1000, 301, true, false, 512, 154, {{10, 5, 0}, {500, 5, 2}}},
          {1000, 1, true, false, 512, 1, {{10, 0, 0}, {500, 0, 2}}},
          // Narrow pictures are enlarged only with fit.
          {100, 50, true, false, 512, 256, {{10, 10, 0}, {500, 10, 2}}},
          // One ink, no fit: kept narrow, in the converter's 1-bit raster (white first in its
          // palette, unlike the classified raster of a document).
          {100, 50, false, true, 100, 50, {{10, 10, 1}, {90, 10, 0}}},
      };
  for (const auto& [width, height, fit, one_ink, want_width, want_height, probes] : cases) {
    SCOPED_TRACE(::testing::Message() << width << " x " << height << " fit " << fit);
    ComposeSession cs(512);
    cs.session().fit_to_width = fit;
    if (one_ink) cs.UseOneInk();
    cs.UsePicture(SplitBitmap(width, height, kBlack24, kWhite24));
    auto raster = BuildLogoRaster(cs.session());
    ASSERT_TRUE(raster);
    EXPECT_EQ((std::array{raster->width(), raster->height(), int{raster->bits_per_pixel()},
                          int(cs.session().params.target_width)}),
              (std::array{want_width, want_height, one_ink ? 1 : 8, want_width}));
    for (const auto& [x, y, value] : probes) EXPECT_EQ(raster->pixel(x, y), value) << x;
  }
}

TEST(BuildLogoRasterTest, NoRasterWithoutUsableSourceOrSettings) {
  ComposeSession cs(512);
  EXPECT_FALSE(BuildLogoRaster(cs.session()));  // no source
  cs.UsePicture(SolidBitmap(8, 8, kBlack24));
  ASSERT_TRUE(BuildLogoRaster(cs.session()));
  // Settings the converter refuses must not let the stale temporary file pass
  // for its output.
  cs.session().params.adjust_r = 9;
  EXPECT_FALSE(BuildLogoRaster(cs.session()));
  cs.session().params.adjust_r = 3;
  cs.session().print_width_dots = 0;
  EXPECT_FALSE(BuildLogoRaster(cs.session()));
}

TEST(BuildLogoRasterTest, DocumentIsScaledToPaperWithFitCutWithoutAndOneBitForOneInk) {
  const std::vector<DocumentObject> objects = {
      ImageObject(0, 0, 144, 100, SolidBitmap(16, 16, kBlack24))};
  ComposeSession cs(576), wide(576);
  ASSERT_TRUE(cs.UseDocument(288, 100, objects) && wide.UseDocument(800, 30, objects));
  auto stored = BuildLogoRaster(cs.session());
  auto cut = BuildLogoRaster(wide.session());
  ASSERT_TRUE(stored && cut);
  using Px = std::array<std::optional<std::uint8_t>, 2>;
  EXPECT_EQ((std::array{stored->width(), stored->height(), cut->width(), cut->height()}),
            (std::array{288, 100, 576, 30}));
  EXPECT_EQ((Px{stored->pixel(10, 50), stored->pixel(200, 50)}), (Px{0, 2}));

  cs.session().fit_to_width = 1;
  auto fitted = BuildLogoRaster(cs.session());
  ASSERT_TRUE(fitted);
  EXPECT_EQ((std::array{fitted->width(), fitted->height()}), (std::array{576, 200}));
  EXPECT_EQ((Px{fitted->pixel(287, 100), fitted->pixel(288, 100)}), (Px{0, 2}));
  cs.UseOneInk();  // the classified raster: bit 0 ink, bit 1 white
  auto mono = BuildLogoRaster(cs.session());
  ASSERT_TRUE(mono && mono->bits_per_pixel() == 1);
  EXPECT_EQ((Px{mono->pixel(287, 100), mono->pixel(288, 100)}), (Px{0, 1}));
}

auto Doc(const std::vector<DocumentObject>& o) { return *WriteLogoDocument(100, 50, o); }

DocumentObject Text(const std::string& s) { return TextObject(5, 30, s, "Arial", -12, kColorRed); }

TEST(DocumentReaderTest, WrittenObjectsKeepTheirOrderAndBudgetsAndMalformedFilesAreRefused) {
  const auto one = Doc({Text("a")}), two = Doc({Text("a"), Text("b")});
  const auto image = Doc({ImageObject(0, 0, 1, 1, std::vector<std::uint8_t>(10, 0))});
  const auto mixed =
      Doc({Text("x"), ImageObject(1, 2, 3, 4, std::vector<std::uint8_t>(10, 0)), Text("b")});
  const auto header = ReadDocumentHeader(mixed).value();
  EXPECT_EQ((std::array<std::size_t, 3>{mixed.size(), header.text_bytes, header.image_bytes}),
            (std::array<std::size_t, 3>{64 + 2 * 143 + 54, 2 * 143, 54}));
  auto parsed = ParseLogoDocument(mixed);
  ASSERT_TRUE(parsed && parsed->items.size() == 3 && ParseLogoDocument(one) &&
              ParseLogoDocument(two) && ParseLogoDocument(image));
  EXPECT_EQ((std::array{parsed->items[1].kind, parsed->items[2].kind}),
            (std::array{kImageObject, kTextObject}));
  auto longer = one;
  longer.push_back(0);
  EXPECT_FALSE(ParseLogoDocument(longer));
  EXPECT_FALSE(ParseLogoDocument(std::span(one).first(one.size() - 1)));
  EXPECT_FALSE(ParseLogoDocument(std::span(one).first(63)));
  EXPECT_FALSE(ParseLogoDocument(Doc({}))) << "only the header: nothing to show";
  const std::tuple<const std::vector<std::uint8_t>&, std::size_t, std::uint64_t, int, const char*>
      cases[] = {
          {one, 0, 'q', 1, "magic"},
          {one, 64, 0x8011, 2, "unknown object"},
          {image, kDocOffTextBytes, 54, 8, "budgets swapped"},
          {two, kDocOffTextBytes, 143 | std::uint64_t{143} << 32, 8, "budgets stop before the end"},
          // An image length that runs past the data, and ones that wrap 32 bits.
          {image, 64 + 40, 1000, 4, "image past the end"},
          {image, 64 + 40, 0xFFFFFFFF, 4, "wraps"},
          {image, 64 + 40, 0xFFFFFFD4, 4, "wraps with the fixed part"},
      };
  for (const auto& [source, at, value, bytes, why] : cases) {
    auto file = source;
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<std::uint8_t>(value >> 8 * i);
    auto refused = ParseLogoDocument(file);
    ASSERT_FALSE(refused) << why;
    // Every refusal names its cause; only the text's length has one of its own.
    const bool text = std::string_view(why).starts_with("text");
    EXPECT_EQ(refused.code(), text ? FailureCode::kTextTooLong : FailureCode::kCorrupt) << why;
    EXPECT_NE(refused.detail(), "") << why;
  }
}

// The text of the document's only object as the reader gives it back; nullopt
// when the reader refuses the document.
std::optional<std::string> ReadBackText(const std::vector<std::uint8_t>& file) {
  auto parsed = ParseLogoDocument(file);
  if (!parsed) return std::nullopt;
  const TextRecord record = *ReadTextRecord(parsed->data, parsed->items.at(0).payload);
  return std::string(record.text.begin(), record.text.begin() + record.text_length);
}

TEST(TextLimitTest, FortyBytesAreWrittenAndReadBackTheFortyFirstIsRefusedWholeNeverCut) {
  const std::string forty(40, 'x');
  EXPECT_EQ(ReadBackText(Doc({Text(forty)})), forty);
  const auto refused = WriteLogoDocument(10, 10, {Text(forty + 'x')});
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.code(), FailureCode::kTextTooLong);
  // A file whose length field claims one byte more than the field holds.
  auto claimed = Doc({Text(forty)});
  claimed[kDocumentHeaderSize + kObjectHeaderSize + kTextOffLength] = 41;
  EXPECT_FALSE(ReadBackText(claimed));

  // Japanese in Shift-JIS: twenty characters fill the forty bytes; a two-byte
  // character at bytes 40-41 refuses the text rather than splitting it.
  if (!EncodeTextItem(QStringLiteral("\u8A9E"), 932)) GTEST_SKIP() << "no Shift-JIS codec here";
  const QString twenty(20, QChar(0x8A9E));  // 語, 0x8C 0xEA
  const auto bytes = EncodeTextItem(twenty, 932);
  ASSERT_TRUE(bytes);
  std::string expected;
  for (int i = 0; i < 20; ++i) expected += "\x8C\xEA";
  EXPECT_EQ(*bytes, expected);
  DocumentObject japanese = Text(*bytes);
  japanese.font.char_set = 128;
  EXPECT_EQ(ReadBackText(Doc({japanese})), expected);
  const auto split = EncodeTextItem(QString(39, QChar('a')) + QChar(0x8A9E), 932);
  ASSERT_FALSE(split) << "cut to " << split->size() << " bytes";
  EXPECT_EQ(split.code(), FailureCode::kTextTooLong);
  EXPECT_EQ(EncodeTextItem(QString(38, QChar('a')) + QChar(0x8A9E), 932).value().size(), 40u);
  EXPECT_EQ(EncodeTextItem(QChar(0x8A9E), 1252).code(), FailureCode::kUnsupported);
}

TEST(DocumentReaderTest, LoadCopiesSessionSettingsAndAnUnusableFileLoadsNothing) {
  RecordingMessageBoxes boxes;
  ComposeSession cs;
  LogoSession& s = cs.session();
  s.params.processing = 2;
  s.monochrome = 1;
  ASSERT_TRUE(
      cs.UseDocument(100, 50, {Text("a"), ImageObject(0, 0, 9, 9, SolidBitmap(2, 2, kBlack24))}));
  ASSERT_EQ(s.items.size(), 2u);
  EXPECT_EQ(
      (std::array{s.items[0].monochrome, s.items[1].monochrome, int(s.items[1].params.processing)}),
      (std::array{0, 1, 2}))
      << "text items keep no Monochrome";

  auto bad = Doc({Text("a")});
  bad[5] = 'x';
  WriteWholeFile(s.source_path, bad);
  EXPECT_EQ(LoadLogoDocument(nullptr, s), 0);
  EXPECT_TRUE(s.item_count() == 0 && s.items.empty() && s.document.empty());
  ASSERT_EQ(boxes.boxes().size(), 1u);
  // The standard text first, then why.
  EXPECT_THAT(boxes.boxes()[0].text, ::testing::EndsWith("\nnot a logo document"));
}

TEST(DocumentReaderTest, BuildRefusesFileThatChangedSinceCounted) {
  ComposeSession cs;
  const std::string path = (cs.dir().path() / "d.qlf").string();
  ASSERT_TRUE(SaveLogoDocument(path, 10, 10, {Text("a"), Text("b")}));
  std::vector<LayoutItem> items;
  std::vector<std::uint8_t> data;
  EXPECT_TRUE(BuildLayoutItems(path, 1, items, data) == 0 && items.empty());
  EXPECT_TRUE(BuildLayoutItems(path, 2, items, data) == 1 && items.size() == 2);
}

TextRecord Record(const std::string& text, const char* face, std::int32_t height,
                  std::int32_t escapement = 0) {
  TextRecord r{TextObject(0, 0, text, face, height, 0, escapement).font,
               static_cast<std::uint16_t>(text.size())};
  std::copy(text.begin(), text.end(), r.text.begin());
  return r;
}

TEST(RotateTextBoxTest, BoxAndOriginFollowTheTable) {
  const TextBox start{100, 0, 0, 200}, flat{100, 190, 140, 200};
  // cx = 40, cy = 10. At 30 degrees each term is truncated: A = trunc(10 sin 30) = 4,
  // B = trunc(40 sin 30 + 10 cos 30) = 28, C = trunc(40 cos 30) = 34, D = trunc(10 cos 30) = 8.
  // A negative escapement leaves the box as it is, unless a whole turn back (or less
  // than a degree back) makes it degree 0.
  const std::tuple<std::int32_t, TextBox, TextOrigin> cases[] = {
      // clang-format off
      {0, flat, {0, 0}},                     {900, {90, 160, 100, 200}, {0, 40}},
      {1800, {60, 200, 100, 210}, {40, 10}}, {2700, {100, 200, 110, 240}, {10, 0}},
      {4500, {90, 160, 100, 200}, {0, 40}},  {300, {96, 172, 134, 200}, {0, 20}},
      {-3599, start, {0, 0}},                {-9, flat, {0, 0}},
      // clang-format on
  };
  for (const auto& [escapement, want_box, want_origin] : cases) {
    TextBox box = start;
    TextOrigin origin{-1, -1};
    RotateTextBox(40, 10, escapement, box, origin);
    EXPECT_TRUE(box == want_box && origin == want_origin) << escapement;
  }
}

// The pixels of `record` drawn in red at `object` on a white page `side` square.
PixelCensus DrawnInRed(int side, const ObjectHeader& object, const TextRecord& record) {
  QImage page = WhiteSurface(side, side);
  EXPECT_EQ(DrawTextItem(page, object, record, kColorRed, 1, 1), 1);
  return CountPixels(SurfaceToPage(page), kRed24);
}

TEST(DrawTextItemTest, GlyphsArePureInkAtEveryAngleAQuarterTurnReadsUpwardsHugeFontsRefused) {
  for (std::int32_t e : {0, 900, 1800, 2700, 1234, -300}) {
    const PixelCensus census = DrawnInRed(300, {kTextObject, 150, 150, 150, 150, 0, 0},
                                          Record("Inkmark 42", "Arial", -18, e));
    EXPECT_TRUE(census.ink > 20 && census.other == 0) << e;
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

  TextBox kept{1, 2, 3, 4};  // no font: refused, box left alone
  TextOrigin origin;
  EXPECT_EQ(MeasureTextItem(Record("A", "Arial", -100000), kept, origin), 0);
  EXPECT_EQ(kept, (TextBox{1, 2, 3, 4}));
}

// Kerning pairs would pull these strings shorter than their characters' own
// advances; drawn whole, every glyph still lies inside the box.
TEST(DrawTextItemTest, KernedWordsKeepEveryGlyphInTheirBox) {
  auto ink_of = [](const std::string& text, const char* face, bool italic, std::int32_t e) {
    TextRecord record = Record(text, face, -32, e);
    record.font.italic = italic ? 1 : 0;
    return DrawnInRed(420, {kTextObject, 100, 300, 100, 300, 0, 0}, record).ink;
  };
  for (const char* face : {"Liberation Sans", "Liberation Serif"})
    for (bool italic : {false, true})
      for (std::int32_t e : {0, 900})
        for (const std::string word : {"Today", "TAVERN YARD", "AVAVAVAVAV"}) {
          std::int64_t alone = 0;
          for (char c : word) alone += ink_of(std::string(1, c), face, italic, e);
          EXPECT_EQ(ink_of(word, face, italic, e), alone)
              << word << " in " << face << (italic ? " italic" : "") << " at " << e;
        }
}

// Glyphs that overhang their advances (a leading "j"'s hook, a trailing "f"
// or "y") keep all their ink in the box: as much as the word drawn the same
// way, glyph by glyph, on a page with no box at all.
TEST(DrawTextItemTest, OverhangingGlyphsKeepAllTheirInkInTheBox) {
  auto unboxed_ink = [](const TextRecord& record) {
    QFont font = MakeItemFont(record.font).value();
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    QImage page(600, 600, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const double phi = record.font.escapement * 0.0017453292500000002;
    std::int64_t x = 300, y = 300;
    for (const char c :
         std::string(reinterpret_cast<const char*>(record.text.data()), record.text_length)) {
      painter.save();
      painter.translate(double(x), double(y));
      painter.rotate(-record.font.escapement / 10.0);
      painter.drawText(QPointF(0, metrics.ascent()), QString(QChar(c)));
      painter.restore();
      const int cw = metrics.horizontalAdvance(QChar(c));
      x += static_cast<std::int64_t>(cw * std::cos(phi));
      y -= static_cast<std::int64_t>(cw * std::sin(phi));
    }
    painter.end();
    std::int64_t ink = 0;
    for (int row = 0; row < page.height(); ++row)
      for (int col = 0; col < page.width(); ++col) ink += page.pixel(col, row) == qRgb(0, 0, 0);
    return ink;
  };
  enum Style { kUpright, kBold, kItalic };
  for (const char* face : {"Liberation Sans", "Liberation Serif", "DejaVu Sans", "DejaVu Serif"})
    for (Style style : {kUpright, kBold, kItalic})
      for (std::int32_t e : {0, 900})
        for (const std::string word : {"jam", "Staff", "Jiffy", "WAVY"}) {
          TextRecord record = Record(word, face, -48, e);
          if (style == kBold) record.font.weight = 700;
          if (style == kItalic) record.font.italic = 1;
          const std::int64_t want = unboxed_ink(record);
          ASSERT_GT(want, 100);
          EXPECT_EQ(DrawnInRed(600, {kTextObject, 300, 300, 300, 300, 0, 0}, record).ink, want)
              << word << " in " << face << " style " << style << " at " << e;
        }
}

// Text placed at the ends of the 32-bit range, turned every way, lies far off
// the page: it is composed without any overflow and leaves the page white.
TEST(ComposeEdges, TextAtTheEndsOfTheCoordinateRangeComposesToAWhitePage) {
  constexpr std::int32_t kLow = INT32_MIN, kHigh = INT32_MAX;
  for (std::int32_t escapement : {0, 450, 900, 1800, 2700, 3150}) {
    for (auto [left, bottom] : {std::pair{kLow, kLow}, std::pair{kHigh, kHigh},
                                std::pair{kLow + 5, kHigh - 5}, std::pair{kHigh, kLow}}) {
      ComposeSession cs(64);
      ASSERT_TRUE(cs.UseDocument(
          64, 32, {TextObject(left, bottom, "WWWW", "Arial", -30, kColorRed, escapement)}));
      for (double scale : {1.0, 0.5, 3.0}) {
        auto page = ComposeConverted(cs.session(), scale, scale);
        ASSERT_TRUE(page) << escapement << " " << left << " " << bottom;
        EXPECT_EQ(CountPixels(*page, kRed24).white, PageWidth(*page) * PageHeight(*page));
      }
      auto stored = ComposeAsStored(cs.session());
      ASSERT_TRUE(stored);
      EXPECT_EQ(CountPixels(*stored, kRed24).ink, 0);
    }
  }
}

// Every image item is decoded on each refresh: together they may claim no
// more pixels than one picture, each counted as at least a small one.
TEST(ComposeEdges, ADocumentWhoseImagesTogetherClaimTooMuchIsRefusedWithItsError) {
  auto claiming = [](std::int32_t side) {
    auto bitmap = SolidBitmap(2, 2, kBlack24);
    PutU32(bitmap, 18, std::uint32_t(side));
    PutU32(bitmap, 22, std::uint32_t(side));
    return ImageObject(0, 0, 8, 8, bitmap);
  };
  RecordingMessageBoxes boxes;
  ComposeSession cs(64);
  EXPECT_TRUE(cs.UseDocument(64, 32, {claiming(6000), GreenText(0, 20)}));
  EXPECT_FALSE(cs.UseDocument(64, 32, {claiming(6000), claiming(6000)}));
  const std::vector<DocumentObject> many(1025, ImageObject(0, 0, 1, 1, SolidBitmap(1, 1, kRed24)));
  EXPECT_FALSE(cs.UseDocument(64, 32, many));
  EXPECT_TRUE(cs.UseDocument(64, 32, std::vector(many.begin(), many.begin() + 1000)));
  EXPECT_EQ(boxes.texts().size(), 2u);
  for (const std::string& text : boxes.texts())
    EXPECT_EQ(text.rfind("The specified image file cannot be read.", 0), 0u) << text;
}

// Image items are decoded only where the page shows them: every picture, drawn
// into every kind of rectangle (inside, across each edge, off the page, grown,
// shrunk, empty), copied or ANDed, gives the page the whole decode gives it,
// and a damaged picture is refused even where nothing of it shows.
TEST(SmallDocuments, ImageItemsDrawnFromThePixelsShownMatchTheWholePicture) {
  auto paletted = Fixture(37, 23, 8);
  for (int i = 0; i < 256; ++i) paletted.palette.push_back({std::uint8_t(i), 90, std::uint8_t(~i)});
  Rows rows(23);
  for (std::uint32_t i = 0; i < 37u * 23u; ++i) rows[i / 37].push_back((i * 13) & 0xFF);
  paletted.pixels = PackRows(rows, 8);
  auto rle = paletted;
  rle.compression = 1;
  rle.pixels.clear();
  for (int r = 0; r < 23; ++r)
    rle.pixels.insert(rle.pixels.end(), {5, std::uint8_t(r * 9), 20, 3, 0, 0});
  rle.pixels.insert(rle.pixels.end(), {0, 1});
  auto damaged = rle;
  damaged.pixels.resize(damaged.pixels.size() - 2);  // no end marker
  const std::vector<std::vector<std::uint8_t>> pictures = {SplitBitmap(41, 19, kRed24, kGreen24),
                                                           BuildBitmap(paletted), BuildBitmap(rle),
                                                           BuildBitmap(damaged)};
  const std::array<std::int64_t, 4> rects[] = {
      {10, 10, 37, 23}, {-20, -5, 90, 40}, {50, 30, 80, 60}, {-100, 0, 50, 50},
      {5, 5, 3, 200},   {0, 0, 0, 10},     {30, -30, 7, 31}, {64, 40, 10, 10}};
  for (std::size_t p = 0; p < pictures.size(); ++p) {
    for (const auto& [x, y, w, h] : rects) {
      for (RasterOp op : {RasterOp::kCopy, RasterOp::kAnd}) {
        QImage shown = WhiteSurface(64, 40), whole = WhiteSurface(64, 40);
        FillRect(shown, 0, 0, 32, 40, SurfacePixel(kColorGreen), RasterOp::kCopy);
        FillRect(whole, 0, 0, 32, 40, SurfacePixel(kColorGreen), RasterOp::kCopy);
        const bool drawn = StretchBitmap(shown, x, y, w, h, pictures[p], op);
        auto surface = BitmapToSurface(pictures[p]);
        if (surface) StretchBlit(whole, x, y, w, h, *surface, op);
        EXPECT_EQ(drawn, surface.has_value()) << p << " at " << x << "," << y;
        EXPECT_TRUE(shown == whole) << p << " at " << x << "," << y << " " << w << "x" << h;
      }
    }
  }
}

// Text is drawn only where the page shows it, so a font far taller than the
// page costs no more than the page: cut to a small page, the text is what the
// same text drawn whole on a page that holds it shows there, at every angle
// and scale.
TEST(SmallDocuments, TextOnASmallPageIsTheWholeTextCut) {
  for (std::int32_t e : {0, 300, 900, 1800, 2700})
    for (double scale : {1.0, 0.5, 2.0}) {
      QImage small = WhiteSurface(200, 100), large = WhiteSurface(1400, 1400);
      ObjectHeader object{kTextObject, 150, 0, 0, 500, 0, 0};
      const TextRecord text = Record("Jiffy Wg", "DejaVu Serif", -120, e);
      ASSERT_EQ(DrawTextItem(small, object, text, kColorRed, scale, scale), 1);
      ASSERT_EQ(DrawTextItem(large, object, text, kColorRed, scale, scale), 1);
      EXPECT_TRUE(small == large.copy(0, 0, 200, 100)) << e << " at " << scale;
    }
  QImage page = WhiteSurface(200, 100);
  // The top of the W's first stroke shows on the page.
  ObjectHeader tall{kTextObject, 0, 0, 0, 3750, 0, 0};
  ASSERT_EQ(DrawTextItem(page, tall, Record("Wg", "Arial", -4096), kColorRed, 1, 1), 1);
  const PixelCensus census = CountPixels(SurfaceToPage(page), kRed24);
  EXPECT_TRUE(census.ink > 100 && census.other == 0) << census.ink << " " << census.other;
}

// A page wider than the paper is composed only as far as the paper, and the
// column the cut's row padding reads: the raster, the Preview window's picture
// and the converted preview are those of the whole page cut, at paper widths
// whose rows end on every byte of padding.
TEST(SmallDocuments, PagesWiderThanThePaperAreTheWholePageCut) {
  // The last item lies past the paper: checked, never converted.
  const std::vector<DocumentObject> objects = {
      ImageObject(0, 0, 1500, 80, SplitBitmap(16, 16, kRed24, kBlack24)),
      TextObject(560, 60, "WIDE", "Arial", -40, kColorRed),
      ImageObject(900, 10, 1400, 70, SplitBitmap(7, 3, kWhite24, kGreen24))};
  for (std::int32_t paper : {575, 576, 577, 578}) {
    ComposeSession cs(paper);
    ASSERT_TRUE(cs.UseDocument(1500, 80, objects));
    auto full = ComposeConverted(cs.session(), 1.0, 1.0);
    ASSERT_TRUE(full);
    std::array<std::int32_t, 2> size{};
    auto want = ScaleCropToFile(1500, paper, "", &*full, "", size);
    auto got = BuildPreviewImage(cs.session());
    ASSERT_TRUE(want && got);
    EXPECT_EQ(*got, *want) << paper;
    FakePreviewControls window;
    ASSERT_EQ(MakeConvertedPreview(window, cs.session()), 1);
    const double s = 200.0 / paper;
    auto shown = ComposeConverted(cs.session(), s, s);
    ASSERT_TRUE(shown);
    auto cut = ScaleCropToFile(static_cast<std::int32_t>(1500 * s), 200, "", &*shown, "", size);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cs.session().converted, *cut) << paper;
  }
  // Past the paper, a picture that cannot be converted still refuses the page.
  auto broken = SplitBitmap(7, 3, kWhite24, kGreen24);
  broken.resize(broken.size() - 8);
  ComposeSession cs(576);
  ASSERT_TRUE(cs.UseDocument(1500, 80, {objects[0], ImageObject(900, 10, 1400, 70, broken)}));
  EXPECT_FALSE(ComposeConverted(cs.session(), 1.0, 1.0));
  EXPECT_FALSE(BuildLogoRaster(cs.session()));
  FakePreviewControls window;
  EXPECT_EQ(MakeConvertedPreview(window, cs.session()), 0);
}

// The main window's picture of a document is composed only in the rows and
// columns its scaling reads, a band at a time: it is the whole page scaled,
// with Fit and without, for pages wider and taller than a band, and a page
// with an item that cannot be drawn shows nothing.
TEST(SmallDocuments, DocumentPreviewsAreTheWholePageScaled) {
  const std::vector<DocumentObject> objects = {
      ImageObject(0, 0, 3000, 1500, SplitBitmap(16, 16, kBlack24, kRed24)),
      TextObject(1200, 700, "WIDE", "Arial", -300, kColorRed, 300),
      ImageObject(2000, 200, 2900, 1400, SplitBitmap(9, 5, kWhite24, kGreen24), true)};
  FakePreviewControls window;  // usable width 200
  for (std::int32_t paper : {576, 5000}) {
    for (const int fit : {0, 1}) {
      ComposeSession cs(paper);
      ASSERT_TRUE(cs.UseDocument(3000, 1500, objects));
      LogoSession& s = cs.session();
      s.fit_to_width = fit;
      ASSERT_EQ(MakeSourcePreviews(window, s), 1);
      auto page = ComposeAsStored(s);
      ASSERT_TRUE(page);
      const std::int32_t c = fit ? 200 : std::max(200 * 3000 / paper, 1);
      std::array<std::int32_t, 2> size{};
      auto want = ScaleCropToFile(c, 200, "", &*page, "", size);
      ASSERT_TRUE(want);
      EXPECT_EQ(s.fit_image, *want) << paper << " fit " << fit;
      EXPECT_EQ(s.fit_size, size);
      EXPECT_EQ((std::array{s.source_width, s.source_height}), (std::array{3000u, 1500u}));
      EXPECT_EQ(ReadWholeFile(s.temp_fit_path), s.fit_image);
    }
  }
  auto broken = SolidBitmap(4, 4, kRed24);
  broken.resize(broken.size() - 8);  // rows past its end
  ComposeSession cs(576);
  ASSERT_TRUE(
      cs.UseDocument(3000, 1500, {objects[0], ImageObject(2990, 1490, 3000, 1500, broken)}));
  EXPECT_EQ(MakeSourcePreviews(window, cs.session()), 0);
}

}  // namespace
}  // namespace inkmark::testing
