#include "settings/command_line.h"

#include <gtest/gtest.h>

#include "profile_fixture.h"

namespace inkmark {
namespace {

using testing::ProfileFrom;

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.profiles = {ProfileFrom(testing::kDt200File), ProfileFrom(testing::kDt300File)};
    session_.profile_count = 2;
  }
  const PrinterProfile& dt200() const { return session_.profiles[0]; }
  const PrinterProfile& dt300() const { return session_.profiles[1]; }
  // The selections of a profile, to see that nothing moved.
  static std::vector<std::int32_t> Selections(const PrinterProfile& p) {
    return {p.paper_width_sel, p.first_color_sel, p.second_color_sel, p.resolution_sel, p.port_sel,
            p.baud_sel,        p.bit_length_sel,  p.parity_sel,       p.flow_sel};
  }
  LogoSession session_;
};

TEST_F(CommandLineTest, PicksModelPaperWidthAndPort) {
  EXPECT_EQ(ApplyCommandLine(session_, "-pnDT300/310 -pw80 -cpCOM2"), 1);
  EXPECT_EQ(session_.profile_index, 1);
  EXPECT_EQ(dt300().paper_width_sel, 1);
  EXPECT_EQ(dt300().port_sel, 1);
}

TEST_F(CommandLineTest, PicksEveryOtherListByNameOrNumber) {
  auto line =
      "x-pnXX300/310\t-pw58JP -pfRED -psNone -pr360abc -cb9600x -cb19200 -ccodd -cfxon/xoff";
  EXPECT_EQ(ApplyCommandLine(session_, line), 1);
  EXPECT_EQ(session_.profile_index, 1);   // only from the value's third character on
  EXPECT_EQ(dt300().paper_width_sel, 2);  // 58mmJP
  EXPECT_EQ(dt300().first_color_sel, 1);
  EXPECT_EQ(dt300().second_color_sel, 1);
  EXPECT_EQ(dt300().resolution_sel, 1);
  EXPECT_EQ(dt300().baud_sel, 0);  // only the first -cb counts, read as atoi does
  EXPECT_EQ(dt300().parity_sel, 2);
  EXPECT_EQ(dt300().flow_sel, 1);
}

TEST_F(CommandLineTest, OptionsThatMatchNothingChangeNothing) {
  auto before = Selections(dt300());
  for (const char* line : {"", "-PNDT300/310 -PW80", "-pn -pw 80", "-pw58jp", "-pwP", "-pw",
                           "-pr999 -cb4800", "-ccNone0 -cfDTR", "-pnDT300/310x", "-pfRedish -cp"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ApplyCommandLine(session_, line), 0);
    EXPECT_EQ(session_.profile_index, 0);
  }
  EXPECT_EQ(Selections(dt300()), before);
  // Neither a list's default element nor a choice past the count takes part.
  EXPECT_EQ(ApplyCommandLine(session_, "-ps0 -cb0"), 0);
}

TEST_F(CommandLineTest, FirstPortWhoseNameStartsTheRestWins) {
  EXPECT_EQ(ApplyCommandLine(session_, "-cpcom10"), 1);
  EXPECT_EQ(dt200().port_sel, 0);  // COM1 comes first and starts "com10"
  session_.profiles[0].ports = {"LPT1", "COM1 fast", "COM1", "0"};
  session_.profiles[0].port_count = 3;
  EXPECT_EQ(ApplyCommandLine(session_, "-cpCOM1 fast -pw58"), 1);
  EXPECT_EQ(dt200().port_sel, 1);
}

TEST_F(CommandLineTest, SecondColourEqualToTheFirstIsIgnored) {
  EXPECT_EQ(ApplyCommandLine(session_, "-pnDT300/310 -pfRed -psred"), 1);
  EXPECT_EQ(dt300().first_color_sel, 1);
  EXPECT_EQ(dt300().second_color_sel, 0);
  // Also against the first colour the profile already had.
  EXPECT_EQ(ApplyCommandLine(session_, "-pnDT300/310 -psRED"), 1);
  EXPECT_EQ(dt300().second_color_sel, 0);
}

TEST_F(CommandLineTest, ShortNamesAndLongValues) {
  session_.profiles[0].model_name = "AB";
  // A value of two characters is empty from its third, as "AB" is from its fourth.
  EXPECT_EQ(ApplyCommandLine(session_, "-pnZZ"), 1);
  EXPECT_EQ(session_.profile_index, 0);
  session_.profile_index = 1;
  EXPECT_EQ(ApplyCommandLine(session_, "-pnA"), 0);
  EXPECT_EQ(session_.profile_index, 1);

  // A value counts up to 255 characters.
  std::string long_name(255, 'c');
  session_.profiles[1].parities = {"x", long_name, "0"};
  session_.profiles[1].parity_count = 2;
  EXPECT_EQ(ApplyCommandLine(session_, "-cc" + long_name + "ccc"), 1);
  EXPECT_EQ(dt300().parity_sel, 1);

  // A NUL ends the command line.
  EXPECT_EQ(ApplyCommandLine(session_, std::string_view("-pn\0-pw80", 9)), 0);

  LogoSession empty;
  EXPECT_EQ(ApplyCommandLine(empty, "-pnDT300/310 -pw80"), 0);
}

}  // namespace
}  // namespace inkmark
