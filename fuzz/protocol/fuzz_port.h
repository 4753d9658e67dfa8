// A printer port whose replies are the fuzzer's bytes: read on the direct
// route one byte at a time, and on the driver route as blocks whose lengths
// come from the bytes too.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "ports/port_driver.h"
#include "protocol/reply_reader.h"

namespace inkmark {

class FuzzPort final : public PortDriver {
 public:
  explicit FuzzPort(std::span<const std::uint8_t> bytes) : PortDriver("FUZZ"), bytes_(bytes) {}

  Status open() override { return Status(); }
  Status close() override { return Status(); }
  Status read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    got = std::uint32_t(std::min<std::size_t>(length, bytes_.size() - pos_));
    std::copy_n(bytes_.begin() + pos_, got, buffer);
    pos_ += got;
    if (got != length) return {FailureCode::kTimedOut, "no more bytes"};
    return Status();
  }
  Status readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    return read(buffer, length, got);
  }
  Status write(const std::uint8_t*, std::uint32_t length, std::uint32_t& written,
               std::uint32_t&) override {
    written = length;
    return Status();
  }

  // Each exchange: one length byte (0xFF fails the exchange), then that many
  // reply bytes, as many as remain.
  ReplyExchange Exchange() {
    return [this](std::span<const std::uint8_t>, std::span<std::uint8_t> reply,
                  std::uint32_t& received) {
      std::uint8_t length = 0;
      std::uint32_t got = 0;
      if (!read(&length, 1, got) || length == 0xFF) return false;
      std::uint32_t want = std::min<std::uint32_t>(length, std::uint32_t(reply.size()));
      read(reply.data(), want, received);
      return true;
    };
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace inkmark
