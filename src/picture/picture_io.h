// Whole-file reading and writing, used for every picture and temporary file of
// the image pipeline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/failure.h"

namespace inkmark {

// Larger files are refused rather than read: no picture this tool handles
// comes near it, and a bigger read would only exhaust memory.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{256} << 20;

// The whole file. Refused when the path is empty, the file cannot be opened or
// read (kCannotOpen), is not a regular file (kNotRegularFile: it is opened
// without waiting, so a FIFO or device never blocks), or is larger than
// kMaxPictureFileBytes (kTooLarge).
Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// Creates or truncates the file and writes the bytes; an empty path writes
// nothing. True when every byte was written.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

// As WriteWholeFile, but for a file in the private temporary directory: never
// follows a link planted under the name, and creates the file with mode 0600.
bool WriteTempFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace inkmark
