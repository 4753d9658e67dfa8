// The one checked little-endian reader that every picture parser reads through,
// and the matching writers for the headers this system builds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace inkmark {

// Reads fields at absolute offsets; a field that does not lie wholly inside the
// bytes reads as nullopt, never past the end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  // True when `count` bytes starting at `offset` lie inside the bytes.
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  std::optional<std::uint8_t> U8(std::size_t offset) const {
    if (!Has(offset, 1)) return std::nullopt;
    return bytes_[offset];
  }
  std::optional<std::uint16_t> U16(std::size_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }
  std::optional<std::uint32_t> U32(std::size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes_[offset]) |
           (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
  }
  std::optional<std::int32_t> I32(std::size_t offset) const {
    auto v = U32(offset);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
  }
  // The `count` bytes at `offset`, or nullopt when they run past the end.
  std::optional<std::span<const std::uint8_t>> Bytes(std::size_t offset, std::size_t count) const {
    if (!Has(offset, count)) return std::nullopt;
    return bytes_.subspan(offset, count);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Reads bytes one after another (run-length data); running out reads as nullopt.
class ByteCursor {
 public:
  explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<std::uint8_t> Next() {
    if (pos_ >= bytes_.size()) return std::nullopt;
    return bytes_[pos_++];
  }
  // Takes the next `count` bytes, or nullopt (and nothing taken) when fewer remain.
  std::optional<std::span<const std::uint8_t>> Take(std::size_t count) {
    if (count > bytes_.size() - pos_) return std::nullopt;
    auto part = bytes_.subspan(pos_, count);
    pos_ += count;
    return part;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// Little-endian writers; false (and nothing written) when the field does not fit.
inline bool PutU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  if (offset > bytes.size() || bytes.size() - offset < 2) return false;
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  return true;
}
inline bool PutU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return false;
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  return true;
}

}  // namespace inkmark
