// SHA-256 through Qt Core, which every program of ours links already.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <cerrno>

#include "ledger/ledger.h"
#include "platform/unique_fd.h"

namespace inkmark {

std::string Sha256Hex(std::span<const std::uint8_t> bytes) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  return hash.result().toHex().toStdString();
}

Result<std::string> FileSha256Hex(const std::filesystem::path& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return ErrnoFailure(FailureCode::kCannotOpen, path.string(), errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0)
    return ErrnoFailure(FailureCode::kCannotOpen, path.string(), errno);
  if (!S_ISREG(st.st_mode)) return Failure{FailureCode::kNotRegularFile, path.string()};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoFailure(FailureCode::kCannotOpen, path.string(), errno);
    }
    hash.addData(QByteArrayView(buffer, n));
  }
  return hash.result().toHex().toStdString();
}

}  // namespace inkmark
