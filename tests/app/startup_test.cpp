#include "app/startup.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QSettings>
#include <fstream>

#include "app/temp_files.h"
#include "settings/saved_settings.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

// A printer file; `extra` keys come first and so win over the usual ones.
std::string Def(const std::string& name, const std::string& extra = "") {
  return "[Spec]\n" + extra + "PrnName=" + name +
         "\nPaperWidth=58mm,80mm,1\nPaperDot=360,512\n1stColor=Black,0\n2ndColor=Red,None,0\n"
         "Resolution=180,360,0\nPort=COM1,COM2,0\nBaudRate=9600,19200,0\n";
}

// A program folder with two printer files, private settings and a private
// temporary folder; Run records what the window saw and may act like "Exit".
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [scope, name] :
         {std::pair{QSettings::SystemScope, "system"}, std::pair{QSettings::UserScope, "user"}}) {
      std::filesystem::create_directories(dir_.path() / name);
      QSettings::setPath(QSettings::NativeFormat, scope,
                         QString::fromStdString((dir_.path() / name).string()));
    }
    std::filesystem::create_directories(dir_.path() / "tmp");
    if (const char* old = getenv("TMPDIR")) old_tmpdir_ = old;
    setenv("TMPDIR", (dir_.path() / "tmp").c_str(), 1);
    TempDir::WriteFile(program_ / "DT200.DEF", Def("DT-200/210"));
    TempDir::WriteFile(program_ / "DT300.DEF", Def("DT-300/310"));
  }
  void TearDown() override {
    old_tmpdir_.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", old_tmpdir_.c_str(), 1);
  }
  struct Seen {
    std::int32_t profile_index = -1;
    std::vector<PrinterProfile> profiles;
    std::string source_path;
  };
  Seen Run(std::string_view command_line, std::function<void(LogoSession&)> act = {}) {
    Seen seen;
    RunApplication(command_line, program_, [&](LogoSession& s) {
      seen = {s.profile_index, s.profiles, s.source_path};
      if (act) act(s);
    });
    return seen;
  }
  TempDir dir_;
  std::filesystem::path program_ = dir_.path() / "program";
  RecordingMessageBoxes boxes_;
  std::string old_tmpdir_;
};

TEST_F(StartupTest, WithoutPrinterFilesOnlyTheMissingFileBoxShows) {
  std::filesystem::remove_all(program_);
  TempDir::WriteFile(program_ / "README.txt", Def("DT-200/210"));
  TempDir::WriteFile(program_ / "EMPTY.DEF", "[Spec]\nPaperWidth=58mm,0\n");
  EXPECT_TRUE(Run("").profiles.empty());
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].text, "Printer information file(*.DEF) is missing.");
  EXPECT_EQ(boxes_.boxes()[0].caption, "Quorvel Inkmark Tool");
  EXPECT_EQ(boxes_.boxes()[0].owner, nullptr);
}

TEST_F(StartupTest, FirstRunUsesTheFileDefaultsAndLeavesNoTemporaryFile) {
  std::string fit;
  const Seen seen = Run("", [&](LogoSession& s) {
    ASSERT_TRUE(PrepareTempFiles(s));
    fit = s.temp_fit_path;
    for (const auto* p : {&s.temp_fit_path, &s.temp_cut_path, &s.temp_dest_path})
      std::ofstream(*p) << "stale";
  });
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(seen.profiles.size(), 2u);
  EXPECT_EQ(seen.profile_index, 0);
  EXPECT_EQ(seen.profiles[0].paper_width_sel, 1);
  EXPECT_EQ(seen.source_path, "");
  ASSERT_FALSE(fit.empty());
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(fit).parent_path()));
}

TEST_F(StartupTest, SavedChoicesComeBackByValueUnlessTheCommandLineNamesAnother) {
  Run("", [](LogoSession& s) {  // the second printer at 19200 bps, then "Exit"
    s.profile_index = 1;
    s.CurrentProfile()->baud_sel = 1;
    s.source_path = "/logos/shop.bmp";
    ASSERT_EQ(SaveSettings(*s.CurrentProfile(), s.source_path), 1);
  });
  // A command line that matches nothing leaves the saved settings in charge.
  Seen seen = Run("-pnXX999 -pw99");
  EXPECT_EQ(seen.profile_index, 1);
  EXPECT_EQ(seen.profiles[1].baud_sel, 1);
  EXPECT_EQ(seen.source_path, "/logos/");
  // One that names a printer wins over the saved one, but not over the saved folder.
  seen = Run("-pnDT200/210 -pw58");
  EXPECT_EQ(seen.profile_index, 0);
  EXPECT_EQ(seen.profiles[0].paper_width_sel, 0);
  EXPECT_EQ(seen.source_path, "/logos/");
  // The printer file is edited between runs: 19200 moves to the front.
  TempDir::WriteFile(program_ / "DT300.DEF", Def("DT-300/310", "BaudRate=19200,9600,1\n"));
  seen = Run("");
  EXPECT_EQ(seen.profile_index, 1);
  EXPECT_EQ(seen.profiles[1].baud_sel, 0);
}

TEST_F(StartupTest, SavedPrinterThatNoLongerExistsSelectsTheFirst) {
  {
    QSettings store(QSettings::NativeFormat, QSettings::SystemScope, "Quorvel", "Inkmark Tool");
    store.setValue("PrnName", "DT-999/990");
    store.setValue("PaperWidth", "58mm");
    store.setValue("Directory", "/saved/");
  }
  const Seen seen = Run("");
  EXPECT_EQ(seen.profile_index, 0);
  EXPECT_EQ(seen.profiles[0].paper_width_sel, 1);
  EXPECT_EQ(seen.source_path, "/saved/");
}

}  // namespace
}  // namespace inkmark::testing
