#include "picture/picture_formats.h"

#include <array>

#include "platform/text.h"

namespace inkmark {
namespace {

constexpr std::array<PictureFormatInfo, 6> kFormats{{
    {PictureFormat::kBitmap, "BMP", true, false},
    {PictureFormat::kRle, "RLE", true, false},
    {PictureFormat::kJpeg, "JPG", true, false},
    {PictureFormat::kPng, "PNG", true, false},
    {PictureFormat::kGif, "GIF", true, false},
    {PictureFormat::kSvg, "SVG", false, true},
}};

}  // namespace

std::span<const PictureFormatInfo> PictureFormats() { return kFormats; }

const PictureFormatInfo* PictureFormatOf(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return nullptr;
  const std::string_view ext = path.substr(dot + 1);
  for (const PictureFormatInfo& f : kFormats) {
    if (EqualsNoCase(ext, f.extension)) return &f;
  }
  return nullptr;
}

std::string PictureExtensionList() {
  std::string list;
  for (const PictureFormatInfo& f : kFormats) {
    if (!list.empty()) list += ", ";
    list += ".";
    list += f.extension;
  }
  return list;
}

}  // namespace inkmark
