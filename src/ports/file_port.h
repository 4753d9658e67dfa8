// FilePort: the printer's command stream written into a file instead of sent.
#pragma once

#include <cstdint>
#include <string>

#include "ports/port_driver.h"

namespace inkmark {

class FilePort final : public PortDriver {
 public:
  explicit FilePort(std::string path) : PortDriver("FILE:"), file_path(std::move(path)) {}

  // Creates the file afresh, replacing any file of that name; 0 when it cannot.
  std::int32_t open() override;
  void close() override;
  // A file answers nothing.
  std::int32_t read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  std::int32_t readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  // Appends all bytes; on failure `errors` holds the system's error code.
  std::int32_t write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                     std::uint32_t& errors) override;

  UniqueFd file_handle;
  std::string file_path;
};

}  // namespace inkmark
