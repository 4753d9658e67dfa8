#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <system_error>

#include "platform/text.h"

namespace inkmark {
namespace {

// A folder is ours when it is a real folder (not a link), owned by us and
// closed to everybody else.
bool IsPrivateFolder(const std::filesystem::path& dir) {
  // lstat, so that a link planted under our name is refused rather than followed.
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 0077) == 0;
}

// The fresh folder made for this run when the usual one was refused, and the
// base folder it was made in (TMPDIR may change between calls in tests).
struct FreshFolder {
  std::mutex mutex;
  std::filesystem::path base;
  std::filesystem::path dir;
};
FreshFolder& Fresh() {
  static FreshFolder fresh;
  return fresh;
}

}  // namespace

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

namespace {

// An installed tree keeps the programs in bin/ and the rest in folders the
// build names relative to it, so the tree can be moved as a whole.
#ifndef INKMARK_REL_PRINTERS_DIR
#define INKMARK_REL_PRINTERS_DIR "../share/inkmark/printers"
#endif
#ifndef INKMARK_REL_TRANSLATIONS_DIR
#define INKMARK_REL_TRANSLATIONS_DIR "../share/inkmark/translations"
#endif
#ifndef INKMARK_REL_PKGLIB_DIR
#define INKMARK_REL_PKGLIB_DIR "../lib/inkmark"
#endif

bool HoldsPrinterFile(const std::filesystem::path& folder) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (EqualsNoCase(entry.path().extension().string(), ".DEF")) return true;
  }
  return false;
}

}  // namespace

std::filesystem::path PrinterFilesFolder() {
  std::filesystem::path beside = ProgramFolder();
  if (HoldsPrinterFile(beside)) return beside;
  std::filesystem::path installed = (beside / INKMARK_REL_PRINTERS_DIR).lexically_normal();
  std::error_code ec;
  return std::filesystem::is_directory(installed, ec) ? installed : beside;
}

std::filesystem::path TranslationsFolder() {
  std::filesystem::path beside = ProgramFolder() / "translations";
  std::error_code ec;
  if (std::filesystem::is_directory(beside, ec)) return beside;
  return (ProgramFolder() / INKMARK_REL_TRANSLATIONS_DIR).lexically_normal();
}

std::filesystem::path StatusLibraryHome() {
  std::filesystem::path beside = ProgramFolder();
  std::error_code ec;
  if (std::filesystem::exists(beside / "libQrvStmApi.so", ec)) return beside;
  std::filesystem::path installed = (beside / INKMARK_REL_PKGLIB_DIR).lexically_normal();
  return std::filesystem::exists(installed / "libQrvStmApi.so", ec) ? installed : beside;
}

std::optional<std::filesystem::path> PrivateTempDir(std::filesystem::path* refused) {
  const char* env = std::getenv("TMPDIR");
  const std::filesystem::path base = (env && *env) ? env : "/tmp";
  const std::filesystem::path usual = base / ("inkmark-" + std::to_string(::getuid()));
  if ((::mkdir(usual.c_str(), 0700) == 0 || errno == EEXIST) && IsPrivateFolder(usual)) {
    return usual;
  }
  // Anybody may plant a folder under the usual name in a shared /tmp: a fresh
  // one of our own, with a name nobody can guess ahead, keeps the tool working.
  FreshFolder& fresh = Fresh();
  std::lock_guard lock(fresh.mutex);
  if (fresh.base == base && !fresh.dir.empty() && IsPrivateFolder(fresh.dir)) return fresh.dir;
  std::string pattern = usual.string() + "-XXXXXX";
  if (::mkdtemp(pattern.data()) != nullptr && IsPrivateFolder(pattern)) {
    fresh.base = base;
    fresh.dir = pattern;
    return fresh.dir;
  }
  if (refused) *refused = usual;
  return std::nullopt;
}

void ReleasePrivateTempDir() {
  FreshFolder& fresh = Fresh();
  std::lock_guard lock(fresh.mutex);
  if (fresh.dir.empty()) return;
  ::rmdir(fresh.dir.c_str());  // only when empty: another part may still use it
  fresh.dir.clear();
}

const std::string& ProcessTempTag() {
  static const std::string tag = [] {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string t = std::to_string(::getpid()) + "-";
    for (int i = 0; i < 6; ++i) t += kChars[random() % (sizeof kChars - 1)];
    return t;
  }();
  return tag;
}

}  // namespace inkmark
