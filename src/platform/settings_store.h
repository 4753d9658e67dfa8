// The store of saved settings: one key of named string and number values,
// machine-wide where it can be written, else per user. Reading prefers the
// per-user store when it holds any value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/failure.h"

namespace inkmark {

class SettingsStore {
 public:
  ~SettingsStore();
  SettingsStore(SettingsStore&&) noexcept;
  SettingsStore& operator=(SettingsStore&&) noexcept;

  // Whether the files the stores are kept in can be read: a FIFO or a device
  // under such a name is refused ("not a regular file") and that store is
  // passed over rather than waited on.
  static Status CheckFiles();

  // The store to read from, or nullopt when no store holds the key.
  static std::optional<SettingsStore> OpenForReading();
  // The store to write to, or nullopt when neither can be written.
  static std::optional<SettingsStore> OpenForWriting();

  // A value of another type (or none) reads as absent.
  std::optional<std::string> ReadString(const char* name) const;
  std::optional<std::uint32_t> ReadDword(const char* name) const;
  void WriteString(const char* name, const std::string& value);
  void WriteDword(const char* name, std::uint32_t value);
  // Flushes what was written; false when it could not be stored.
  bool Commit();

 private:
  struct Impl;
  explicit SettingsStore(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace inkmark
