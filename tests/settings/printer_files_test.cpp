#include "settings/printer_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

#include "profile_fixture.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using ::testing::ElementsAre;
using testing::ProfileFrom;

// A heap copy of exactly the given bytes, so that a read past them is caught.
std::unique_ptr<char[]> Buffer(std::string_view bytes) {
  auto buffer = std::make_unique<char[]>(bytes.size());
  std::memcpy(buffer.get(), bytes.data(), bytes.size());
  return buffer;
}

TEST(SplitList, DollarTildeAndCommaRewriteTheTextInPlace) {
  auto text = Buffer(std::string_view("A$B,C~D~\0", 9));
  char* tokens[4] = {};
  ASSERT_EQ(SplitList(text.get(), tokens), 2);
  EXPECT_STREQ(tokens[0], "A,B");
  EXPECT_STREQ(tokens[1], "C");
  // The parts after "~" stay behind the token: "D", then an empty part.
  EXPECT_STREQ(tokens[1] + 2, "D");
  EXPECT_STREQ(tokens[1] + 4, "");

  auto empty = Buffer(std::string_view("\0", 1));
  EXPECT_EQ(SplitList(empty.get(), tokens), 1);
  EXPECT_EQ(tokens[0], empty.get());
}

TEST(SplitList, CountsTokensBeyondTheRoomButStoresOnlyWhatFits) {
  char text[] = "a,b,c,d";
  char* tokens[2] = {};
  EXPECT_EQ(SplitList(text, tokens), 4);
  EXPECT_STREQ(tokens[0], "a");
  EXPECT_STREQ(tokens[1], "b");
  char none[] = "x,y";
  EXPECT_EQ(SplitList(none, std::span<char*>{}), 2);
}

TEST(SplitList, DoubleByteCharactersHideTheirSecondByte) {
  // 0x82 leads a Shift-JIS character; the "," after it is its second byte.
  char sjis[] = "\x82,$,\x82~";
  char* tokens[4] = {};
  ASSERT_EQ(SplitList(sjis, tokens, 932), 2);
  EXPECT_STREQ(tokens[0], "\x82,,");
  EXPECT_STREQ(tokens[1], "\x82~");

  char western[] = "\x82,$,\x82~";
  EXPECT_EQ(SplitList(western, tokens, kSystemCodePage), 3);

  // A lead byte right before the end must not step over the terminator onto
  // the bytes behind it.
  auto trailing = Buffer(std::string_view("\x82\0,Z\0", 5));
  EXPECT_EQ(SplitList(trailing.get(), tokens, 932), 1);
}

TEST(SplitNumbers, ConvertsLikeAtoiAndSaturates) {
  char text[] = " 12, -3,+7x,abc,,99999999999,-99999999999";
  std::int32_t values[8] = {};
  ASSERT_EQ(SplitNumbers(text, values), 7);
  EXPECT_THAT(std::span(values, 7), ElementsAre(12, -3, 7, 0, 0, INT32_MAX, INT32_MIN));

  char more[] = "1,2,3";
  std::int32_t two[2] = {};
  EXPECT_EQ(SplitNumbers(more, two), 3);
  EXPECT_THAT(two, ElementsAre(1, 2));
}

TEST(LoadPrinterProfile, FillsEveryListWithChoicesCountsAndDefaults) {
  PrinterProfile p = ProfileFrom(testing::kDt300File);
  EXPECT_EQ(p.model_name, "DT-300/310");
  EXPECT_THAT(p.paper_widths, ElementsAre("58mm", "80mm", "58mmJP", "1"));
  EXPECT_EQ(p.paper_width_count, 3);
  EXPECT_EQ(p.paper_width_sel, 1);
  EXPECT_THAT(p.paper_dots, ElementsAre(360, 512, 360));
  EXPECT_THAT(p.second_colors, ElementsAre("Red", "None", "0"));
  EXPECT_EQ(p.second_color_count, 2);
  // The resolution list's extra element is kept but selects nothing.
  EXPECT_THAT(p.resolutions, ElementsAre(180, 360, 0));
  EXPECT_EQ(p.resolution_count, 2);
  EXPECT_EQ(p.port_count, 4);
  EXPECT_EQ(p.ports[3], "Corlane Printer Driver");
  EXPECT_THAT(p.baud_rates, ElementsAre(9600, 19200, 1));
  EXPECT_EQ(p.baud_sel, 1);
  EXPECT_EQ(p.bit_length_sel, 1);
  EXPECT_EQ(p.parity_count, 3);
  EXPECT_EQ(p.flow_count, 2);
  EXPECT_EQ(PrintWidthDots(p), 512);

  PrinterProfile resolution = ProfileFrom("[Spec]\nPrnName=x\nResolution=180,360,1\n");
  EXPECT_EQ(resolution.resolution_sel, 0);
}

TEST(LoadPrinterProfile, KeepsBlanksAndSplitsEscapesAndEmptyValues) {
  PrinterProfile p = ProfileFrom(
      "[Spec]\nPrnName=m\nPaperWidth=58mm, 80mm,0\n2ndColor=Red$Blue,0\n"
      "Port=COM1~serial,LPT1~,0\nParity=\n");
  EXPECT_THAT(p.paper_widths, ElementsAre("58mm", " 80mm", "0"));
  EXPECT_THAT(p.second_colors, ElementsAre("Red,Blue", "0"));
  EXPECT_THAT(p.ports, ElementsAre("COM1", "LPT1", "0"));
  // An empty or absent key is a list of no choices.
  EXPECT_EQ(p.parity_count, 0);
  EXPECT_EQ(p.parity_sel, 0);
  EXPECT_THAT(p.parities, ElementsAre(""));
  EXPECT_EQ(p.flow_count, 0);
  EXPECT_THAT(p.baud_rates, ElementsAre(0));
  EXPECT_TRUE(p.paper_dots == std::vector<std::int32_t>{0});

  PrinterProfile unnamed;
  unnamed.model_name = "kept";
  EXPECT_FALSE(LoadPrinterProfile(ProfileFile::Parse("[Spec]\nPrnName=\nPort=COM1,0\n"), unnamed));
  EXPECT_EQ(unnamed.model_name, "kept");
}

TEST(LoadPrinterProfile, BoundsLongListsAndDefaultsOutsideTheChoices) {
  std::string many, dots;
  for (int i = 0; i < 25; ++i) many += std::to_string(i) + ",";
  for (int i = 0; i < 25; ++i) dots += std::to_string(100 + i) + ",";
  PrinterProfile p = ProfileFrom("[Spec]\nPrnName=m\nPaperWidth=" + many + "7\nBaudRate=" + many +
                                 "22\nPaperDot=" + dots +
                                 "\n1stColor=Black,Red,-1\n"
                                 "2ndColor=Red,2\nFlow=a,b,x\n");
  // 19 choices and the file's own last element as the default.
  ASSERT_EQ(p.paper_widths.size(), 20u);
  EXPECT_EQ(p.paper_width_count, 19);
  EXPECT_EQ(p.paper_widths[18], "18");
  EXPECT_EQ(p.paper_widths.back(), "7");
  EXPECT_EQ(p.paper_width_sel, 7);
  ASSERT_EQ(p.baud_rates.size(), 20u);
  EXPECT_EQ(p.baud_rates.back(), 22);
  EXPECT_EQ(p.baud_sel, 0);  // 22 is past the 19 choices
  ASSERT_EQ(p.paper_dots.size(), 20u);
  EXPECT_EQ(p.paper_dots.back(), 119);
  EXPECT_EQ(p.first_color_sel, 0);
  EXPECT_EQ(p.second_color_sel, 0);
  EXPECT_EQ(p.flow_sel, 0);
}

TEST(LoadPrinterProfile, HugeAndBinaryValuesStayInsideTheRecord) {
  PrinterProfile p = ProfileFrom("[Spec]\nPrnName=" + std::string(10000, 'n') +
                                 "\nPort=" + std::string(10000, ',') + "\n");
  EXPECT_EQ(p.model_name.size(), kMaxProfileText);
  EXPECT_EQ(p.ports.size(), 20u);
  EXPECT_EQ(p.port_count, 19);

  std::string garbage = "[Spec]\nPrnName=g\n";
  for (const char* key : {"PaperWidth=", "PaperDot=", "Resolution=", "Parity=", "BitLength="}) {
    garbage += key;
    for (int i = 0; i < 300; ++i) garbage.push_back(char((i * 151 + 7) % 256));
    garbage += "\n";
  }
  garbage += std::string("Flow=a\0,b,1\n", 12);
  PrinterProfile g = ProfileFrom(garbage);
  EXPECT_THAT(g.flows, ElementsAre("a"));  // a NUL ends the value
  for (auto [count, sel, size] :
       {std::tuple(g.paper_width_count, g.paper_width_sel, g.paper_widths.size()),
        std::tuple(g.parity_count, g.parity_sel, g.parities.size()),
        std::tuple(g.bit_length_count, g.bit_length_sel, g.bit_lengths.size())}) {
    EXPECT_EQ(std::size_t(count) + 1, size);
    EXPECT_LE(size, 20u);
    EXPECT_TRUE(sel == 0 || (sel > 0 && sel < count));
  }
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
  EXPECT_EQ(profiles[0].model_name, "DT-200/210");
  EXPECT_EQ(profiles[1].model_name, "DT-250");
  EXPECT_EQ(profiles[2].model_name, "DT-300/310");
  EXPECT_EQ(profiles[2].paper_width_sel, 1);

  EXPECT_EQ(LoadPrinterProfiles(2, profiles, dir.path()), 2);
  EXPECT_EQ(profiles.back().model_name, "DT-250");
  EXPECT_EQ(LoadPrinterProfiles(0, profiles, dir.path()), 0);
  EXPECT_TRUE(profiles.empty());
  EXPECT_EQ(CountPrinterFiles(dir.path() / "missing"), 0);
}

TEST(CollectDriverNames, MatchesTheModelExactlyAndBoundsTheList) {
  std::vector<SpoolerPrinter> printers = {
      {"q1", "Corlane Printer Driver DT-300/310"},
      {"q2", "Corlane Printer Driver dt-300/310"},
      {"q3", "Other DT-200/210"},
      {"q4", "DT-300/310 " + std::string(80, 'x')},
  };
  std::vector<std::string> names = {"stale"};
  ASSERT_EQ(CollectDriverNames("DT-300/310", printers, names), 2);
  EXPECT_EQ(names[0], "Corlane Printer Driver DT-300/310");
  EXPECT_EQ(names[1], ("DT-300/310 " + std::string(80, 'x')).substr(0, 49));

  std::vector<SpoolerPrinter> crowd(30, {"q", "DT-300/310"});
  EXPECT_EQ(CollectDriverNames("DT-300/310", crowd, names), 20);
  EXPECT_EQ(CollectDriverNames("DT-300/310", {}, names), 0);
}

}  // namespace
}  // namespace inkmark
