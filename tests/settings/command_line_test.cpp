#include "settings/command_line.h"

#include <gtest/gtest.h>

#include "profile_fixture.h"

namespace inkmark {
namespace {

using testing::ProfileFrom;
using testing::Selections;
using Sel = std::vector<std::int32_t>;
using namespace std::string_view_literals;

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.profiles = {ProfileFrom(testing::kDt200File), ProfileFrom(testing::kDt300File)};
    session_.profile_count = 2;
  }
  PrinterProfile& dt200() { return session_.profiles[0]; }
  PrinterProfile& dt300() { return session_.profiles[1]; }
  LogoSession session_;
};

TEST_F(CommandLineTest, PicksModelAndEveryListByNameOrNumber) {
  EXPECT_EQ(ApplyCommandLine(session_, "-pnDT300/310 -pw80 -cpCOM2"), 1);
  EXPECT_EQ(session_.profile_index, 1);
  EXPECT_EQ(Selections(dt300()), (Sel{1, 0, 0, 0, 1, 1, 1, 0, 0}));

  // The model only from the value's third character on; only the first -cb
  // counts, read as atoi does.
  EXPECT_EQ(ApplyCommandLine(session_,
                             "x-pnXX300/310\t-pw58JP -pfRED -psNone -pr360abc "
                             "-cb9600x -cb19200 -cpLPT1 -ccodd -cfxon/xoff"),
            1);
  EXPECT_EQ(session_.profile_index, 1);
  EXPECT_EQ(Selections(dt300()), (Sel{2, 1, 1, 1, 2, 0, 1, 2, 1}));
}

TEST_F(CommandLineTest, OptionsThatMatchNothingChangeNothing) {
  const Sel before = Selections(dt300());
  for (std::string_view line :
       {""sv, "-PNDT300/310 -PW80"sv, "-pn -pw 80"sv, "-pw58jp"sv, "-pwP"sv, "-pw"sv,
        "-pr999 -cb4800"sv, "-ccNone0 -cfDTR"sv, "-pnDT300/310x"sv, "-pfRedish -cp"sv,
        "-ps0 -cb0"sv,      // neither a list's default element nor a choice past the count
        "-pn\0-pw80"sv}) {  // a NUL ends the command line
    SCOPED_TRACE(line);
    EXPECT_EQ(ApplyCommandLine(session_, line), 0);
    EXPECT_EQ(session_.profile_index, 0);
  }
  EXPECT_EQ(Selections(dt300()), before);
  LogoSession empty;
  EXPECT_EQ(ApplyCommandLine(empty, "-pnDT300/310 -pw80"), 0);
}

TEST_F(CommandLineTest, FirstPortStartingTheRestWinsAndSecondColourMayNotRepeatTheFirst) {
  EXPECT_EQ(ApplyCommandLine(session_, "-cpcom10"), 1);
  EXPECT_EQ(dt200().port_sel, 0);  // COM1 comes first and starts "com10"
  dt200().ports = {"LPT1", "COM1 fast", "COM1", "0"};
  dt200().port_count = 3;
  EXPECT_EQ(ApplyCommandLine(session_, "-cpCOM1 fast -pw58"), 1);
  EXPECT_EQ(dt200().port_sel, 1);

  // Whether the first colour comes with it or the profile had it already.
  EXPECT_EQ(ApplyCommandLine(session_, "-pnDT300/310 -pfRed -psred"), 1);
  EXPECT_EQ(ApplyCommandLine(session_, "-pnDT300/310 -psRED"), 1);
  EXPECT_EQ(std::pair(dt300().first_color_sel, dt300().second_color_sel), std::pair(1, 0));
}

TEST_F(CommandLineTest, ShortNamesAndLongValues) {
  dt200().model_name = "AB";
  // A value of two characters is empty from its third, as "AB" is from its fourth.
  EXPECT_EQ(ApplyCommandLine(session_, "-pnZZ"), 1);
  EXPECT_EQ(session_.profile_index, 0);
  session_.profile_index = 1;
  EXPECT_EQ(ApplyCommandLine(session_, "-pnA"), 0);
  EXPECT_EQ(session_.profile_index, 1);

  // A value counts up to 255 characters.
  std::string long_name(255, 'c');
  dt300().parities = {"x", long_name, "0"};
  dt300().parity_count = 2;
  EXPECT_EQ(ApplyCommandLine(session_, "-cc" + long_name + "ccc"), 1);
  EXPECT_EQ(dt300().parity_sel, 1);
}

}  // namespace
}  // namespace inkmark
