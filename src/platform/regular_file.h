// Files a user names (a printers list, a printer file), read without ever
// waiting on them: opened with O_NONBLOCK | O_NOCTTY, so that a FIFO cannot
// block the open and a terminal never becomes ours, and then only a regular
// file goes on.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "platform/failure.h"
#include "platform/unique_fd.h"

namespace inkmark {

// The file opened for reading; kNotRegularFile ("not a regular file") for a
// FIFO, device or folder, kCannotOpen with the system's reason otherwise.
Result<UniqueFd> OpenRegularFile(const std::filesystem::path& path);

// The file's first `limit` bytes (all of a shorter file); refused as
// OpenRegularFile refuses, or when a read fails (kCannotOpen).
Result<std::string> ReadRegularFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace inkmark
