#include "converter/source_bitmap.h"

#include <cstddef>

namespace inkmark::converter {
namespace {

// Little-endian fields, each read only after its whole length was checked.
class FieldReader {
 public:
  explicit FieldReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<std::uint32_t> U32(std::size_t at) const {
    if (at > bytes_.size() || bytes_.size() - at < 4) return std::nullopt;
    return std::uint32_t{bytes_[at]} | (std::uint32_t{bytes_[at + 1]} << 8) |
           (std::uint32_t{bytes_[at + 2]} << 16) | (std::uint32_t{bytes_[at + 3]} << 24);
  }
  std::optional<std::uint16_t> U16(std::size_t at) const {
    if (at > bytes_.size() || bytes_.size() - at < 2) return std::nullopt;
    return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Sides beyond this are refused before any size is computed from them.
constexpr std::uint32_t kMaxSourceSide = 1u << 16;

}  // namespace

std::optional<RgbView> ViewRgb24File(std::span<const std::uint8_t> file) {
  FieldReader in(file);
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  auto offset = in.U32(10);
  auto header_size = in.U32(14);
  auto width = in.U32(18);
  auto height_raw = in.U32(22);
  auto bits = in.U16(28);
  auto compression = in.U32(30);
  if (!offset || !header_size || !width || !height_raw || !bits || !compression) {
    return std::nullopt;
  }
  if (*header_size < 40 || *bits != 24 || *compression != 0) return std::nullopt;
  const auto signed_height = static_cast<std::int32_t>(*height_raw);
  const bool top_down = signed_height < 0;
  const std::uint32_t height =
      top_down ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(signed_height))
               : static_cast<std::uint32_t>(signed_height);
  if (*width == 0 || height == 0 || *width > kMaxSourceSide || height > kMaxSourceSide) {
    return std::nullopt;
  }
  const std::size_t stride = (std::size_t{*width} * 3 + 3) & ~std::size_t{3};
  const std::size_t rows_size = stride * height;
  if (*offset < std::uint64_t{14} + *header_size || *offset > file.size() ||
      file.size() - *offset < rows_size) {
    return std::nullopt;
  }
  RgbView view;
  view.width = *width;
  view.height = height;
  const std::uint8_t* pixels = file.data() + *offset;
  if (top_down) {
    view.first_row = pixels + stride * (height - 1);
    view.stride = -static_cast<std::ptrdiff_t>(stride);
  } else {
    view.first_row = pixels;
    view.stride = static_cast<std::ptrdiff_t>(stride);
  }
  return view;
}

}  // namespace inkmark::converter
