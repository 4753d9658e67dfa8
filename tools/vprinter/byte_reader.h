// A bounds-checked little-endian reader over a byte span: every read says
// whether the bytes were there, so a short command is refused, never overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace inkmark::vprinter {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t remaining() const { return bytes_.size() - pos_; }

  std::optional<std::uint8_t> U8() {
    if (remaining() < 1) return std::nullopt;
    return bytes_[pos_++];
  }

  std::optional<std::uint16_t> U16() {
    if (remaining() < 2) return std::nullopt;
    std::uint16_t v = std::uint16_t(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }

  std::optional<std::uint32_t> U32() {
    if (remaining() < 4) return std::nullopt;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes_[pos_ + std::size_t(i)];
    pos_ += 4;
    return v;
  }

  std::optional<std::span<const std::uint8_t>> Bytes(std::size_t count) {
    if (remaining() < count) return std::nullopt;
    auto out = bytes_.subspan(pos_, count);
    pos_ += count;
    return out;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace inkmark::vprinter
