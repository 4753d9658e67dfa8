// GIF pictures through giflib's low-level reader: the records up to the first
// image, then its rows one at a time. giflib takes no memory that grows with
// the picture here, so the only size limit is ours.
#include "picture/picture_gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "picture/picture_decode.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"

namespace inkmark {
namespace {

// The giflib state of one decode; closed on every path.
struct GifReader {
  GifFileType* gif = nullptr;
  PictureInput input;

  GifReader() = default;
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;
  ~GifReader() {
    if (gif != nullptr) DGifCloseFile(gif, nullptr);
  }
};

extern "C" int GifRead(GifFileType* gif, GifByteType* out, int count) {
  auto* input = static_cast<PictureInput*>(gif->UserData);
  return count >= 0 && input->Take(out, static_cast<std::size_t>(count)) ? count : 0;
}

Failure GifFailure(const GifReader& r, int error) {
  std::string why;
  if (error == D_GIF_ERR_READ_FAILED && r.input.ReadErrno() != 0) {
    why = std::strerror(r.input.ReadErrno());
  } else if (error == D_GIF_ERR_READ_FAILED) {
    // giflib says so of any short read, and of an LZW code size over 8 bits.
    why = "the file ends early or its image data is damaged";
  } else if (const char* text = GifErrorString(error); text != nullptr) {
    why = text;
  } else {
    why = "error " + std::to_string(error);
  }
  return {FailureCode::kCorrupt, "GIF: " + why};
}

Failure GifFailure(const GifReader& r) { return GifFailure(r, r.gif->Error); }

constexpr std::array<std::uint8_t, 3> kWhite{255, 255, 255};

// The first frame and the screen it is drawn on, and its colours as blue,
// green, red: every index the table does not hold, and the transparent one, is
// the white paper.
struct GifLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t frame_width = 0;
  std::int32_t frame_height = 0;
  bool interlaced = false;
  bool covers_screen = true;
  std::array<std::uint8_t, 256 * 3> colours{};
  std::array<std::uint8_t, 3> background = kWhite;
};

// The transparent index a graphic control block gives, or -1.
int TransparentIndex(const GifByteType* block) {
  // The block's length, then its flags, delay (2 bytes) and index.
  if (block == nullptr || block[0] < 4) return -1;
  return (block[1] & 0x01) != 0 ? block[4] : -1;
}

// Reads the records up to the first image's descriptor; the last graphic
// control block before it says which index is transparent.
Status ReadToFirstFrame(GifReader& r, int& transparent) {
  transparent = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(r.gif, &type) == GIF_ERROR) return GifFailure(r);
    if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(r.gif) == GIF_ERROR) return GifFailure(r);
      return Status();
    }
    if (type == TERMINATE_RECORD_TYPE) return Failure{FailureCode::kCorrupt, "GIF: no image"};
    if (type != EXTENSION_RECORD_TYPE) return GifFailure(r, D_GIF_ERR_WRONG_RECORD);
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(r.gif, &code, &block) == GIF_ERROR) return GifFailure(r);
    if (code == GRAPHICS_EXT_FUNC_CODE) transparent = TransparentIndex(block);
    while (block != nullptr) {
      if (DGifGetExtensionNext(r.gif, &block) == GIF_ERROR) return GifFailure(r);
    }
  }
}

// The colours of `map` (absent: none), the transparent index made white.
void FillColours(const ColorMapObject* map, int transparent, GifLayout& layout) {
  layout.colours.fill(255);
  const int count = map == nullptr ? 0 : std::clamp(map->ColorCount, 0, 256);
  for (int i = 0; i < count; ++i) {
    const GifColorType& c = map->Colors[i];
    layout.colours[3 * i] = c.Blue;
    layout.colours[3 * i + 1] = c.Green;
    layout.colours[3 * i + 2] = c.Red;
  }
  if (transparent >= 0) std::fill_n(layout.colours.begin() + 3 * transparent, 3, 255);
}

// Opens the file and reads up to the first frame's pixels; refuses a picture
// that has none or is too large before any row is read.
Status OpenGif(GifReader& r, GifLayout& layout) {
  int error = 0;
  r.gif = DGifOpen(&r.input, GifRead, &error);
  if (r.gif == nullptr) return GifFailure(r, error);
  int transparent = -1;
  if (Status read = ReadToFirstFrame(r, transparent); !read) return read;
  const GifImageDesc& frame = r.gif->Image;
  layout.left = frame.Left;
  layout.top = frame.Top;
  layout.frame_width = frame.Width;
  layout.frame_height = frame.Height;
  layout.interlaced = frame.Interlace;
  if (frame.Width <= 0 || frame.Height <= 0) {
    return Failure{FailureCode::kCorrupt, "GIF: the first frame is " + std::to_string(frame.Width) +
                                              " \u00d7 " + std::to_string(frame.Height)};
  }
  // Every row of the frame is decoded, shown or not, so it is held to the cap too.
  if (Status size = CheckPictureSize(frame.Width, frame.Height, "GIF"); !size) return size;
  // A screen of no size is the frame's own extent.
  layout.width = r.gif->SWidth > 0 ? r.gif->SWidth : frame.Left + frame.Width;
  layout.height = r.gif->SHeight > 0 ? r.gif->SHeight : frame.Top + frame.Height;
  if (Status size = CheckPictureSize(layout.width, layout.height, "GIF"); !size) return size;
  const ColorMapObject* global = r.gif->SColorMap;
  FillColours(frame.ColorMap != nullptr ? frame.ColorMap : global, transparent, layout);
  layout.covers_screen = frame.Left == 0 && frame.Top == 0 && frame.Width >= layout.width &&
                         frame.Height >= layout.height;
  // Around a smaller frame: the paper where an index is transparent, else the
  // background colour the global table names.
  const int background = r.gif->SBackGroundColor;
  if (transparent < 0 && global != nullptr && background < global->ColorCount) {
    const GifColorType& c = global->Colors[background];
    layout.background = {c.Blue, c.Green, c.Red};
  }
  return Status();
}

// The frame's row that comes `n`th in the file: interlaced rows come every
// eighth from 0, every eighth from 4, every fourth from 2, every second from 1.
std::int32_t FrameRow(std::int32_t n, std::int32_t height, bool interlaced) {
  if (!interlaced) return n;
  static constexpr std::int32_t kStart[] = {0, 4, 2, 1};
  static constexpr std::int32_t kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    const std::int32_t rows =
        height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
    if (n < rows) return kStart[pass] + n * kStep[pass];
    n -= rows;
  }
  return -1;
}

// Reads every row of the frame, writing those on the screen that the target
// keeps; the screen around a smaller frame is its background.
Status ReadRows(GifReader& r, const GifLayout& layout, const Rgb24Rows& target) {
  const std::int32_t kept = target.KeptWidth();
  if (!layout.covers_screen) {
    for (std::int32_t row = 0; row < layout.height; ++row) {
      if (!target.Kept(row)) continue;
      std::uint8_t* dst = target.Row(row);
      for (std::int32_t x = 0; x < kept; ++x) std::memcpy(dst + 3 * x, layout.background.data(), 3);
    }
  }
  std::vector<GifPixelType> line(static_cast<std::size_t>(layout.frame_width));
  // The frame's columns on the screen and kept.
  const std::int32_t first = std::min(layout.left, kept);
  const std::int32_t end = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::int64_t{layout.left} + layout.frame_width, kept));
  const bool shown = first < end;
  for (std::int32_t n = 0; n < layout.frame_height; ++n) {
    if (DGifGetLine(r.gif, line.data(), layout.frame_width) == GIF_ERROR) return GifFailure(r);
    const std::int64_t y =
        std::int64_t{layout.top} + FrameRow(n, layout.frame_height, layout.interlaced);
    if (!shown || y >= layout.height) continue;
    const auto stored = static_cast<std::int32_t>(layout.height - 1 - y);
    if (!target.Kept(stored)) continue;
    std::uint8_t* dst = target.Row(stored) + 3 * static_cast<std::size_t>(first);
    const GifPixelType* src = line.data() + (first - layout.left);
    for (std::int32_t x = first; x < end; ++x, dst += 3) {
      std::memcpy(dst, &layout.colours[3 * std::size_t{*src++}], 3);
    }
  }
  return Status();
}

}  // namespace

Result<BitmapFile> DecodeGifToRgb24(const GifSource& source) {
  GifReader r;
  r.input.Set(source.bytes, source.fd);
  GifLayout layout;
  if (Status opened = OpenGif(r, layout); !opened) return opened.failure();
  BitmapFile out;
  const Rgb24Rows target = WholeRows(out, layout.width, layout.height);
  if (Status read = ReadRows(r, layout, target); !read) return read.failure();
  return out;
}

Result<PictureRows> DecodeGifPlanned(const GifSource& source, const MakeRowPlan& make_plan) {
  GifReader r;
  r.input.Set(source.bytes, source.fd);
  GifLayout layout;
  if (Status opened = OpenGif(r, layout); !opened) return opened.failure();
  PictureRows rows;
  const std::optional<Rgb24Rows> target =
      PlanRows(rows, layout.width, layout.height, make_plan(layout.width, layout.height));
  if (!target) return {FailureCode::kInvalidArgument, "GIF: no rows to decode"};
  rows.header.assign(kHeadersSize, 0);
  WriteRgb24Header(rows.header, layout.width, layout.height);
  if (Status read = ReadRows(r, layout, *target); !read) return read.failure();
  return rows;
}

}  // namespace inkmark
