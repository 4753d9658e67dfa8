// The output file's form over the combinations of inks, Monochrome, grade and
// attachment: headers, palette, pixel values and padding.
#include <gtest/gtest.h>

#include "converter/convert.h"
#include "converter_fixtures.h"
#include "image/bitmap_fixture.h"

namespace inkmark {
namespace {

using testing::PaletteAt;
using testing::Rgb;
using testing::U32At;

// A picture with every kind of pixel: black, red, mid grey, white.
std::vector<std::uint8_t> Mixed(std::uint32_t w, std::uint32_t h) {
  return testing::MakeBmp24(w, h, [](std::uint32_t x, std::uint32_t y) {
    const Rgb kinds[4] = {{0, 0, 0}, {255, 0, 0}, {128, 128, 128}, {255, 255, 255}};
    return kinds[(x + 2 * y) % 4];
  });
}

TEST(OutputForm, EveryCombinationGivesItsDepthPaletteValuesAndZeroPadding) {
  const std::int32_t black_red[2] = {kColorBlack, kColorRed};
  const std::int32_t black_blue[2] = {kColorBlack, kColorBlue};
  const struct {
    bool monochrome;
    std::uint32_t ink;
    const std::int32_t* inks;
  } setups[] = {
      {false, 0, black_red}, {false, 0, black_blue}, {true, 0, black_red}, {true, 1, black_blue}};
  const std::uint16_t manual_map[8] = {kAttachFirst,  kAttachSecond, kAttachWhite, kAttachFirst,
                                       kAttachSecond, kAttachWhite,  kAttachFirst, kAttachWhite};
  for (int combo = 0; combo < 4 * 3 * 2 * 4; ++combo) {
    const auto& s = setups[combo % 4];
    const std::uint32_t grade = combo / 4 % 3, manual = combo / 12 % 2;
    const std::uint32_t w = std::array{1u, 9u, 33u, 64u}[combo / 24];
    SCOPED_TRACE(::testing::Message()
                 << "monochrome " << s.monochrome << " ink " << s.ink << " grade " << grade
                 << " manual " << manual << " width " << w);
    ConversionParams p = s.monochrome ? testing::OneInkParams(w, 7, grade, s.ink)
                                      : testing::TwoInkParams(w, 7, grade);
    p.attach_manual = manual;
    if (manual) std::copy(std::begin(manual_map), std::end(manual_map), p.level_attach);
    auto out = ConvertBitmapFile(Mixed(17, 9), p, s.inks);
    ASSERT_TRUE(out);
    const BitmapFile& r = *out;
    const std::uint32_t bits = s.monochrome ? 1 : 8, entries = s.monochrome ? 2 : 256;
    const auto stride = static_cast<std::uint32_t>(testing::Stride(r)), offset = 54 + 4 * entries;
    ASSERT_EQ(r.size(), offset + stride * 7);
    EXPECT_EQ((std::vector<std::uint32_t>{r[0], r[1], U32At(r, 2), U32At(r, 10), U32At(r, 14),
                                          U32At(r, 18), U32At(r, 22), testing::U16At(r, 26),
                                          testing::U16At(r, 28), U32At(r, 30), U32At(r, 34),
                                          U32At(r, 46)}),
              (std::vector<std::uint32_t>{'B', 'M', offset + stride * 7, offset, 40, w, 7, 1, bits,
                                          0, stride * 7, entries}));
    if (s.monochrome) {
      EXPECT_EQ((std::vector{PaletteAt(r, 0), PaletteAt(r, 1)}),
                (std::vector{0xFFFFFF, s.inks[s.ink]}));
    } else {
      EXPECT_EQ((std::vector{PaletteAt(r, 0), PaletteAt(r, 1), PaletteAt(r, 2)}),
                (std::vector{s.inks[0], s.inks[1], 0xFFFFFF}));
    }
    // Values name the inks or white; the padding after each row is zero, down
    // to the unused bits.
    for (std::size_t bit = 0; bit < 7 * stride * 8; bit += bits) {
      const int value = (r[offset + bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
      ASSERT_LE(value, bit % (stride * 8) < w * bits ? 2 : 0) << "bit " << bit;
    }
  }
}

TEST(OutputForm, OneInkInAWidePaletteUsesItsEntryAndInksPastTwentyFourBitsShowAsBlack) {
  ConversionParams p = testing::OneInkParams(8, 8, 0, 1);
  p.palette_size = 256;
  const std::int32_t black_red[2] = {kColorBlack, kColorRed};
  auto black = testing::MakeBmp24(8, 8, [](auto, auto) { return Rgb{0, 0, 0}; });
  auto out = ConvertBitmapFile(black, p, black_red);
  ASSERT_TRUE(out);
  EXPECT_EQ(testing::U16At(*out, 28), 8);
  EXPECT_DOUBLE_EQ(testing::Share(*out, 1), 1.0) << "black printed in the only ink, entry 1";

  const std::int32_t invalid[2] = {kNoInk, 0x7F000000};
  out = ConvertBitmapFile(Mixed(4, 4), testing::TwoInkParams(4, 4, 0), invalid);
  ASSERT_TRUE(out);
  EXPECT_EQ((std::vector{PaletteAt(*out, 0), PaletteAt(*out, 1)}),
            (std::vector{kColorBlack, kColorBlack}));
}

}  // namespace
}  // namespace inkmark
