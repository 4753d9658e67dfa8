// The printer files, the saved settings and the command line: how the program's
// printer profiles are loaded and their selections made.
#include <gmock/gmock.h>

#include <QSettings>

#include "settings/command_line.h"
#include "settings/printer_files.h"
#include "settings/saved_settings.h"
#include "support/private_cupsd.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using ::testing::ElementsAre;
using Sel = std::vector<std::int32_t>;
using namespace std::string_view_literals;

// A two-colour model with every list filled, and a one-colour one.
constexpr std::string_view kDt300File =
    "[Spec]\nPrnName=DT-300/310\nPaperWidth=58mm,80mm,58mmJP,1\nPaperDot=360,512,360\n"
    "1stColor=Black,Red,0\n2ndColor=Red,None,0\nResolution=180,360,0\n"
    "Port=COM1,COM2,LPT1,Corlane Printer Driver,0\nBaudRate=9600,19200,1\nBitLength=7,8,1\n"
    "Parity=None,Even,Odd,0\nFlow=DTR/DSR,XON/XOFF,0\n";
constexpr std::string_view kDt200File =
    "[Spec]\nPrnName=DT-200/210\nPaperWidth=58mm,0\nPaperDot=360\n1stColor=Black,0\n"
    "2ndColor=None,0\nResolution=180,0\nPort=COM1,COM10,0\nBaudRate=9600,0\nBitLength=8,0\n"
    "Parity=None,0\nFlow=XON/XOFF,0\n";

PrinterProfile ProfileFrom(std::string_view text) {
  PrinterProfile profile;
  EXPECT_TRUE(LoadPrinterProfile(ProfileFile::Parse(text), profile));
  return profile;
}
std::vector<PrinterProfile> Profiles(std::string_view dt300 = kDt300File) {
  return {ProfileFrom(kDt200File), ProfileFrom(dt300)};
}

// Every saved selection of a profile: paper width, both colours, resolution,
// port, baud rate, bit length, parity and flow.
Sel Selections(const PrinterProfile& p) {
  return {p.paper_widths.sel, p.first_colors.sel, p.second_colors.sel,
          p.resolutions.sel,  p.ports.sel,        p.baud_rates.sel,
          p.bit_lengths.sel,  p.parities.sel,     p.flows.sel};
}

// Splitting and escapes are seen through LoadPrinterProfile below.
TEST(PrinterFileValues, SplitByCodePageAndNumbersReadLikeAtoi) {
  char* tokens[2] = {};
  // 0x82 leads a Shift-JIS character; the "," after it is its second byte.
  char sjis[] = "\x82,$,\x82~", western[] = "\x82,$,\x82~", trailing[] = "\x82\0,Z";
  ASSERT_EQ(SplitList(sjis, tokens, 932), 2);
  EXPECT_STREQ(tokens[0], "\x82,,");
  EXPECT_STREQ(tokens[1], "\x82~");
  EXPECT_EQ(SplitList(western, tokens, kSystemCodePage), 3);
  // A lead byte right before the end must not step over the terminator.
  EXPECT_EQ(SplitList(trailing, tokens, 932), 1);
  // Numbers are read as atoi reads them, saturated.
  for (auto [text, value] :
       {std::pair{" +7x", 7}, std::pair{"abc", 0}, std::pair{"99999999999", INT32_MAX},
        std::pair{"-99999999999", INT32_MIN}, std::pair{"-2147483648", INT32_MIN}})
    EXPECT_EQ(ParseInt(text), value) << text;
}

TEST(LoadPrinterProfile, FillsListsKeepsBlanksSplitsEscapesBoundsAllAndNeedsAModelName) {
  PrinterProfile p = ProfileFrom(kDt300File);
  // The resolution list's extra element is kept but selects nothing.
  EXPECT_EQ(Selections(p), Sel({1, 0, 0, 0, 0, 1, 1, 0, 0}));

  p = ProfileFrom(
      "[Spec]\nPrnName=m\nPaperWidth=58mm, 80mm,0\n2ndColor=Red$Blue,0\n"
      "Port=COM1~serial,LPT1~,0\nParity=\nResolution=180,360,1\n");
  EXPECT_THAT(p.paper_widths.values, ElementsAre("58mm", " 80mm", "0"));
  EXPECT_THAT(p.second_colors.values, ElementsAre("Red,Blue", "0"));
  EXPECT_THAT(p.ports.values, ElementsAre("COM1", "LPT1", "0"));
  // An empty or absent key is a list of no choices.
  EXPECT_THAT(p.parities.values, ElementsAre(""));
  EXPECT_THAT(p.baud_rates.values, ElementsAre(0));
  EXPECT_EQ(p.parities.count() + p.parities.sel + p.flows.count() + p.resolutions.sel, 0);
  p.model_name = "kept";
  EXPECT_FALSE(LoadPrinterProfile(ProfileFile::Parse("[Spec]\nPrnName=\nPort=COM1,0\n"), p));
  EXPECT_EQ(p.model_name, "kept");

  std::string many;
  for (int i = 0; i < 25; ++i) many += std::to_string(100 + i) + ",";
  p = ProfileFrom("[Spec]\nPrnName=" + std::string(10000, 'n') + "\nPaperWidth=" + many +
                  "7\nBaudRate=" + many + "22\nPaperDot=" + many +
                  "\n1stColor=Black,Red,-1\n2ndColor=Red,2\nFlow=a,b,x\nPort=" +
                  std::string(10000, ',') + "\n");
  EXPECT_EQ(p.model_name.size(), kMaxProfileText);
  // 19 choices and the file's own last element as the default.
  ASSERT_EQ(p.paper_widths.values.size(), 20u);
  EXPECT_EQ(p.paper_widths.values[18] + "|" + p.paper_widths.values.back(), "118|7");
  EXPECT_EQ(std::pair(p.paper_widths.count(), p.paper_widths.sel), std::pair(19, 7));
  EXPECT_EQ(std::pair(p.baud_rates.values.size(), p.baud_rates.values.back()), std::pair(20ul, 22));
  EXPECT_EQ(std::pair(p.paper_dots.size(), p.paper_dots.back()), std::pair(20ul, 119));
  EXPECT_EQ(std::pair(p.ports.values.size(), p.ports.count()), std::pair(20ul, 19));
  // 22 is past the 19 choices; -1, 2 and x are outside theirs.
  EXPECT_EQ(p.baud_rates.sel + p.first_colors.sel + p.second_colors.sel + p.flows.sel, 0);
  // A NUL ends the value.
  EXPECT_THAT(ProfileFrom("[Spec]\nPrnName=g\nFlow=a\0,b,1\n"sv).flows.values, ElementsAre("a"));
}

TEST(PrinterFiles, LoadNamedDefFilesInCaseBlindNameOrderWithTheDriversOfTheirModel) {
  testing::ScopedCupsServer no_spooler("/nonexistent/cups.sock");  // not the machine's spooler
  testing::TempDir dir;
  dir.Write("c_third.Def", kDt300File);
  dir.Write("B_second.def", "[Spec]\nPrnName=DT-250\n");
  dir.Write("a_first.DEF", kDt200File);
  dir.Write("b_nameless.DEF", "[Spec]\nPaperWidth=58mm,0\n");
  dir.Write("e.DEFX", "[Spec]\nPrnName=not a printer file\n");
  std::filesystem::create_directory(dir.path() / "f_folder.DEF");
  ASSERT_EQ(CountPrinterFiles(dir.path()), 3);
  std::vector<PrinterProfile> profiles(7);
  ASSERT_EQ(LoadPrinterProfiles(3, profiles, dir.path()), 3);
  EXPECT_EQ(profiles[0].model_name + "|" + profiles[1].model_name + "|" + profiles[2].model_name,
            "DT-200/210|DT-250|DT-300/310");
  EXPECT_EQ(LoadPrinterProfiles(2, profiles, dir.path()), 2);
  EXPECT_EQ(profiles.back().model_name, "DT-250");
  EXPECT_EQ(CountPrinterFiles(dir.path() / "missing"), 0);
  // Driver names hold the model exactly; the list and each name are bounded.
  const std::string long_name = "DT-300/310 " + std::string(80, 'x');
  const std::vector<SpoolerPrinter> printers = {
      SpoolerPrinter{"q1", "Corlane Printer Driver DT-300/310", ""},
      SpoolerPrinter{"q2", "Corlane Printer Driver dt-300/310", ""},
      SpoolerPrinter{"q3", "Other DT-200/210", ""}, SpoolerPrinter{"q4", long_name, ""}};
  std::vector<std::string> names = {"stale"};
  ASSERT_EQ(CollectDriverNames("DT-300/310", printers, names), 2);
  EXPECT_THAT(names, ElementsAre("Corlane Printer Driver DT-300/310", long_name.substr(0, 49)));
  EXPECT_EQ(CollectDriverNames("DT-300/310", std::vector(30, printers[0]), names), 20);
}

using DriverNamesTest = testing::PrivateCupsdTest;

TEST_F(DriverNamesTest, ProfilesCollectTheSpoolerQueuesWhoseDriverNamesHoldTheirModel) {
  ASSERT_TRUE(cupsd_.AddQueue("shop", "Corlane Printer Driver DT-300/310", "socket://127.0.0.1:9"));
  testing::TempDir program;
  program.Write("DT300.DEF", kDt300File);
  std::vector<PrinterProfile> profiles;
  ASSERT_EQ(LoadPrinterProfiles(1, profiles, program.path()), 1);
  EXPECT_THAT(profiles[0].driver_names.values, ElementsAre("Corlane Printer Driver DT-300/310"));
}

// Points both settings stores at private folders for one test.
struct SavedSettingsTest : ::testing::Test {
  SavedSettingsTest() {
    for (auto [scope, folder] :
         {std::pair{QSettings::SystemScope, "system"}, std::pair{QSettings::UserScope, "user"}})
      QSettings::setPath(QSettings::NativeFormat, scope,
                         QString::fromStdString((dir_.path() / folder).string()));
  }
  testing::TempDir dir_;
};

TEST_F(SavedSettingsTest, RoundTripsSelectionsByValueAndTheFolder) {
  std::string path = "/home/user/logos/shop.bmp";
  auto saved = Profiles();
  EXPECT_EQ(LoadSettings(2, saved, path), 0);  // nothing saved yet
  PrinterProfile& p = saved[1];
  std::tie(p.paper_widths.sel, p.first_colors.sel, p.second_colors.sel, p.resolutions.sel,
           p.ports.sel, p.baud_rates.sel, p.bit_lengths.sel, p.parities.sel, p.flows.sel) =
      std::tuple(2, 1, 1, 1, 3, 0, 0, 2, 1);
  ASSERT_EQ(SaveSettings(p, path), 1);
  EXPECT_EQ(path, "/home/user/logos/");
  auto fresh = Profiles();
  std::string restored;
  ASSERT_EQ(LoadSettings(2, fresh, restored), 1);
  EXPECT_EQ(restored, "/home/user/logos/");
  EXPECT_EQ(Selections(fresh[1]), Selections(p));
  // A printer file edited since: the saved choices are found where they now are.
  std::string edited(kDt300File);
  edited.replace(edited.find("58mm,80mm,58mmJP,1"), 18, "58mmJP,80mm,1");
  edited.replace(edited.find("COM1,COM2,LPT1,"), 15, "");
  fresh = Profiles(edited);
  ASSERT_EQ(LoadSettings(2, fresh, restored), 1);
  EXPECT_EQ(fresh[1].paper_widths.sel + fresh[1].ports.sel, 0);

  // Unmatched or unknown values, and nothing writable, are harmless.
  auto profiles = Profiles();
  path = "/a/b.bmp";
  const auto stored = dir_.path() / "system/Quorvel/Inkmark Tool.conf";
  // "0" is the default-index element, not a choice.
  testing::TempDir::WriteFile(
      stored,
      "[General]\nPrnName=dt-300/310\nBaudRate=4800\nBitLength=eight\nParity=0\n"
      "Flow=5\n1stColor=RED\nResolution=360, 720\n");
  ASSERT_EQ(LoadSettings(2, profiles, path), 1);
  // Only the first colour moves, letter case aside.
  EXPECT_EQ(Selections(profiles[1]), Sel({1, 1, 0, 0, 0, 1, 1, 0, 0}));
  EXPECT_EQ(path, "/a/b.bmp");  // no Directory saved

  testing::TempDir::WriteFile(stored,
                              "[General]\nPrnName=DT-999\nDirectory=/pictures/\nPort=COM2\n");
  EXPECT_EQ(LoadSettings(2, profiles, path), 0);
  EXPECT_EQ(path, "/pictures/");  // only the folder comes back
  EXPECT_EQ(profiles[0].ports.sel + profiles[1].ports.sel, 0);
  // A file where each store's folder belongs closes both.
  for (const char* folder : {"system", "user"}) {
    std::filesystem::remove_all(dir_.path() / folder);
    testing::TempDir::WriteFile(dir_.path() / folder, "");
  }
  EXPECT_EQ(SaveSettings(profiles[0], path), 0);
}

struct CommandLineTest : ::testing::Test {
  CommandLineTest() { session.profiles = Profiles(); }
  PrinterProfile& dt200() { return session.profiles[0]; }
  PrinterProfile& dt300() { return session.profiles[1]; }
  LogoSession session;
};

TEST_F(CommandLineTest, PicksEveryListByNameOrNumberAndOptionsThatMatchNothingChangeNothing) {
  const Sel before = Selections(dt300());
  for (std::string_view line :
       {""sv, "-PNDT300/310 -PW80"sv, "-pn -pw 80"sv, "-pw58jp"sv, "-pwP"sv, "-pw"sv,
        "-pr999 -cb4800"sv, "-ccNone0 -cfDTR"sv, "-pnDT300/310x"sv, "-pfRedish -cp"sv,
        "-ps0 -cb0"sv,      // neither a list's default element nor a choice past the count
        "-pn\0-pw80"sv}) {  // a NUL ends the command line
    EXPECT_EQ(ApplyCommandLine(session, line), 0) << line;
    EXPECT_EQ(session.profile_index, 0);
  }
  EXPECT_EQ(Selections(dt300()), before);
  LogoSession empty;
  EXPECT_EQ(ApplyCommandLine(empty, "-pnDT300/310 -pw80"), 0);

  EXPECT_EQ(ApplyCommandLine(session, "-pnDT300/310 -pw80 -cpCOM2"), 1);
  EXPECT_EQ(session.profile_index, 1);
  EXPECT_EQ(Selections(dt300()), Sel({1, 0, 0, 0, 1, 1, 1, 0, 0}));
  // The model only from the value's third character on; only the first -cb
  // counts, read as atoi does.
  EXPECT_EQ(ApplyCommandLine(session,
                             "x-pnXX300/310\t-pw58JP -pfRED -psNone -pr360abc "
                             "-cb9600x -cb19200 -cpLPT1 -ccodd -cfxon/xoff"),
            1);
  EXPECT_EQ(session.profile_index, 1);
  EXPECT_EQ(Selections(dt300()), Sel({2, 1, 1, 1, 2, 0, 1, 2, 1}));
}

TEST_F(CommandLineTest, PortPrefixSecondColourLongValuesAndShortNames) {
  // The first port that starts the rest of the line wins.
  dt200().ports.values = {"LPT1", "COM1 fast", "COM1", "0"};
  EXPECT_EQ(ApplyCommandLine(session, "-cpCOM1 fast -pw58"), 1);
  EXPECT_EQ(dt200().ports.sel, 1);
  // The second colour may not repeat the first, whether the first comes with
  // it or the profile had it already.
  EXPECT_EQ(ApplyCommandLine(session, "-pnDT300/310 -pfRed -psred"), 1);
  EXPECT_EQ(ApplyCommandLine(session, "-pnDT300/310 -psRED"), 1);
  EXPECT_EQ(std::pair(dt300().first_colors.sel, dt300().second_colors.sel), std::pair(1, 0));
  // A value counts up to 255 characters.
  const std::string long_name(255, 'c');
  dt300().parities.values = {"x", long_name, "0"};
  EXPECT_EQ(ApplyCommandLine(session, "-cc" + long_name + "ccc"), 1);
  EXPECT_EQ(dt300().parities.sel, 1);
  // A value of two characters is empty from its third, as "AB" is from its
  // fourth; a shorter one names nothing.
  dt200().model_name = "AB";
  EXPECT_EQ(ApplyCommandLine(session, "-pnZZ"), 1);
  EXPECT_EQ(session.profile_index, 0);
  EXPECT_EQ(ApplyCommandLine(session, "-pnA"), 0);
}

}  // namespace
}  // namespace inkmark
