// The picture formats the tool reads, in one table: every entry point, dialog
// filter, help text and completion takes its extensions from here (or a test
// holds it to this table).
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace inkmark {

enum class PictureFormat { kBitmap, kRle, kJpeg, kPng, kGif, kSvg };

struct PictureFormatInfo {
  PictureFormat format;
  std::string_view extension;  // upper case, without the dot: "BMP"
  // Decoded row by row into the scaler, so that a picture reduced or cut for
  // the paper never exists whole.
  bool planned;
  // Drawn at the size it is wanted at rather than scaled from its pixels.
  bool scalable;
};

// Every format, in the order the tool names them.
std::span<const PictureFormatInfo> PictureFormats();

// The format of `path` by its extension, in any letter case; nullptr for any
// other name.
const PictureFormatInfo* PictureFormatOf(std::string_view path);

// ".BMP, .RLE, .JPG, .PNG, .GIF, .SVG": the extensions as the tool's texts list them.
std::string PictureExtensionList();

}  // namespace inkmark
