#include "app/startup.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QSettings>
#include <fstream>

#include "app/temp_files.h"
#include "settings/saved_settings.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

constexpr char kDt200[] =
    "[Spec]\nPrnName=DT-200/210\nPaperWidth=58mm,80mm,1\nPaperDot=360,512\n1stColor=Black,0\n"
    "2ndColor=Red,None,0\nResolution=180,0\nPort=COM1,COM2,LPT1,0\nBaudRate=9600,19200,1\n"
    "BitLength=7,8,1\nParity=None,Even,Odd,0\nFlow=DTR/DSR,XON/XOFF,0\n";
constexpr char kDt300[] =
    "[Spec]\nPrnName=DT-300/310\nPaperWidth=58mm,80mm,0\nPaperDot=360,512\n1stColor=Black,0\n"
    "2ndColor=Red,None,0\nResolution=180,360,0\nPort=COM1,COM2,LPT1,0\nBaudRate=9600,19200,0\n"
    "BitLength=7,8,1\nParity=None,Even,Odd,0\nFlow=DTR/DSR,XON/XOFF,0\n";

// A program folder, a private settings store and a private temporary folder.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.path() / "system");
    std::filesystem::create_directories(dir_.path() / "user");
    std::filesystem::create_directories(dir_.path() / "tmp");
    std::filesystem::create_directories(program());
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       QString::fromStdString((dir_.path() / "system").string()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((dir_.path() / "user").string()));
    if (const char* old = getenv("TMPDIR")) old_tmpdir_ = old;
    setenv("TMPDIR", (dir_.path() / "tmp").c_str(), 1);
  }
  void TearDown() override {
    old_tmpdir_.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", old_tmpdir_.c_str(), 1);
  }
  std::filesystem::path program() const { return dir_.path() / "program"; }
  void InstallPrinters() const {
    testing::TempDir::WriteFile(program() / "DT200.DEF", kDt200);
    testing::TempDir::WriteFile(program() / "DT300.DEF", kDt300);
  }
  // Runs start-up; the window records what it saw and may act like "Exit".
  struct Seen {
    bool ran = false;
    std::int32_t profile_index = -1;
    std::int32_t profile_count = 0;
    std::int32_t paper_width_sel = -1;
    std::int32_t baud_sel = -1;
    std::string source_path;
  };
  Seen Run(std::string_view command_line, std::function<void(LogoSession&)> act = {}) {
    Seen seen;
    RunApplication(command_line, program(), [&](LogoSession& s) {
      seen.ran = true;
      seen.profile_index = s.profile_index;
      seen.profile_count = s.profile_count;
      seen.paper_width_sel = s.CurrentProfile()->paper_width_sel;
      seen.baud_sel = s.CurrentProfile()->baud_sel;
      seen.source_path = s.source_path;
      if (act) act(s);
    });
    return seen;
  }
  testing::TempDir dir_;
  testing::RecordingMessageBoxes boxes_;
  std::string old_tmpdir_;
};

TEST_F(StartupTest, WithoutPrinterFilesOnlyTheMissingFileBoxShows) {
  testing::TempDir::WriteFile(program() / "README.txt", "[Spec]\nPrnName=DT-200/210\n");
  testing::TempDir::WriteFile(program() / "EMPTY.DEF", "[Spec]\nPaperWidth=58mm,0\n");
  Seen seen = Run("");
  EXPECT_FALSE(seen.ran);
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].text, "Printer information file(*.DEF) is missing.");
  EXPECT_EQ(boxes_.boxes()[0].caption, "Quorvel Inkmark Tool");
  EXPECT_EQ(boxes_.boxes()[0].owner, nullptr);
}

TEST_F(StartupTest, FirstRunUsesTheFileDefaultsAndLeavesNoTemporaryFile) {
  InstallPrinters();
  LogoSession* during = nullptr;
  std::string fit;
  Seen seen = Run("", [&](LogoSession& s) {
    during = &s;
    ASSERT_TRUE(PrepareTempFiles(s));
    fit = s.temp_fit_path;
    for (const auto* p : {&s.temp_fit_path, &s.temp_cut_path, &s.temp_dest_path}) {
      std::ofstream(*p) << "stale";
    }
  });
  EXPECT_TRUE(seen.ran);
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(seen.profile_count, 2);
  EXPECT_EQ(seen.profile_index, 0);
  EXPECT_EQ(seen.paper_width_sel, 1);
  EXPECT_EQ(seen.source_path, "");
  EXPECT_FALSE(fit.empty());
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(fit).parent_path()));
}

TEST_F(StartupTest, ExitSettingsComeBackNextRunByValue) {
  InstallPrinters();
  Run("", [](LogoSession& s) {
    s.profile_index = 1;
    PrinterProfile& p = *s.CurrentProfile();
    p.paper_width_sel = 1;
    p.baud_sel = 1;
    s.source_path = "/logos/shop.bmp";
    ASSERT_EQ(SaveSettings(p, s.source_path), 1);
  });
  // The printer file is edited between runs: 19200 moves to the front.
  std::string edited = kDt300;
  edited.replace(edited.find("BaudRate=9600,19200,0"), 21, "BaudRate=19200,9600,1");
  testing::TempDir::WriteFile(program() / "DT300.DEF", edited);

  Seen seen = Run("");
  EXPECT_EQ(seen.profile_index, 1);
  EXPECT_EQ(seen.paper_width_sel, 1);
  EXPECT_EQ(seen.baud_sel, 0);
  EXPECT_EQ(seen.source_path, "/logos/");
}

TEST_F(StartupTest, CommandLineWinsOverSavedPrinterButNotOverSavedFolder) {
  InstallPrinters();
  Run("", [](LogoSession& s) {
    s.source_path = "/logos/shop.bmp";
    s.CurrentProfile()->baud_sel = 0;
    SaveSettings(*s.CurrentProfile(), s.source_path);
  });
  Seen seen = Run("-pnDT300/310 -pw80");
  EXPECT_EQ(seen.profile_index, 1);
  EXPECT_EQ(seen.paper_width_sel, 1);
  EXPECT_EQ(seen.source_path, "/logos/");

  // A command line that matches nothing leaves the saved settings in charge.
  Seen unmatched = Run("-pnXX999 -pw99");
  EXPECT_EQ(unmatched.profile_index, 0);
  EXPECT_EQ(unmatched.baud_sel, 0);
}

TEST_F(StartupTest, SavedPrinterThatNoLongerExistsSelectsTheFirst) {
  InstallPrinters();
  {
    QSettings store(QSettings::NativeFormat, QSettings::SystemScope, "Quorvel", "Inkmark Tool");
    store.setValue("PrnName", "DT-999/990");
    store.setValue("PaperWidth", "58mm");
    store.setValue("Directory", "/saved/");
  }
  Seen seen = Run("");
  EXPECT_EQ(seen.profile_index, 0);
  EXPECT_EQ(seen.paper_width_sel, 1);
  EXPECT_EQ(seen.source_path, "/saved/");
}

}  // namespace
}  // namespace inkmark
