// The C entry point: files in and out, refusals that leave the destination
// alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "converter/convert.h"
#include "converter_fixtures.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::MakeBmp24;
using testing::ReadFileText;
using testing::Rgb;
using testing::TempDir;

constexpr std::int32_t kInks[2] = {kColorBlack, kColorRed};

std::string AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> Logo() {
  return MakeBmp24(40, 20, [](std::uint32_t x, std::uint32_t) {
    return x < 10 ? Rgb{0, 0, 0} : x < 20 ? Rgb{255, 0, 0} : Rgb{255, 255, 255};
  });
}

// Only the destination may be left in the folder: no temporary files.
std::size_t FilesIn(const std::filesystem::path& dir) {
  std::size_t n = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

TEST(EntryPoint, WritesTheSameRasterAsTheInMemoryConversion) {
  TempDir dir;
  auto src = dir.Write("logo.bmp", AsText(Logo()));
  auto dst = dir.path() / "out.bmp";
  ConversionParams p = testing::TwoInkParams(80, 40, 0);
  ASSERT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, dst.c_str()), 1);
  EXPECT_EQ(ReadFileText(dst), AsText(*ConvertBitmapFile(Logo(), p, kInks)));
  EXPECT_EQ(FilesIn(dir.path()), 2u);
}

TEST(EntryPoint, ReplacesTheSourceWhenBothPathsAreTheSame) {
  TempDir dir;
  auto path = dir.Write("same.bmp", AsText(Logo()));
  ConversionParams p = testing::OneInkParams(20, 10, 2);
  ASSERT_EQ(QrvConvertLogo(path.c_str(), &p, kInks, path.c_str()), 1);
  EXPECT_EQ(ReadFileText(path), AsText(*ConvertBitmapFile(Logo(), p, kInks)));
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(EntryPoint, ReadsPalettedSources) {
  // 8 bits per pixel, palette: 0 black, 1 red, 2 white; three columns.
  std::vector<std::uint8_t> f(54 + 1024 + 4 * 2, 0);
  auto put32 = [&f](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, static_cast<std::uint32_t>(f.size()));
  put32(10, 54 + 1024);
  put32(14, 40);
  put32(18, 3);
  put32(22, 2);
  f[26] = 1;
  f[28] = 8;
  put32(46, 3);
  f[54 + 4 + 2] = 255;                       // entry 1: red
  f[54 + 8] = f[54 + 9] = f[54 + 10] = 255;  // entry 2: white
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 3; ++x) f[54 + 1024 + 4 * row + x] = static_cast<std::uint8_t>(x);
  }
  auto out = ConvertBitmapFile(f, testing::TwoInkParams(3, 2, 0), kInks);
  ASSERT_TRUE(out);
  testing::ReadRaster r(*out);
  EXPECT_EQ(r.Value(0, 0), 0);
  EXPECT_EQ(r.Value(1, 0), 1);
  EXPECT_EQ(r.Value(2, 1), 2);
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

TEST(EntryPoint, UnreadableSourcesLeaveTheDestinationUntouched) {
  TempDir dir;
  auto logo = Logo();
  auto dst = dir.Write("keep.bmp", "keep");
  ConversionParams p = testing::TwoInkParams(40, 20, 0);
  const std::string missing = (dir.path() / "missing.bmp").string();
  EXPECT_EQ(QrvConvertLogo(missing.c_str(), &p, kInks, dst.c_str()), 0);
  auto garbage = dir.Write("garbage.bmp", "BM not a picture at all");
  EXPECT_EQ(QrvConvertLogo(garbage.c_str(), &p, kInks, dst.c_str()), 0);
  auto cut = dir.Write("cut.bmp", AsText(logo).substr(0, logo.size() - 5));
  EXPECT_EQ(QrvConvertLogo(cut.c_str(), &p, kInks, dst.c_str()), 0);
  EXPECT_EQ(QrvConvertLogo(nullptr, &p, kInks, dst.c_str()), 0);
  EXPECT_EQ(QrvConvertLogo(cut.c_str(), nullptr, kInks, dst.c_str()), 0);
  EXPECT_EQ(ReadFileText(dst), "keep");
}

TEST(EntryPoint, UnwritableDestinationFails) {
  TempDir dir;
  auto src = dir.Write("logo.bmp", AsText(Logo()));
  ConversionParams p = testing::TwoInkParams(40, 20, 0);
  const std::string dst = (dir.path() / "no-such-folder" / "out.bmp").string();
  EXPECT_EQ(QrvConvertLogo(src.c_str(), &p, kInks, dst.c_str()), 0);
}

}  // namespace
}  // namespace inkmark
