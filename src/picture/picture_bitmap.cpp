// Bitmap files of every depth to 24-bit pictures. Every field is read through the
// checked reader, the source rows are known to lie inside the file and the
// picture's size to be within the limits before the output is allocated.
#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <utility>

#include "picture/picture.h"
#include "picture/picture_bytes.h"
#include "picture/picture_decode.h"
#include "picture/picture_header.h"

namespace inkmark {
namespace {

// Information headers whose palette or masks follow at file offset 14 + size.
// The later forms (52 to 124 bytes) carry the bit-field masks inside the header,
// at the same file offset 54 as the 40-byte form.
bool KnownInfoHeader(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool CompressionAccepted(std::uint16_t bits, std::uint32_t compression) {
  switch (bits) {
    case 1:
      return compression == kCompressionNone;
    case 4:
      return compression == kCompressionNone || compression == kCompressionRle4;
    case 8:
      return compression == kCompressionNone || compression == kCompressionRle8;
    case 16:
    case 32:
      return compression == kCompressionNone || compression == kCompressionBitFields;
    default:
      return false;
  }
}

// Uncompressed source stride of each depth.
std::size_t SourceStride(std::uint16_t bits, std::int32_t width) {
  if (bits == 32) return static_cast<std::size_t>(width) * 4;
  return PaddedStride(width, bits);
}

// One bit-field channel: the mask, its trailing zero count and its largest value.
struct Channel {
  std::uint32_t mask = 0;
  unsigned shift = 0;
  std::uint32_t max = 0;
};

Channel MakeChannel(std::uint32_t mask) {
  Channel c;
  c.mask = mask;
  c.shift = mask == 0 ? 32 : static_cast<unsigned>(std::countr_zero(mask));
  c.max = mask == 0 ? 0 : mask >> c.shift;
  return c;
}

// 16-bit channels are scaled to 0-255 from their own range.
std::uint8_t Channel16(const Channel& c, std::uint32_t p) {
  return static_cast<std::uint8_t>((((p & c.mask) >> c.shift) & 0xFF) * 255 / c.max);
}

// 32-bit channels take the low 8 bits of the field as they are; a zero mask is 0.
std::uint8_t Channel32(const Channel& c, std::uint32_t p) {
  if (c.mask == 0) return 0;
  return static_cast<std::uint8_t>((p & c.mask) >> c.shift);
}

struct Masks {
  Channel red, green, blue;
};

std::optional<Masks> ReadMasks(const ByteReader& in, const BitmapHeader& h) {
  std::uint32_t r, g, b;
  if (h.compression == kCompressionBitFields) {
    auto mr = in.U32(kHeadersSize);
    auto mg = in.U32(kHeadersSize + 4);
    auto mb = in.U32(kHeadersSize + 8);
    if (!mr || !mg || !mb) return std::nullopt;
    r = *mr;
    g = *mg;
    b = *mb;
    if (h.bits_per_pixel == 16) {
      r &= 0xFFFF;
      g &= 0xFFFF;
      b &= 0xFFFF;
      // A 16-bit channel is scaled by its range; an empty mask has none.
      if (r == 0 || g == 0 || b == 0) return std::nullopt;
    }
  } else if (h.bits_per_pixel == 16) {
    r = 0x7C00, g = 0x03E0, b = 0x001F;
  } else {
    r = 0xFF0000, g = 0x00FF00, b = 0x0000FF;
  }
  return Masks{MakeChannel(r), MakeChannel(g), MakeChannel(b)};
}

void ExpandIndexedRow(const std::uint8_t* src, std::uint16_t bits, const PaletteTable& palette,
                      std::uint8_t* dst, std::int32_t width) {
  for (std::int32_t x = 0; x < width; ++x) {
    unsigned index;
    if (bits == 1) {
      index = (src[x >> 3] >> (7 - (x & 7))) & 1;
    } else if (bits == 4) {
      index = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
    } else {
      index = src[x];
    }
    std::memcpy(dst + static_cast<std::size_t>(x) * 3, palette.Entry(index), 3);
  }
}

void ExpandMaskedRow(const std::uint8_t* src, std::uint16_t bits, const Masks& m, std::uint8_t* dst,
                     std::int32_t width) {
  for (std::int32_t x = 0; x < width; ++x, dst += 3) {
    if (bits == 16) {
      const std::uint32_t p = src[2 * x] | (src[2 * x + 1] << 8);
      dst[0] = Channel16(m.blue, p);
      dst[1] = Channel16(m.green, p);
      dst[2] = Channel16(m.red, p);
    } else {
      const std::uint8_t* s = src + 4 * static_cast<std::size_t>(x);
      const std::uint32_t p =
          s[0] | (s[1] << 8) | (s[2] << 16) | (static_cast<std::uint32_t>(s[3]) << 24);
      dst[0] = Channel32(m.blue, p);
      dst[1] = Channel32(m.green, p);
      dst[2] = Channel32(m.red, p);
    }
  }
}

Failure Corrupt(const char* what) {
  return {FailureCode::kCorrupt, std::string("bitmap: ") + what};
}

constexpr char kRowsOutside[] = "the pixels reach past the end of the file";

// A 24-bit file is used as stored; only its rows must lie inside it.
Status Rgb24RowsInside(std::span<const std::uint8_t> file, const BitmapHeader& h) {
  if (Status size = CheckPictureSize(h.width, h.height, "bitmap"); !size) return size;
  if (h.pixel_offset < kHeadersSize) return Corrupt("the pixels overlap the headers");
  if (!ByteReader(file).Has(h.pixel_offset, Rgb24Stride(h.width) * h.height))
    return Corrupt(kRowsOutside);
  return Status();
}

// The headers of a bitmap file; refused when the file is shorter than they are.
Result<BitmapHeader> ReadHeaders(std::span<const std::uint8_t> file) {
  auto header = ReadBitmapHeader(file);
  if (!header) return Corrupt("shorter than its headers");
  return *header;
}

// A bitmap file whose palette or masks are read and whose rows are known to
// lie inside it (run-length data is checked as it is decoded).
struct Expander {
  BitmapHeader h;
  PaletteTable palette;
  std::optional<Masks> masks;
  std::size_t src_stride = 0;
};

Result<Expander> PrepareExpand(std::span<const std::uint8_t> file, const BitmapHeader& h) {
  const std::uint16_t bits = h.bits_per_pixel;
  if (!CompressionAccepted(bits, h.compression)) {
    return {FailureCode::kUnsupported, "bitmap: " + std::to_string(bits) +
                                           " bits per pixel with compression " +
                                           std::to_string(h.compression) + " is not supported"};
  }
  // Negative heights (top-down rows) are refused here too.
  if (Status size = CheckPictureSize(h.width, h.height, "bitmap"); !size) return size.failure();
  if (!KnownInfoHeader(h.header_size)) {
    return {FailureCode::kUnsupported,
            "bitmap: an information header of " + std::to_string(h.header_size) + " bytes"};
  }
  ByteReader in(file);
  const std::size_t table_start = kFileHeaderSize + h.header_size;
  if (h.pixel_offset < table_start || h.pixel_offset > file.size())
    return Corrupt("the pixel offset lies outside the file");

  Expander e;
  e.h = h;
  if (bits <= 8) {
    // The palette is what lies between the headers and the pixels, at most
    // 2^bits entries; indexes past it read as black.
    const std::size_t entries =
        std::min<std::size_t>(std::size_t{1} << bits, (h.pixel_offset - table_start) / 4);
    if (entries == 0) return Corrupt("no palette");
    for (std::size_t i = 0; i < entries; ++i) {
      auto entry = in.Bytes(table_start + 4 * i, 3);
      if (!entry) return Corrupt("the palette reaches past the end of the file");
      std::memcpy(&e.palette.bgr[3 * i], entry->data(), 3);
    }
  } else {
    e.masks = ReadMasks(in, h);
    if (!e.masks) return Corrupt("missing or empty colour masks");
  }

  const bool run_length = h.compression == kCompressionRle8 || h.compression == kCompressionRle4;
  e.src_stride = SourceStride(bits, h.width);
  if (!run_length && !in.Has(h.pixel_offset, e.src_stride * static_cast<std::size_t>(h.height))) {
    return Corrupt(kRowsOutside);
  }
  return e;
}

// The 24-bit headers of the expanded picture.
void WriteExpandedHeaders(std::span<const std::uint8_t> file, const BitmapHeader& h,
                          std::span<std::uint8_t> out) {
  const std::size_t image_size = Rgb24Stride(h.width) * static_cast<std::size_t>(h.height);
  std::memset(out.data(), 0, kHeadersSize);
  std::memcpy(out.data(), file.data(), kFileHeaderSize);
  PutU32(out, kOffFileSize, static_cast<std::uint32_t>(image_size + kHeadersSize));
  PutU32(out, kOffPixelOffset, kHeadersSize);
  PutU32(out, kOffHeaderSize, kInfoHeaderSize);
  PutU32(out, kOffWidth, static_cast<std::uint32_t>(h.width));
  PutU32(out, kOffHeight, static_cast<std::uint32_t>(h.height));
  PutU16(out, kOffPlanes, 1);
  PutU16(out, kOffBitsPerPixel, 24);
  PutU32(out, kOffImageSize, static_cast<std::uint32_t>(image_size));
}

// Fills the rows `rows` keeps (all of them unless it says otherwise).
Status ExpandRows(std::span<const std::uint8_t> file, const Expander& e, Rgb24Rows& rows) {
  const BitmapHeader& h = e.h;
  const auto data = file.subspan(h.pixel_offset);
  const bool rle8 = h.compression == kCompressionRle8;
  if (rle8 || h.compression == kCompressionRle4) {
    const bool decoded =
        rle8 ? DecodeRle8(data, e.palette, rows) : DecodeRle4(data, e.palette, rows);
    if (!decoded) return Corrupt("the run-length data breaks off or leaves the picture");
    return Status();
  }
  const std::int32_t width = rows.KeptWidth();
  for (std::int32_t r = 0; r < h.height; ++r) {
    if (!rows.Kept(r)) continue;
    const std::uint8_t* src = data.data() + static_cast<std::size_t>(r) * e.src_stride;
    if (h.bits_per_pixel <= 8) {
      ExpandIndexedRow(src, h.bits_per_pixel, e.palette, rows.Row(r), width);
    } else {
      ExpandMaskedRow(src, h.bits_per_pixel, *e.masks, rows.Row(r), width);
    }
  }
  return Status();
}

Result<BitmapFile> ExpandToRgb24(std::span<const std::uint8_t> file, const BitmapHeader& h) {
  auto e = PrepareExpand(file, h);
  if (!e) return e.failure();
  const std::size_t stride = Rgb24Stride(h.width);
  // Zero-filled: run-length data may leave pixels unwritten, which are black.
  BitmapFile out(kHeadersSize + stride * static_cast<std::size_t>(h.height), 0);
  WriteExpandedHeaders(file, h, out);
  Rgb24Rows rows{out.data() + kHeadersSize, h.width, h.height, stride};
  if (Status expanded = ExpandRows(file, *e, rows); !expanded) return expanded.failure();
  return out;
}

}  // namespace

Result<BitmapFile> DecodeBitmapToRgb24(std::span<const std::uint8_t> file) {
  auto header = ReadHeaders(file);
  if (!header) return header.failure();
  if (header->bits_per_pixel == 24) {
    if (Status inside = Rgb24RowsInside(file, *header); !inside) return inside.failure();
    return BitmapFile(file.begin(), file.end());
  }
  return ExpandToRgb24(file, *header);
}

Result<PictureRows> DecodeBitmapRows(std::span<const std::uint8_t> file,
                                     const MakeRowPlan& make_plan) {
  auto header = ReadHeaders(file);
  if (!header) return header.failure();
  const BitmapHeader& h = *header;
  const Failure no_plan{FailureCode::kInvalidArgument, "bitmap: no rows to decode"};
  PictureRows rows;
  if (h.bits_per_pixel == 24) {
    // The rows are used where they lie in the file.
    if (Status inside = Rgb24RowsInside(file, h); !inside) return inside.failure();
    auto plan = make_plan(h.width, h.height);
    if (!plan) return no_plan;
    rows.header.assign(file.begin(), file.begin() + h.pixel_offset);
    rows.pixels = file.data() + h.pixel_offset;
    rows.stride = Rgb24Stride(h.width);
    return rows;
  }
  auto e = PrepareExpand(file, h);
  if (!e) return e.failure();
  // Run-length data may leave pixels unwritten, which are black.
  std::optional<Rgb24Rows> target =
      PlanRows(rows, h.width, h.height, make_plan(h.width, h.height), true);
  if (!target) return no_plan;
  rows.header.resize(kHeadersSize);
  WriteExpandedHeaders(file, h, rows.header);
  if (Status expanded = ExpandRows(file, *e, *target); !expanded) return expanded.failure();
  return rows;
}

Result<BitmapFile> DecodeBitmapToRgb24(BitmapFile&& file) {
  auto header = ReadHeaders(file);
  if (!header) return header.failure();
  if (header->bits_per_pixel == 24) {
    if (Status inside = Rgb24RowsInside(file, *header); !inside) return inside.failure();
    return std::move(file);
  }
  return ExpandToRgb24(file, *header);
}

}  // namespace inkmark
