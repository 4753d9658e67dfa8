// Start-up over a program folder of printer files, with private settings.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <fstream>

#include "session/temp_files.h"
#include "settings/saved_settings.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark::testing {
namespace {

TEST(StartupTest, SavedChoicesYieldToTheCommandLineAndTemporaryFilesGoAtTheEnd) {
  TempDir dir;
  RecordingMessageBoxes boxes;
  for (auto scope : {QSettings::SystemScope, QSettings::UserScope})
    QSettings::setPath(QSettings::NativeFormat, scope,
                       QString::fromStdString((dir.path() / std::to_string(scope)).string()));
  const auto program = dir.path() / "program";
  struct {
    std::int32_t index = -1;
    std::vector<PrinterProfile> profiles;
    std::string source;
    std::vector<std::string> temps;
  } seen;
  auto run = [&](std::string_view line, std::function<void(LogoSession&)> act = {}) {
    RunApplication(line, program, [&](LogoSession& s) {
      if (act) act(s);
      seen = {s.profile_index,
              s.profiles,
              s.source_path,
              {s.temp_fit_path, s.temp_cut_path, s.temp_dest_path}};
    });
  };
  // Without a printer file only the missing-file box shows.
  TempDir::WriteFile(program / "README.txt", "[Spec]\nPrnName=DT-200/210\n");
  run("");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Printer information file(*.DEF) is missing."});
  EXPECT_TRUE(seen.profiles.empty());

  for (auto [file, name] : {std::pair{"DT200.DEF", "DT-200/210"}, {"DT300.DEF", "DT-300/310"}})
    TempDir::WriteFile(program / file,
                       std::string("[Spec]\nPrnName=") + name +
                           "\nPaperWidth=58mm,80mm,1\nPaperDot=360,512\n"
                           "1stColor=Black,0\n2ndColor=Red,None,0\n"
                           "Resolution=180,360,0\nPort=COM1,0\nBaudRate=9600,19200,0\n");
  run("", [](LogoSession& s) {  // the second printer at 19200 bps, then "Exit"
    ASSERT_TRUE(PrepareTempFiles(s));
    for (const auto* p : {&s.temp_fit_path, &s.temp_cut_path, &s.temp_dest_path})
      std::ofstream(*p) << "stale";
    s.profile_index = 1;
    s.CurrentProfile()->baud_rates.sel = 1;
    s.source_path = "/logos/shop.bmp";
    ASSERT_EQ(SaveSettings(*s.CurrentProfile(), s.source_path), 1);
  });
  EXPECT_EQ(seen.profiles.size(), 2u);
  for (const std::string& temp : seen.temps) EXPECT_FALSE(std::filesystem::exists(temp)) << temp;
  run("");
  EXPECT_EQ(seen.index, 1);
  EXPECT_EQ(seen.profiles[1].baud_rates.sel, 1);
  EXPECT_EQ(seen.source, "/logos/");
  // A command line naming a printer wins over the saved one, but not over the saved folder.
  run("-pnDT200/210 -pw58");
  EXPECT_EQ(seen.index, 0);
  EXPECT_EQ(seen.profiles[0].paper_widths.sel, 0);
  EXPECT_EQ(seen.source, "/logos/");
  EXPECT_EQ(boxes.boxes().size(), 1u);
}

}  // namespace
}  // namespace inkmark::testing
