#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <utility>

#include "platform/string_table.h"

namespace inkmark {
namespace {

std::string FolderOf(const std::string& path);

// Whether the kernel would refuse to follow the link `path` (its lstat in
// `link`): a link in a sticky, world-writable folder is followed only for its
// owner or the folder's, so that nobody can plant one in /tmp for a victim.
bool IsProtectedLink(const std::string& path, const struct stat& link) {
  const std::string folder = FolderOf(path);
  struct stat dir {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0) return true;
  const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
  return shared && link.st_uid != ::geteuid() && link.st_uid != dir.st_uid;
}

// The file a destination stands for: a link is followed to its target, so that
// replacing the file keeps the user's link. "" when a link leads nowhere or
// is one the kernel would not follow (`refused` then set).
std::string ResolveTarget(const std::string& destination, bool& refused) {
  refused = false;
  struct stat st {};
  if (::lstat(destination.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return destination;
  if (IsProtectedLink(destination, st)) {
    refused = true;
    return {};
  }
  std::error_code ec;
  auto target = std::filesystem::canonical(destination, ec);
  return ec ? std::string() : target.string();
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return path.substr(0, slash + 1);
}

// Short, so that the new name stays within the path limit whenever the
// destination's does.
std::string RandomName() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 engine{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, int(sizeof kChars) - 2);
  std::string name = ".~";
  for (int i = 0; i < 8; ++i) name += kChars[pick(engine)];
  return name;
}

}  // namespace

std::optional<OutputFile> OutputFile::Create(const std::string& destination, OutputError& error) {
  error = OutputError::kCannotCreate;
  if (destination.empty()) return std::nullopt;
  bool refused = false;
  std::string target = ResolveTarget(destination, refused);
  if (refused) error = OutputError::kProtectedLink;
  if (target.empty()) return std::nullopt;
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    error = OutputError::kNotRegularFile;
    return std::nullopt;
  }
  // A file closed to writing stays closed, as an in-place write would find it.
  if (exists && ::access(target.c_str(), W_OK) != 0) return std::nullopt;
  const std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::string temp = folder + RandomName();
    // Exclusive and not following links: never a file that someone else made.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    // The replacement keeps the owner, group and permissions of the file it
    // replaces, as far as this process may give them (owner first: a change
    // of owner clears the set-ID bits). Where it may not, the file is ours.
    if (exists) {
      // Failing both is no failure: the file is then ours, as a new one is.
      [[maybe_unused]] const bool kept_owner =
          ::fchown(fd, st.st_uid, st.st_gid) == 0 || ::fchown(fd, uid_t(-1), st.st_gid) == 0;
      ::fchmod(fd, st.st_mode & 07777);
    }
    error = OutputError::kNone;
    return OutputFile(std::move(target), std::move(temp), fd);
  }
  return std::nullopt;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : target_(std::move(other.target_)),
      temp_path_(std::move(other.temp_path_)),
      fd_(std::exchange(other.fd_, -1)),
      failed_(other.failed_) {
  other.temp_path_.clear();
}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    temp_path_ = std::exchange(other.temp_path_, std::string());
    fd_ = std::exchange(other.fd_, -1);
    failed_ = other.failed_;
  }
  return *this;
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Discard() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
  temp_path_.clear();
}

bool OutputFile::Write(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty() && !failed_) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) failed_ = true;
    if (n > 0) bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return !failed_;
}

bool OutputFile::Commit() {
  if (fd_ < 0 || temp_path_.empty()) return false;
  // A full disk may show only when the data is flushed or the file closed.
  bool ok = !failed_ && ::fsync(fd_) == 0;
  ok = ::close(std::exchange(fd_, -1)) == 0 && ok;
  if (ok) ok = std::rename(temp_path_.c_str(), target_.c_str()) == 0;
  if (ok) {
    temp_path_.clear();
    return true;
  }
  Discard();
  return false;
}

OutputError WriteOutputFile(const std::string& destination, std::span<const std::uint8_t> bytes) {
  OutputError error = OutputError::kNone;
  auto file = OutputFile::Create(destination, error);
  if (!file) return error;
  return file->Write(bytes) && file->Commit() ? OutputError::kNone : OutputError::kWriteFailed;
}

void ShowOutputError(WindowHandle owner, OutputError error, const std::string& path) {
  if (error == OutputError::kNone) return;
  ShowMessage(owner, error == OutputError::kNotRegularFile ? kStrNotRegularFile : kStrWriteFailed,
              path.c_str());
}

const char* OutputErrorText(OutputError error) {
  switch (error) {
    case OutputError::kNone:
      return "";
    case OutputError::kNotRegularFile:
      return "it is not a regular file";
    case OutputError::kCannotCreate:
      return "it cannot be created or replaced";
    case OutputError::kWriteFailed:
      return "writing it failed (the disk may be full); it is left as it was";
    case OutputError::kProtectedLink:
      return "it is a link in a shared folder, owned by someone else, that is not followed";
  }
  return "";
}

}  // namespace inkmark
