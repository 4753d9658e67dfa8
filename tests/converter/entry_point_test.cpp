// The C entry point: files in and out, refusals that leave the destination
// alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "converter/convert.h"
#include "converter_fixtures.h"
#include "image/bitmap_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::ReadFileText;
using testing::TempDir;

constexpr std::int32_t kInks[2] = {kColorBlack, kColorRed};

std::string AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> Logo() { return testing::BlackRedWhite(40, 20); }

// Only the files the test made may be left in the folder: no temporary files.
std::size_t FilesIn(const std::filesystem::path& dir) {
  return std::distance(std::filesystem::directory_iterator(dir), {});
}

TEST(EntryPoint, WritesTheInMemoryConversionAndMayReplaceItsSource) {
  TempDir dir;
  auto src = dir.Write("logo.bmp", AsText(Logo()));
  auto dst = dir.path() / "out.bmp";
  ConversionParams p = testing::TwoInkParams(80, 40, 0);
  ASSERT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, dst.c_str()), 1);
  EXPECT_EQ(ReadFileText(dst), AsText(*ConvertBitmapFile(Logo(), p, kInks)));

  p = testing::OneInkParams(20, 10, 2);
  ASSERT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, src.c_str()), 1);
  EXPECT_EQ(ReadFileText(src), AsText(*ConvertBitmapFile(Logo(), p, kInks)));
  EXPECT_EQ(FilesIn(dir.path()), 2u);
}

TEST(EntryPoint, ReadsSourcesOfAnyDepth) {
  auto f = testing::Fixture(3, 2, 8);
  f.palette = {{0, 0, 0}, {0, 0, 255}, {255, 255, 255}};  // black, red, white
  f.pixels = testing::PackRows({{0, 1, 2}, {0, 1, 2}}, 8);
  auto out = ConvertBitmapFile(testing::BuildBitmap(f), testing::TwoInkParams(3, 2, 0), kInks);
  ASSERT_TRUE(out);
  EXPECT_EQ(testing::RowValues(*out, 0), (std::vector{0, 1, 2}));
  EXPECT_EQ(testing::RowValues(*out, 1), (std::vector{0, 1, 2}));
}

TEST(EntryPoint, RefusedParametersLeaveTheDestinationUntouched) {
  TempDir dir;
  auto src = dir.Write("logo.bmp", AsText(Logo()));
  auto dst = dir.Write("keep.bmp", "keep");
  const std::vector<std::function<void(ConversionParams&)>> faults = {
      [](auto& p) { p.target_width = 0; },
      [](auto& p) { p.target_height = 0; },
      [](auto& p) { p.target_width = 65536; },
      [](auto& p) { p.target_width = p.target_height = 65535; },  // past the pixel cap
      [](auto& p) { p.color_count = 0; },
      [](auto& p) { p.color_count = 3; },
      [](auto& p) { p.color_table = 2; },
      [](auto& p) { p.color_table = 1; },  // two inks must start at the first
      [](auto& p) { p.palette_size = 16; },
      [](auto& p) { p.palette_size = 2; },  // two inks cannot fit two entries
      [](auto& p) { p.processing = 3; },
      [](auto& p) { p.adjust_r = 0; },
      [](auto& p) { p.adjust_g = 6; },
      [](auto& p) { p.adjust_b = 0xFFFFFFFF; },
      [](auto& p) { p.attach_manual = 2; },
      [](auto& p) { p.level_attach[3] = 0x0002; },
      [](auto& p) { p.level_attach[7] = 0x0101; },
  };
  for (std::size_t i = 0; i < faults.size(); ++i) {
    ConversionParams p = testing::TwoInkParams(40, 20, 0);
    faults[i](p);
    EXPECT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, dst.c_str()), 0) << "fault " << i;
    EXPECT_FALSE(ConvertBitmapFile(Logo(), p, kInks)) << "fault " << i;
  }
  EXPECT_EQ(ReadFileText(dst), "keep");
  EXPECT_EQ(FilesIn(dir.path()), 2u);
}

TEST(EntryPoint, UnreadableSourcesAndUnwritableDestinationsFail) {
  TempDir dir;
  const auto logo = AsText(Logo());
  auto src = dir.Write("logo.bmp", logo);
  auto dst = dir.Write("keep.bmp", "keep");
  ConversionParams p = testing::TwoInkParams(40, 20, 0);
  for (const auto& bad : {dir.path() / "missing.bmp", dir.Write("garbage.bmp", "BM not a picture"),
                          dir.Write("cut.bmp", logo.substr(0, logo.size() - 5))}) {
    EXPECT_EQ(QrvConvertLogo(bad.c_str(), &p, kInks, dst.c_str()), 0) << bad;
  }
  EXPECT_EQ(QrvConvertLogo(nullptr, &p, kInks, dst.c_str()), 0);
  EXPECT_EQ(QrvConvertLogo(src.c_str(), nullptr, kInks, dst.c_str()), 0);
  EXPECT_EQ(ReadFileText(dst), "keep");
  const auto no_folder = dir.path() / "no-such-folder" / "out.bmp";
  EXPECT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, no_folder.c_str()), 0);
}

}  // namespace
}  // namespace inkmark
