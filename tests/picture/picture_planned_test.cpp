// Scaling and cropping straight from the file (JPEG and bitmap files) must give, byte for byte,
// what decoding the whole picture and scaling it afterwards gives.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/picture.h"
#include "picture/picture_io.h"
#include "support/bitmap_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::EncodePhotoJpeg;
using testing::JpegCoding;
using testing::TempDir;

struct Coded {
  std::string name;
  JpegCoding coding;
};

std::vector<Coded> Codings() {
  std::vector<Coded> out;
  const std::array<std::array<int, 2>, 4> sampling = {{{1, 1}, {2, 1}, {2, 2}, {1, 2}}};
  const std::array<std::array<int, 2>, 3> sizes = {{{203, 157}, {97, 301}, {640, 33}}};
  for (const auto& [h, v] : sampling) {
    for (const auto& [w, ht] : sizes) {
      const std::string base = std::to_string(h) + "x" + std::to_string(v) + "-" +
                               std::to_string(w) + "x" + std::to_string(ht);
      out.push_back({base, {w, ht, 3, h, v, 0, false}});
      out.push_back({base + "-restart", {w, ht, 3, h, v, 1, false}});
      out.push_back({base + "-progressive", {w, ht, 3, h, v, 0, true}});
    }
  }
  out.push_back({"grey", {151, 99, 1, 1, 1, 0, false}});
  out.push_back({"grey-progressive-restart", {151, 99, 1, 1, 1, 2, true}});
  return out;
}

// The whole path: every row decoded, then scaled and cropped.
std::optional<BitmapFile> Whole(const std::string& path, std::int32_t width, std::int32_t crop,
                                std::array<std::int32_t, 2>& size) {
  auto picture = LoadPicture(path);
  if (!picture) return std::nullopt;
  if (width == 0) width = static_cast<std::int32_t>(testing::U32At(*picture, 18));
  return ScaleCropToFile(width, crop, "", &*picture, "", size);
}

TEST(PicturePlanned, EveryCodingScaledAndCutMatchesTheWholeDecode) {
  TempDir dir;
  // Every picture fixture of every depth and coding, and JPEG files of every kind.
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(INKMARK_FIXTURE_DIR)) {
    const auto ext = entry.path().extension();
    if (ext == ".bmp" || ext == ".jpg") paths.push_back(entry.path().string());
  }
  ASSERT_GE(paths.size(), 15u);
  for (const auto& c : Codings()) {
    const std::string path = (dir.path() / (c.name + ".jpg")).string();
    const auto jpeg = EncodePhotoJpeg(c.coding);
    ASSERT_TRUE(WriteWholeFile(path, jpeg));
    // Straight into 24 bits is the bitmap step followed by the bitmap reader.
    auto bitmap = DecodeJpegToBitmap(jpeg);
    ASSERT_TRUE(bitmap) << c.name;
    EXPECT_EQ(DecodeJpegToRgb24(jpeg), DecodeBitmapToRgb24(*bitmap)) << c.name;
    paths.push_back(path);
  }
  const std::string dest = (dir.path() / "dest.bmp").string();
  for (const auto& path : paths) {
    auto whole = LoadPicture(path);
    ASSERT_TRUE(whole) << path;
    const auto w = static_cast<std::int32_t>(testing::U32At(*whole, 18));
    // Reduced, reduced and cut (the crop's padding reaches into the next
    // pixel), cut at full width, one dot, kept whole and enlarged.
    const std::vector<std::array<std::int32_t, 2>> cases = {{w / 2, w},
                                                            {w - 1, w},
                                                            {w / 3, w / 5},
                                                            {w / 2, 5},
                                                            {0, w / 2},
                                                            {0, 7},
                                                            {1, 1},
                                                            {7, 3},
                                                            {0, w},
                                                            {w + 9, w},
                                                            {w / 4 + 1, w / 4 - 1}};
    for (const auto& [width, crop] : cases) {
      if (crop <= 0) continue;
      std::array<std::int32_t, 2> expected_size{}, size{};
      auto expected = Whole(path, width, crop, expected_size);
      auto got = LoadScaledCropped(path, {}, width, crop, dest, size);
      ASSERT_EQ(got.has_value(), expected.has_value()) << path << " " << width << "/" << crop;
      if (!got) continue;
      EXPECT_TRUE(*got == *expected) << path << " " << width << "/" << crop;
      EXPECT_EQ(size, expected_size) << path;
      EXPECT_EQ(ReadWholeFile(dest), got) << path;
    }
  }
}

// Several sizes from one decode: each is what the whole path makes of it, and
// is written to its own file; one size that cannot be planned (an enlargement)
// takes every size through the whole decode; a size refused refuses them all.
TEST(PicturePlanned, SeveralSizesFromOneDecodeMatchTheWholeDecodeEach) {
  TempDir dir;
  const std::array<std::string, 3> dests = {(dir.path() / "a.bmp").string(),
                                            (dir.path() / "b.bmp").string(), ""};
  for (const auto& c : Codings()) {
    const std::string path = (dir.path() / (c.name + ".jpg")).string();
    ASSERT_TRUE(WriteWholeFile(path, EncodePhotoJpeg(c.coding)));
    const std::int32_t w = c.coding.width, h = c.coding.height;
    // Fit and cut as the previews ask, a strip of the left edge, and an enlargement.
    const std::vector<std::vector<ScaleCrop>> requests = {
        {{w / 2, w / 2}, {w - 3, w / 2}},
        {{0, 5}, {w / 3, w / 3}, {w / 4 + 1, w / 4 - 1}},
        {{w / 2, w / 2}, {w + 9, w}}};
    for (const auto& sizes : requests) {
      std::array<std::int32_t, 2> asked{};
      auto each = LoadScaledCroppedEach(
          path,
          [&](std::int32_t width, std::int32_t height) {
            asked = {width, height};
            return sizes;
          },
          dests);
      ASSERT_TRUE(each) << c.name;
      EXPECT_EQ(asked, (std::array{w, h}));
      ASSERT_EQ(each->size(), sizes.size());
      for (std::size_t i = 0; i < sizes.size(); ++i) {
        std::array<std::int32_t, 2> size{};
        auto expected = Whole(path, sizes[i].width, sizes[i].crop_width, size);
        ASSERT_TRUE(expected) << c.name << " " << i;
        EXPECT_TRUE((*each)[i].picture == *expected) << c.name << " size " << i;
        EXPECT_EQ((*each)[i].size, size) << c.name;
        if (i < 2) {
          EXPECT_EQ(ReadWholeFile(dests[i]), *expected) << c.name;
        }
      }
    }
  }
  const std::string path = (dir.path() / "photo.jpg").string();
  ASSERT_TRUE(WriteWholeFile(path, EncodePhotoJpeg({203, 157, 3, 2, 2, 0, false})));
  std::filesystem::remove(dests[0]);
  auto some_refused = [](std::int32_t, std::int32_t) {
    return std::vector<ScaleCrop>{{50, 50}, {40, 0}};
  };
  EXPECT_FALSE(LoadScaledCroppedEach(path, some_refused, dests));
  EXPECT_FALSE(std::filesystem::exists(dests[0])) << "a refusal writes nothing";
  // A JPEG under a PNG or GIF name is refused by that format's reader.
  for (const char* name : {"photo.png", "photo.gif"}) {
    const std::string misnamed_path = (dir.path() / name).string();
    std::filesystem::copy_file(path, misnamed_path);
    EXPECT_TRUE(IsPlannedPicture(misnamed_path));
    auto misnamed = LoadScaledCroppedEach(
        misnamed_path,
        [](std::int32_t, std::int32_t) {
          return std::vector<ScaleCrop>{{50, 50}};
        },
        dests);
    ASSERT_FALSE(misnamed);
    const std::string format = name == std::string("photo.png") ? "PNG: " : "GIF: ";
    EXPECT_EQ(misnamed.detail().rfind(format, 0), 0u) << misnamed.detail();
  }
}

TEST(PicturePlanned, PicturesCutShortOrCorruptAreRefusedLikeAWholeDecode) {
  TempDir dir;
  for (const bool progressive : {false, true}) {
    const auto jpeg = EncodePhotoJpeg({301, 203, 3, 2, 2, 0, progressive});
    // Cut in the rows the scaler reads and in the rows it skips.
    for (const std::size_t cut : {jpeg.size() / 4, jpeg.size() / 2, jpeg.size() - 40}) {
      const std::string path = (dir.path() / "cut.jpg").string();
      ASSERT_TRUE(WriteWholeFile(path, std::span(jpeg.data(), cut)));
      std::array<std::int32_t, 2> size{};
      EXPECT_FALSE(LoadPicture(path)) << cut;
      EXPECT_FALSE(LoadScaledCropped(path, {}, 50, 40, "", size)) << progressive << " " << cut;
    }
    // Foreign bytes after the scan: libjpeg warns only when it reads on to the
    // end marker, which a decode of the rows wanted must do as well.
    auto foreign = jpeg;
    foreign.insert(foreign.end() - 2, {0x12, 0x34, 0x56});
    const std::string foreign_path = (dir.path() / "foreign.jpg").string();
    ASSERT_TRUE(WriteWholeFile(foreign_path, foreign));
    auto whole = LoadPicture(foreign_path);
    // A progressive scan's decoder takes such bytes as data; a baseline one warns.
    if (!progressive) {
      ASSERT_FALSE(whole);
      EXPECT_NE(whole.detail().find("extraneous bytes before marker 0xd9"), std::string::npos)
          << whole.detail();
    }
    for (const auto& [width, crop] :
         std::vector<std::array<std::int32_t, 2>>{{50, 40}, {150, 150}, {301, 100}, {0, 301}}) {
      std::array<std::int32_t, 2> size{};
      auto planned = LoadScaledCropped(foreign_path, {}, width, crop, "", size);
      ASSERT_EQ(planned.has_value(), whole.has_value())
          << progressive << " at " << width << " cut at " << crop;
      if (!whole) {
        EXPECT_EQ(planned.detail(), whole.detail());
      }
    }
    auto broken = jpeg;
    broken[broken.size() * 3 / 4] ^= 0x5A;
    broken[broken.size() * 3 / 4 + 1] = 0xFF;
    broken[broken.size() * 3 / 4 + 2] = 0xD9;
    const std::string path = (dir.path() / "broken.jpg").string();
    ASSERT_TRUE(WriteWholeFile(path, broken));
    std::array<std::int32_t, 2> size{};
    EXPECT_EQ(LoadScaledCropped(path, {}, 50, 40, "", size).has_value(),
              LoadPicture(path).has_value());
  }
}

}  // namespace
}  // namespace inkmark
