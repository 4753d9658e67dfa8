// Run-length decoding. The data is byte pairs from the pixel offset to the end of
// the file, written from the first pixel of the bottom row upwards. Pixels past a
// row's end are dropped (common encoders run each row out to its padded width);
// a delta past a row's end, anything above the top row, and data that ends
// before its end-of-picture marker are refused: a damaged file is not shown half.
#include <algorithm>
#include <cstring>
#include <optional>

#include "picture/picture_bytes.h"
#include "picture/picture_decode.h"

namespace inkmark {
namespace {

// The write position, kept inside the picture.
class RleWriter {
 public:
  RleWriter(const Rgb24Rows& out, const PaletteTable& palette)
      : out_(out), palette_(palette), kept_width_(out.KeptWidth()) {}

  // True while the position is on one of the picture's rows.
  bool OnPicture() const { return y_ < out_.height; }
  // Call only when OnPicture. Pixels past the row's end are dropped: common
  // encoders run every row out to its padded width.
  void Put(unsigned index) {
    if (x_ >= out_.width) return;
    // Pixels of a row's dropped part are only counted.
    if (x_ < kept_width_) {
      std::memcpy(out_.Row(y_) + static_cast<std::size_t>(x_) * 3, palette_.Entry(index), 3);
    }
    ++x_;
  }
  // `count` pixels alternating between two indexes, starting with `first`; on a
  // row that is not kept they are only counted.
  void PutRun(unsigned first, unsigned second, unsigned count) {
    if (!out_.Kept(y_)) {
      x_ = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{x_} + count, out_.width));
      return;
    }
    for (unsigned i = 0; i < count; ++i) Put((i & 1) ? second : first);
  }
  bool EndOfLine() {
    if (y_ >= out_.height) return false;
    ++y_;
    x_ = 0;
    return true;
  }
  bool Delta(std::uint8_t dx, std::uint8_t dy) {
    if (dx > out_.width - x_ || dy > out_.height - y_) return false;
    x_ += dx;
    y_ += dy;
    return true;
  }

 private:
  const Rgb24Rows& out_;
  const PaletteTable& palette_;
  const std::int32_t kept_width_;
  std::int32_t x_ = 0;
  std::int32_t y_ = 0;
};

enum class Escape { kHandled, kEndOfPicture, kLiteral, kRefused };

// The escapes both forms share (second byte 0, 1 or 2); kLiteral for n >= 3.
Escape HandleEscape(std::uint8_t code, ByteCursor& in, RleWriter& writer) {
  switch (code) {
    case 0:
      return writer.EndOfLine() ? Escape::kHandled : Escape::kRefused;
    case 1:
      return Escape::kEndOfPicture;
    case 2: {
      auto dx = in.Next();
      auto dy = in.Next();
      if (!dx || !dy || !writer.Delta(*dx, *dy)) return Escape::kRefused;
      return Escape::kHandled;
    }
    default:
      return Escape::kLiteral;
  }
}

}  // namespace

bool DecodeRle8(std::span<const std::uint8_t> data, const PaletteTable& palette, Rgb24Rows& out) {
  ByteCursor in(data);
  RleWriter writer(out, palette);
  for (;;) {
    auto count = in.Next();
    auto value = in.Next();
    if (!count || !value) return false;
    if (*count > 0) {
      if (!writer.OnPicture()) return false;
      writer.PutRun(*value, *value, *count);
      continue;
    }
    switch (HandleEscape(*value, in, writer)) {
      case Escape::kHandled:
        continue;
      case Escape::kEndOfPicture:
        return true;
      case Escape::kRefused:
        return false;
      case Escape::kLiteral:
        break;
    }
    const unsigned literal = *value;
    // Literal runs are padded to an even number of bytes.
    auto bytes = in.Take(literal + (literal & 1));
    if (!bytes || !writer.OnPicture()) return false;
    for (unsigned i = 0; i < literal; ++i) writer.Put((*bytes)[i]);
  }
}

bool DecodeRle4(std::span<const std::uint8_t> data, const PaletteTable& palette, Rgb24Rows& out) {
  ByteCursor in(data);
  RleWriter writer(out, palette);
  for (;;) {
    auto count = in.Next();
    auto value = in.Next();
    if (!count || !value) return false;
    if (*count > 0) {
      if (!writer.OnPicture()) return false;
      writer.PutRun(*value >> 4, *value & 0x0F, *count);
      continue;
    }
    switch (HandleEscape(*value, in, writer)) {
      case Escape::kHandled:
        continue;
      case Escape::kEndOfPicture:
        return true;
      case Escape::kRefused:
        return false;
      case Escape::kLiteral:
        break;
    }
    const unsigned literal = *value;
    const unsigned byte_count = (literal + 1) / 2;
    auto bytes = in.Take(byte_count + (byte_count & 1));
    if (!bytes || !writer.OnPicture()) return false;
    for (unsigned i = 0; i < literal; ++i) {
      const std::uint8_t b = (*bytes)[i / 2];
      writer.Put((i & 1) ? (b & 0x0F) : (b >> 4));
    }
  }
}

}  // namespace inkmark
