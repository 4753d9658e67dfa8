// Files the user asked for, written whole or not at all: the bytes go to a new
// file beside the destination, which replaces the destination only once every
// byte is on disk. On any failure the destination stays as it was and only our
// own new file is removed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/message_box.h"

namespace inkmark {

enum class OutputError {
  kNone,
  kNotRegularFile,  // the destination exists and is a folder, device, FIFO...
  kCannotCreate,    // no new file can be made beside the destination
  kWriteFailed,     // writing, flushing or renaming failed (a full disk)
  kProtectedLink,   // a link in a sticky, world-writable folder, of neither the user nor the
                    // folder's owner
};

class OutputFile {
 public:
  // Prepares the new file for `destination`. A destination that is a link is
  // followed, so that the link stays and its target is replaced, unless the
  // kernel would not follow it either (a link planted in a shared folder such
  // as /tmp). Refuses a destination that exists and is not a regular file
  // before anything is made.
  static std::optional<OutputFile> Create(const std::string& destination, OutputError& error);

  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  // Removes the new file unless it was committed.
  ~OutputFile();

  // The new file, for a writer that opens it by name (it is ours alone).
  const std::string& temp_path() const { return temp_path_; }

  // Appends the bytes; false when they could not all be written.
  bool Write(std::span<const std::uint8_t> bytes);

  // Flushes the new file to disk and renames it over the destination; false
  // (new file removed, destination untouched) when either fails.
  bool Commit();

 private:
  OutputFile(std::string target, std::string temp, int fd)
      : target_(std::move(target)), temp_path_(std::move(temp)), fd_(fd) {}
  void Discard();

  std::string target_;
  std::string temp_path_;
  int fd_ = -1;
  bool failed_ = false;
};

// Writes `bytes` to `destination` as one OutputFile.
OutputError WriteOutputFile(const std::string& destination, std::span<const std::uint8_t> bytes);

// Tells the user, in a box, why `path` was not written: a destination that is
// not a regular file, or one that could not be written (left as it was).
// Nothing for kNone.
void ShowOutputError(WindowHandle owner, OutputError error, const std::string& path);

// A short English reason for the command-line tool ("is not a regular file").
const char* OutputErrorText(OutputError error);

}  // namespace inkmark
