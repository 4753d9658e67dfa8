#include "settings/saved_settings.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "profile_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::ProfileFrom;
using testing::Selections;
using Sel = std::vector<std::int32_t>;

// Points both stores at private folders for one test.
class SavedSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [scope, folder] : {std::pair{QSettings::SystemScope, dir_.path() / "system"},
                                 std::pair{QSettings::UserScope, dir_.path() / "user"}}) {
      std::filesystem::create_directories(folder);
      QSettings::setPath(QSettings::NativeFormat, scope, QString::fromStdString(folder.string()));
    }
  }
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
  const Sel chosen = {2, 1, 1, 1, 3, 0, 0, 2, 1};
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    *testing::SelectionFields(profiles[1])[i] = chosen[i];
  }
  std::string path = "/home/user/logos/shop.bmp";
  ASSERT_EQ(SaveSettings(profiles[1], path), 1);
  EXPECT_EQ(path, "/home/user/logos/");

  auto fresh = Profiles();
  std::string restored;
  ASSERT_EQ(LoadSettings(2, fresh, restored), 1);
  EXPECT_EQ(restored, "/home/user/logos/");
  EXPECT_EQ(Selections(fresh[1]), chosen);

  // A printer file edited since: the saved choices are found where they now are.
  std::string edited(testing::kDt300File);
  edited.replace(edited.find("58mm,80mm,58mmJP,1"), 18, "58mmJP,80mm,1");
  edited.replace(edited.find("COM1,COM2,LPT1,"), 15, "");
  fresh = Profiles(edited);
  ASSERT_EQ(LoadSettings(2, fresh, restored), 1);
  EXPECT_EQ(fresh[1].paper_width_sel + fresh[1].port_sel, 0);

  // With the command line in charge only the folder comes back.
  auto untouched = Profiles();
  restored.clear();
  EXPECT_EQ(LoadSettings(0, untouched, restored), 0);
  EXPECT_EQ(restored, "/home/user/logos/");
  EXPECT_EQ(Selections(untouched[1]), Selections(Profiles()[1]));
  path = "shop.bmp";  // no folder to cut to
  ASSERT_EQ(SaveSettings(profiles[1], path), 1);
  EXPECT_EQ(path, "shop.bmp");
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
  // Only the first colour moves, letter case aside.
  EXPECT_EQ(Selections(profiles[1]), (Sel{1, 1, 0, 0, 0, 1, 1, 0, 0}));
  EXPECT_EQ(restored, "kept");  // no Directory saved
}

TEST_F(SavedSettingsTest, NothingSavedAnUnknownPrinterOrNothingWritableIsHarmless) {
  auto profiles = Profiles();
  std::string path = "/a/b.bmp";
  EXPECT_EQ(LoadSettings(2, profiles, path), 0);
  EXPECT_EQ(path, "/a/b.bmp");

  WriteRaw({{"PrnName", "DT-999"}, {"Directory", "/pictures/"}, {"Port", "COM2"}});
  EXPECT_EQ(LoadSettings(2, profiles, path), 0);
  EXPECT_EQ(path, "/pictures/");  // only the folder comes back
  EXPECT_EQ(profiles[0].port_sel + profiles[1].port_sel, 0);

  // A file where each store's folder belongs closes both.
  for (const char* folder : {"system", "user"}) {
    std::filesystem::remove_all(dir_.path() / folder);
    testing::TempDir::WriteFile(dir_.path() / folder, "");
  }
  EXPECT_EQ(SaveSettings(profiles[0], path), 0);
}

}  // namespace
}  // namespace inkmark
