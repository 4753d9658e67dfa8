// FilePort: the printer's command stream written into a file instead of sent.
#pragma once

#include <cstdint>
#include <string>

#include "ports/port_driver.h"

namespace inkmark {

class FilePort final : public PortDriver {
 public:
  explicit FilePort(std::string path) : PortDriver("FILE:"), file_path(std::move(path)) {}

  // Creates the file afresh, replacing any file of that name.
  Status open() override;
  // Refused when the system could not finish the file.
  Status close() override;
  // A file answers nothing.
  Status read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  Status readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  // Appends all bytes; on failure `errors` holds the system's error code.
  Status write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
               std::uint32_t& errors) override;

  UniqueFd file_handle;
  std::string file_path;
};

}  // namespace inkmark
