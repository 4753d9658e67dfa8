#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSettings>

#include "support/temp_dir.h"

namespace inkmark {
namespace {

// Points both stores at private folders for one test.
class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(system_dir());
    std::filesystem::create_directories(user_dir());
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       QString::fromStdString(system_dir().string()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(user_dir().string()));
  }
  std::filesystem::path system_dir() const { return dir_.path() / "system"; }
  std::filesystem::path user_dir() const { return dir_.path() / "user"; }
  std::filesystem::path system_file() const { return system_dir() / "Quorvel/Inkmark Tool.conf"; }
  testing::TempDir dir_;
};

TEST_F(SettingsStoreTest, NothingToReadBeforeTheFirstSave) {
  EXPECT_FALSE(SettingsStore::OpenForReading());
}

TEST_F(SettingsStoreTest, RoundTripsStringsAndNumbersMachineWide) {
  auto store = SettingsStore::OpenForWriting();
  ASSERT_TRUE(store);
  store->WriteString("PrnName", "DT-300/310");
  store->WriteString("PaperWidth", "58mm, 80mm");
  store->WriteDword("BaudRate", 19200);
  ASSERT_TRUE(store->Commit());
  EXPECT_TRUE(std::filesystem::exists(system_file()));

  auto read = SettingsStore::OpenForReading();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->ReadString("PrnName"), "DT-300/310");
  EXPECT_EQ(read->ReadString("PaperWidth"), "58mm, 80mm");
  EXPECT_EQ(read->ReadDword("BaudRate"), 19200u);
  EXPECT_FALSE(read->ReadString("Port"));
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeReadAsAbsent) {
  {
    QSettings raw(QString::fromStdString(system_file().string()), QSettings::IniFormat);
    raw.setValue("BaudRate", "fast");
    raw.setValue("Parity", QStringList{"a", "b"});
    raw.setValue("Flow", QByteArray("\x01\x02", 2));
  }
  auto read = SettingsStore::OpenForReading();
  ASSERT_TRUE(read);
  EXPECT_FALSE(read->ReadDword("BaudRate"));
  EXPECT_FALSE(read->ReadString("Parity"));
  EXPECT_FALSE(read->ReadString("Flow"));
}

TEST_F(SettingsStoreTest, FallsBackToThePerUserStoreWhenMachineWideIsClosed) {
  // A file where the store's folder belongs closes it even to root.
  std::filesystem::remove_all(system_dir());
  testing::TempDir::WriteFile(system_dir(), "");
  auto store = SettingsStore::OpenForWriting();
  ASSERT_TRUE(store);
  store->WriteString("PrnName", "DT-200/210");
  EXPECT_TRUE(store->Commit());
  EXPECT_FALSE(std::filesystem::is_directory(system_dir()));
  EXPECT_EQ(SettingsStore::OpenForReading()->ReadString("PrnName"), "DT-200/210");
}

TEST_F(SettingsStoreTest, PerUserValuesWinOnReadingUntilTheNextMachineWideSave) {
  {
    QSettings user(QSettings::NativeFormat, QSettings::UserScope, "Quorvel", "Inkmark Tool");
    user.setValue("PrnName", "per-user");
  }
  {
    QSettings system(QSettings::NativeFormat, QSettings::SystemScope, "Quorvel", "Inkmark Tool");
    system.setValue("PrnName", "machine");
  }
  EXPECT_EQ(SettingsStore::OpenForReading()->ReadString("PrnName"), "per-user");
  auto store = SettingsStore::OpenForWriting();
  store->WriteString("PrnName", "saved");
  ASSERT_TRUE(store->Commit());
  EXPECT_EQ(SettingsStore::OpenForReading()->ReadString("PrnName"), "saved");
}

}  // namespace
}  // namespace inkmark
