#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/text.h"

namespace inkmark {

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

std::optional<std::filesystem::path> PrivateTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::filesystem::path dir = (base && *base) ? base : "/tmp";
  dir /= "inkmark-" + std::to_string(::getuid());
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  // lstat, so that a link planted under our name is refused rather than followed.
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0) return std::nullopt;
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return std::nullopt;
  if ((st.st_mode & 0077) != 0) return std::nullopt;
  return dir;
}

}  // namespace inkmark
