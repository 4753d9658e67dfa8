// A port that passes everything to another port and, while writing, says how
// many bytes of a long transfer have gone out.
#pragma once

#include <cstdio>

#include "ports/port_driver.h"

namespace inkmark::cli {

// Writes of at least this many bytes are shown, in pieces of this size.
inline constexpr std::uint32_t kProgressStep = 4096;

class ProgressPort final : public PortDriver {
 public:
  ProgressPort(PortDriver& port, std::FILE* err) : PortDriver(port.name), port_(port), err_(err) {}

  std::int32_t open() override { return port_.open(); }
  void close() override { port_.close(); }
  std::int32_t beginJob() override { return port_.beginJob(); }
  void endJob() override { port_.endJob(); }
  std::int32_t status() override { return port_.status(); }
  std::int32_t reset() override { return port_.reset(); }
  std::int32_t read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    return port_.read(buffer, length, got);
  }
  std::int32_t readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    return port_.readExact(buffer, length, got);
  }
  void discardInput() override { port_.discardInput(); }
  // The same bytes in the same order; a long write goes out in pieces so that
  // the count can be shown between them.
  std::int32_t write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                     std::uint32_t& errors) override;

 private:
  PortDriver& port_;
  std::FILE* err_;
};

}  // namespace inkmark::cli
