#include "settings/printer_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "profile_fixture.h"
#include "support/private_cupsd.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using ::testing::ElementsAre;
using testing::ProfileFrom;

TEST(SplitList, RewritesInPlaceAndCountsTokensBeyondTheRoom) {
  char text[] = "A$B,C~D~,e,f";
  char* tokens[2] = {};
  ASSERT_EQ(SplitList(text, tokens), 4);
  EXPECT_STREQ(tokens[0], "A,B");
  EXPECT_STREQ(tokens[1], "C");
  EXPECT_STREQ(tokens[1] + 2, "D");  // the parts after "~" stay behind the token
  char empty[] = "";
  EXPECT_EQ(SplitList(empty, tokens), 1);
  EXPECT_EQ(tokens[0], empty);
}

TEST(SplitList, DoubleByteCharactersHideTheirSecondByteButNeverTheEnd) {
  // 0x82 leads a Shift-JIS character; the "," after it is its second byte.
  char sjis[] = "\x82,$,\x82~", western[] = "\x82,$,\x82~";
  char* tokens[4] = {};
  ASSERT_EQ(SplitList(sjis, tokens, 932), 2);
  EXPECT_STREQ(tokens[0], "\x82,,");
  EXPECT_STREQ(tokens[1], "\x82~");
  EXPECT_EQ(SplitList(western, tokens, kSystemCodePage), 3);
  // A lead byte right before the end must not step over the terminator.
  char trailing[] = "\x82\0,Z";
  EXPECT_EQ(SplitList(trailing, tokens, 932), 1);
}

TEST(ParseInt, ReadsLikeAtoiAndSaturates) {
  for (auto [text, value] :
       std::initializer_list<std::pair<const char*, std::int32_t>>{{" 12", 12},
                                                                   {"+7x", 7},
                                                                   {"-3", -3},
                                                                   {"abc", 0},
                                                                   {"", 0},
                                                                   {"99999999999", INT32_MAX},
                                                                   {"-99999999999", INT32_MIN},
                                                                   {"-2147483648", INT32_MIN}}) {
    EXPECT_EQ(ParseInt(text), value) << text;
  }
}

TEST(LoadPrinterProfile, FillsEveryListWithChoicesCountsAndDefaults) {
  PrinterProfile p = ProfileFrom(testing::kDt300File);
  EXPECT_EQ(p.model_name, "DT-300/310");
  EXPECT_THAT(p.paper_dots, ElementsAre(360, 512, 360));
  EXPECT_THAT(p.resolutions, ElementsAre(180, 360, 0));
  EXPECT_EQ(p.ports[3], "Corlane Printer Driver");
  EXPECT_EQ(std::vector({p.paper_width_count, p.second_color_count, p.resolution_count,
                         p.port_count, p.parity_count, p.flow_count}),
            std::vector({3, 2, 2, 4, 3, 2}));
  // The resolution list's extra element is kept but selects nothing.
  EXPECT_EQ(testing::Selections(p), std::vector({1, 0, 0, 0, 0, 1, 1, 0, 0}));
  EXPECT_EQ(PrintWidthDots(p), 512);
  EXPECT_EQ(ProfileFrom("[Spec]\nPrnName=x\nResolution=180,360,1\n").resolution_sel, 0);
}

TEST(LoadPrinterProfile, KeepsBlanksSplitsEscapesAndNeedsAModelName) {
  PrinterProfile p = ProfileFrom(
      "[Spec]\nPrnName=m\nPaperWidth=58mm, 80mm,0\n2ndColor=Red$Blue,0\n"
      "Port=COM1~serial,LPT1~,0\nParity=\n");
  EXPECT_THAT(p.paper_widths, ElementsAre("58mm", " 80mm", "0"));
  EXPECT_THAT(p.second_colors, ElementsAre("Red,Blue", "0"));
  EXPECT_THAT(p.ports, ElementsAre("COM1", "LPT1", "0"));
  // An empty or absent key is a list of no choices.
  EXPECT_THAT(p.parities, ElementsAre(""));
  EXPECT_THAT(p.baud_rates, ElementsAre(0));
  EXPECT_EQ(p.parity_count + p.parity_sel + p.flow_count, 0);

  PrinterProfile unnamed;
  unnamed.model_name = "kept";
  EXPECT_FALSE(LoadPrinterProfile(ProfileFile::Parse("[Spec]\nPrnName=\nPort=COM1,0\n"), unnamed));
  EXPECT_EQ(unnamed.model_name, "kept");
}

TEST(LoadPrinterProfile, BoundsLongHugeAndBinaryListsInsideTheRecord) {
  std::string many;
  for (int i = 0; i < 25; ++i) many += std::to_string(100 + i) + ",";
  PrinterProfile p = ProfileFrom(
      "[Spec]\nPrnName=" + std::string(10000, 'n') + "\nPaperWidth=" + many +
      "7\nBaudRate=" + many + "22\nPaperDot=" + many +
      "\n1stColor=Black,Red,-1\n2ndColor=Red,2\nFlow=a,b,x\nPort=" + std::string(10000, ',') +
      "\n");
  EXPECT_EQ(p.model_name.size(), kMaxProfileText);
  // 19 choices and the file's own last element as the default.
  ASSERT_EQ(p.paper_widths.size(), 20u);
  EXPECT_EQ(p.paper_widths[18] + "|" + p.paper_widths.back(), "118|7");
  EXPECT_EQ(std::pair(p.paper_width_count, p.paper_width_sel), std::pair(19, 7));
  EXPECT_EQ(std::pair(p.baud_rates.size(), p.baud_rates.back()), std::pair(20ul, 22));
  EXPECT_EQ(std::pair(p.paper_dots.size(), p.paper_dots.back()), std::pair(20ul, 119));
  EXPECT_EQ(std::pair(p.ports.size(), p.port_count), std::pair(20ul, 19));
  // 22 is past the 19 choices; -1, 2 and x are outside theirs.
  EXPECT_EQ(p.baud_sel + p.first_color_sel + p.second_color_sel + p.flow_sel, 0);

  // A NUL ends the value.
  EXPECT_THAT(ProfileFrom(std::string("[Spec]\nPrnName=g\nFlow=a\0,b,1\n", 29)).flows,
              ElementsAre("a"));
}

TEST(PrinterFiles, CountsAndLoadsNamedDefFilesInCaseBlindNameOrder) {
  testing::TempDir dir;
  dir.Write("c_third.Def", testing::kDt300File);
  dir.Write("B_second.def", "[Spec]\nPrnName=DT-250\n");
  dir.Write("a_first.DEF", testing::kDt200File);
  dir.Write("b_nameless.DEF", "[Spec]\nPaperWidth=58mm,0\n");
  dir.Write("d_other.ini", "[Spec]\nPrnName=not a printer file\n");
  dir.Write("e.DEFX", "[Spec]\nPrnName=not a printer file\n");
  std::filesystem::create_directory(dir.path() / "f_folder.DEF");

  ASSERT_EQ(CountPrinterFiles(dir.path()), 3);
  std::vector<PrinterProfile> profiles(7);
  ASSERT_EQ(LoadPrinterProfiles(3, profiles, dir.path()), 3);
  ASSERT_EQ(profiles.size(), 3u);
  EXPECT_EQ(profiles[0].model_name + "|" + profiles[1].model_name + "|" + profiles[2].model_name,
            "DT-200/210|DT-250|DT-300/310");
  EXPECT_EQ(profiles[2].paper_width_sel, 1);
  EXPECT_EQ(LoadPrinterProfiles(2, profiles, dir.path()), 2);
  EXPECT_EQ(profiles.back().model_name, "DT-250");
  EXPECT_EQ(LoadPrinterProfiles(0, profiles, dir.path()), 0);
  EXPECT_TRUE(profiles.empty());
  EXPECT_EQ(CountPrinterFiles(dir.path() / "missing"), 0);
}

TEST(CollectDriverNames, MatchesTheModelExactlyAndBoundsTheList) {
  const std::string long_name = "DT-300/310 " + std::string(80, 'x');
  std::vector<SpoolerPrinter> printers = {{"q1", "Corlane Printer Driver DT-300/310"},
                                          {"q2", "Corlane Printer Driver dt-300/310"},
                                          {"q3", "Other DT-200/210"},
                                          {"q4", long_name}};
  std::vector<std::string> names = {"stale"};
  ASSERT_EQ(CollectDriverNames("DT-300/310", printers, names), 2);
  EXPECT_THAT(names, ElementsAre("Corlane Printer Driver DT-300/310", long_name.substr(0, 49)));
  EXPECT_EQ(CollectDriverNames("DT-300/310", std::vector(30, printers[0]), names), 20);
  EXPECT_EQ(CollectDriverNames("DT-300/310", {}, names), 0);
}

using DriverNamesTest = testing::PrivateCupsdTest;

TEST_F(DriverNamesTest, ProfilesCollectTheSpoolerQueuesWhoseDriverNamesHoldTheirModel) {
  for (auto [queue, model] : {std::pair{"shop", "DT-300/310"}, std::pair{"lower", "dt-300/310"},
                              std::pair{"other", "DT-200/210"}}) {
    ASSERT_TRUE(cupsd_.AddQueue(queue, std::string("Corlane Printer Driver ") + model,
                                "socket://127.0.0.1:9"));
  }
  testing::TempDir program;
  program.Write("DT300.DEF", "[Spec]\nPrnName=DT-300/310\n");
  program.Write("DT350.DEF", "[Spec]\nPrnName=DT-350/360\n");
  std::vector<PrinterProfile> profiles;
  ASSERT_EQ(LoadPrinterProfiles(2, profiles, program.path()), 2);
  EXPECT_THAT(profiles[0].driver_names, ElementsAre("Corlane Printer Driver DT-300/310"));
  EXPECT_EQ(profiles[0].driver_count + profiles[1].driver_count, 1);
}

}  // namespace
}  // namespace inkmark
