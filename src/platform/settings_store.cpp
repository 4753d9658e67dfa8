#include "platform/settings_store.h"

#include <sys/stat.h>

#include <QFile>
#include <QSettings>
#include <utility>
#include <vector>

namespace inkmark {
namespace {

constexpr char kOrganization[] = "Quorvel";
constexpr char kApplication[] = "Inkmark Tool";

// The files a store of `scope` reads as soon as it is made: its own and the
// organisation's, and under the per-user scope the machine-wide ones as well,
// where QSettings keeps them (a folder set for a test or a demonstration
// included). Learnt from a store under a name nobody uses, since making one of
// ours would read our files at once.
std::vector<QString> FilesRead(QSettings::Scope scope) {
  static const QString kProbe = QStringLiteral("/.inkmark-probe");
  std::vector<QString> files;
  for (auto s : {QSettings::UserScope, QSettings::SystemScope}) {
    if (scope == QSettings::SystemScope && s == QSettings::UserScope) continue;
    const QSettings probe(QSettings::NativeFormat, s, QLatin1String(kOrganization) + kProbe,
                          QStringLiteral("probe"));
    QString organization = probe.fileName();  // ".../Quorvel/.inkmark-probe/probe.conf"
    organization.chop(kProbe.size() + QStringLiteral("/probe.conf").size());
    files.push_back(organization + QLatin1Char('/') + QLatin1String(kApplication) +
                    QStringLiteral(".conf"));
    files.push_back(organization + QStringLiteral(".conf"));
  }
  return files;
}

// Whether every file a store of `scope` reads is a regular file or absent: a
// FIFO would block the open until some other program writes to it.
Status CheckRegular(QSettings::Scope scope) {
  for (const QString& file : FilesRead(scope)) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(file);
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
      return Status(FailureCode::kNotRegularFile, name.toStdString() + ": not a regular file");
  }
  return Status();
}

// The store of `scope`; nullptr when a file it would read is not a regular file.
std::unique_ptr<QSettings> OpenScope(QSettings::Scope scope) {
  if (!CheckRegular(scope)) return nullptr;
  return std::make_unique<QSettings>(QSettings::NativeFormat, scope, kOrganization, kApplication);
}

}  // namespace

Status SettingsStore::CheckFiles() { return CheckRegular(QSettings::UserScope); }

struct SettingsStore::Impl {
  std::unique_ptr<QSettings> settings;
  QSettings::Scope scope = QSettings::UserScope;
  // What was written, replayed into the per-user store if the machine-wide one
  // turns out not to take it.
  std::vector<std::pair<QString, QVariant>> written;
};

SettingsStore::SettingsStore(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SettingsStore::~SettingsStore() = default;
SettingsStore::SettingsStore(SettingsStore&&) noexcept = default;
SettingsStore& SettingsStore::operator=(SettingsStore&&) noexcept = default;

std::optional<SettingsStore> SettingsStore::OpenForReading() {
  for (auto scope : {QSettings::UserScope, QSettings::SystemScope}) {
    auto settings = OpenScope(scope);
    if (settings && settings->status() == QSettings::NoError && !settings->allKeys().isEmpty()) {
      auto impl = std::make_unique<Impl>();
      impl->settings = std::move(settings);
      impl->scope = scope;
      return SettingsStore(std::move(impl));
    }
  }
  return std::nullopt;
}

std::optional<SettingsStore> SettingsStore::OpenForWriting() {
  for (auto scope : {QSettings::SystemScope, QSettings::UserScope}) {
    auto settings = OpenScope(scope);
    if (settings && settings->isWritable()) {
      auto impl = std::make_unique<Impl>();
      impl->settings = std::move(settings);
      impl->scope = scope;
      return SettingsStore(std::move(impl));
    }
  }
  return std::nullopt;
}

std::optional<std::string> SettingsStore::ReadString(const char* name) const {
  QVariant v = impl_->settings->value(QString::fromLatin1(name));
  if (!v.isValid() || v.typeId() != QMetaType::QString) return std::nullopt;
  return v.toString().toStdString();
}

std::optional<std::uint32_t> SettingsStore::ReadDword(const char* name) const {
  QVariant v = impl_->settings->value(QString::fromLatin1(name));
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  std::uint32_t value = 0;
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      value = static_cast<std::uint32_t>(v.toLongLong(&ok));
      break;
    case QMetaType::QString:
      // The native store keeps numbers as text; anything but plain digits is not a number.
      value = v.toString().toUInt(&ok, 10);
      break;
    default:
      break;
  }
  if (!ok) return std::nullopt;
  return value;
}

void SettingsStore::WriteString(const char* name, const std::string& value) {
  impl_->written.emplace_back(QString::fromLatin1(name), QString::fromStdString(value));
  impl_->settings->setValue(impl_->written.back().first, impl_->written.back().second);
}

void SettingsStore::WriteDword(const char* name, std::uint32_t value) {
  impl_->written.emplace_back(QString::fromLatin1(name), QVariant::fromValue(value));
  impl_->settings->setValue(impl_->written.back().first, impl_->written.back().second);
}

bool SettingsStore::Commit() {
  impl_->settings->sync();
  bool stored = impl_->settings->status() == QSettings::NoError;
  if (impl_->scope == QSettings::SystemScope) {
    // Reading prefers the per-user store: after a machine-wide save, an older
    // per-user copy would hide it. Where the machine-wide store failed, the
    // per-user one takes the values instead.
    auto user = OpenScope(QSettings::UserScope);
    if (!user) return stored;
    user->clear();
    if (!stored) {
      for (const auto& [name, value] : impl_->written) user->setValue(name, value);
    }
    user->sync();
    if (!stored) stored = user->status() == QSettings::NoError;
  }
  return stored;
}

}  // namespace inkmark
