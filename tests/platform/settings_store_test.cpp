#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "support/temp_dir.h"

namespace inkmark {
namespace {

// Points both stores at private folders for one test.
class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [scope, folder] : {std::pair{QSettings::SystemScope, system_dir()},
                                 std::pair{QSettings::UserScope, dir_.path() / "user"}}) {
      std::filesystem::create_directories(folder);
      QSettings::setPath(QSettings::NativeFormat, scope, QString::fromStdString(folder.string()));
    }
  }
  std::filesystem::path system_dir() const { return dir_.path() / "system"; }
  static std::optional<std::string> Read(const char* name) {
    return SettingsStore::OpenForReading()->ReadString(name);
  }
  testing::TempDir dir_;
};

TEST_F(SettingsStoreTest, RoundTripsMachineWideAndReadsOtherTypesAsAbsent) {
  EXPECT_FALSE(SettingsStore::OpenForReading());  // nothing before the first save
  auto store = SettingsStore::OpenForWriting();
  ASSERT_TRUE(store);
  store->WriteString("PrnName", "DT-300/310");
  store->WriteString("PaperWidth", "58mm, 80mm");
  store->WriteDword("BaudRate", 19200);
  store->WriteString("Speed", "fast");
  ASSERT_TRUE(store->Commit());
  EXPECT_TRUE(std::filesystem::exists(system_dir() / "Quorvel/Inkmark Tool.conf"));
  {
    QSettings raw(QSettings::NativeFormat, QSettings::SystemScope, "Quorvel", "Inkmark Tool");
    raw.setValue("Parity", QStringList{"a", "b"});
    raw.setValue("Flow", QByteArray("\x01\x02", 2));
  }
  auto read = SettingsStore::OpenForReading();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->ReadString("PrnName"), "DT-300/310");
  EXPECT_EQ(read->ReadString("PaperWidth"), "58mm, 80mm");
  EXPECT_EQ(read->ReadDword("BaudRate"), 19200u);
  for (const char* absent : {"Port", "Parity", "Flow"}) EXPECT_FALSE(read->ReadString(absent));
  EXPECT_FALSE(read->ReadDword("Speed"));
}

TEST_F(SettingsStoreTest, PerUserStoreTakesOverWhenMachineWideIsClosedAndWinsUntilItsNextSave) {
  for (auto [scope, value] : {std::pair{QSettings::UserScope, "per-user"},
                              std::pair{QSettings::SystemScope, "machine"}}) {
    QSettings(QSettings::NativeFormat, scope, "Quorvel", "Inkmark Tool").setValue("PrnName", value);
  }
  EXPECT_EQ(Read("PrnName"), "per-user");
  auto store = SettingsStore::OpenForWriting();
  store->WriteString("PrnName", "saved");
  ASSERT_TRUE(store->Commit());
  EXPECT_EQ(Read("PrnName"), "saved");

  // A file where the store's folder belongs closes it even to root.
  std::filesystem::remove_all(system_dir());
  testing::TempDir::WriteFile(system_dir(), "");
  store = SettingsStore::OpenForWriting();
  ASSERT_TRUE(store);
  store->WriteString("PrnName", "DT-200/210");
  EXPECT_TRUE(store->Commit());
  EXPECT_EQ(Read("PrnName"), "DT-200/210");
}

}  // namespace
}  // namespace inkmark
