#include "settings/saved_settings.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "profile_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::ProfileFrom;

// Points both stores at private folders for one test.
class SavedSettingsTest : public ::testing::Test {
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
  // Writes raw values into the machine-wide store, as another program might.
  void WriteRaw(std::initializer_list<std::pair<const char*, QVariant>> values) const {
    QSettings raw(QSettings::NativeFormat, QSettings::SystemScope, "Quorvel", "Inkmark Tool");
    for (const auto& [name, value] : values) raw.setValue(name, value);
  }
  std::vector<PrinterProfile> Profiles(std::string_view dt300 = testing::kDt300File) const {
    return {ProfileFrom(testing::kDt200File), ProfileFrom(dt300)};
  }
  testing::TempDir dir_;
};

TEST_F(SavedSettingsTest, RoundTripsSelectionsByValueAndTheFolder) {
  auto profiles = Profiles();
  PrinterProfile& chosen = profiles[1];
  chosen.paper_width_sel = 2;
  chosen.first_color_sel = 1;
  chosen.second_color_sel = 1;
  chosen.resolution_sel = 1;
  chosen.port_sel = 3;
  chosen.baud_sel = 0;
  chosen.bit_length_sel = 0;
  chosen.parity_sel = 2;
  chosen.flow_sel = 1;
  std::string path = "/home/user/logos/shop.bmp";
  ASSERT_EQ(SaveSettings(chosen, path), 1);
  EXPECT_EQ(path, "/home/user/logos/");

  auto fresh = Profiles();
  std::string restored;
  ASSERT_EQ(LoadSettings(2, fresh, restored), 1);
  EXPECT_EQ(restored, "/home/user/logos/");
  const PrinterProfile& p = fresh[1];
  EXPECT_EQ(p.paper_width_sel, 2);
  EXPECT_EQ(p.first_color_sel, 1);
  EXPECT_EQ(p.second_color_sel, 1);
  EXPECT_EQ(p.resolution_sel, 1);
  EXPECT_EQ(p.port_sel, 3);
  EXPECT_EQ(p.baud_sel, 0);
  EXPECT_EQ(p.bit_length_sel, 0);
  EXPECT_EQ(p.parity_sel, 2);
  EXPECT_EQ(p.flow_sel, 1);

  // With the command line in charge only the folder comes back.
  auto untouched = Profiles();
  restored.clear();
  EXPECT_EQ(LoadSettings(0, untouched, restored), 0);
  EXPECT_EQ(restored, "/home/user/logos/");
  EXPECT_EQ(untouched[1].port_sel, 0);
}

TEST_F(SavedSettingsTest, AnEditedPrinterFileLeavesNoStaleIndex) {
  auto profiles = Profiles();
  profiles[1].paper_width_sel = 1;  // 80mm
  profiles[1].port_sel = 1;         // COM2
  std::string path = "shop.bmp";
  ASSERT_EQ(SaveSettings(profiles[1], path), 1);
  EXPECT_EQ(path, "shop.bmp");  // no folder to cut to

  // The file now lists 80mm first and no longer offers COM2.
  std::string edited(testing::kDt300File);
  edited.replace(edited.find("58mm,80mm,58mmJP,1"), 18, "80mm,58mm,1");
  edited.replace(edited.find("Port=COM1,COM2,"), 15, "Port=COM1,COM3,");
  auto fresh = Profiles(edited);
  std::string restored;
  ASSERT_EQ(LoadSettings(2, fresh, restored), 1);
  EXPECT_EQ(fresh[1].paper_width_sel, 0);
  EXPECT_EQ(fresh[1].port_sel, 0);  // the file's default
}

TEST_F(SavedSettingsTest, UnmatchedAndWrongTypedValuesKeepTheFileDefaults) {
  WriteRaw({{"PrnName", "dt-300/310"},
            {"BaudRate", 4800},
            {"BitLength", "eight"},
            {"Parity", "0"},  // the default-index element is not a choice
            {"Flow", 5},      // a number where a name belongs
            {"1stColor", "RED"},
            {"Resolution", QStringList{"360"}}});
  auto profiles = Profiles();
  std::string restored = "kept";
  ASSERT_EQ(LoadSettings(2, profiles, restored), 1);
  const PrinterProfile& p = profiles[1];
  EXPECT_EQ(p.first_color_sel, 1);  // letter case aside
  EXPECT_EQ(p.baud_sel, 1);
  EXPECT_EQ(p.bit_length_sel, 1);
  EXPECT_EQ(p.parity_sel, 0);
  EXPECT_EQ(p.flow_sel, 0);
  EXPECT_EQ(p.resolution_sel, 0);
  EXPECT_EQ(restored, "kept");  // no Directory saved
}

TEST_F(SavedSettingsTest, AnUnknownPrinterRestoresOnlyTheFolder) {
  WriteRaw({{"PrnName", "DT-999"}, {"Directory", "/pictures/"}, {"Port", "COM2"}});
  auto profiles = Profiles();
  std::string restored;
  EXPECT_EQ(LoadSettings(2, profiles, restored), 0);
  EXPECT_EQ(restored, "/pictures/");
  EXPECT_EQ(profiles[1].port_sel, 0);
  EXPECT_EQ(profiles[0].port_sel, 0);
}

TEST_F(SavedSettingsTest, NothingSavedAndNothingWritableAreHarmless) {
  auto profiles = Profiles();
  std::string path = "/a/b.bmp";
  EXPECT_EQ(LoadSettings(2, profiles, path), 0);
  EXPECT_EQ(path, "/a/b.bmp");

  // A file where each store's folder belongs closes both.
  for (const auto& folder : {system_dir(), user_dir()}) {
    std::filesystem::remove_all(folder);
    testing::TempDir::WriteFile(folder, "");
  }
  EXPECT_EQ(SaveSettings(profiles[0], path), 0);
}

}  // namespace
}  // namespace inkmark
