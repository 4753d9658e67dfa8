// The argument parser: what each command needs, and every value refused with
// a message that names it.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace inkmark::cli {
namespace {

ParseOutcome Parse(std::vector<std::string> args) { return ParseArguments(args); }

TEST(CliOptionsTest, ReadsValuesAndRefusesMalformedUnknownMissingRepeatedAndMisplacedOnes) {
  auto o = Parse({"register", "-k", " ~", "--resolution=360", "--mono", "2", "--rgb", "1,5,3",
                  "--attach", "manual:1,w,1,W,1,1,1,w", "--", "-odd.bmp"});
  ASSERT_TRUE(o.options) << o.error;
  const CliOptions& c = *o.options;
  EXPECT_EQ(c.source, "-odd.bmp");  // after "--" a SOURCE may begin with a dash
  EXPECT_EQ(c.key, MakeNvKey(' ', '~'));
  EXPECT_EQ((std::array{c.printer.resolution, c.conversion.mono}),
            (std::array<std::optional<int>, 2>{360, 2}));
  EXPECT_EQ(c.conversion.rgb, (std::array<int, 3>{1, 5, 3}));
  EXPECT_EQ(c.conversion.manual_levels, (LevelChoices{'1', 'w', '1', 'w', '1', '1', '1', 'w'}));

  for (std::string key : {"A", "", "ABC", "A\x7F", "\037A"}) {
    EXPECT_NE(Parse({"register", "a.bmp", "-k", key}).error.find("0x20 to 0x7E"), std::string::npos)
        << "key of " << key.size() << " bytes";
    EXPECT_NE(Parse({"print", key}).error.find("invalid key"), std::string::npos);
  }
  const std::pair<const char*, std::vector<const char*>> kBad[] = {
      {"--rgb", {"0,3,3", "6,3,3", "3,3", "3,3,3,3", "3,3,3,"}},
      {"--mono", {"0", "3", "1x"}},
      {"--baud", {"-9600", "99999999999999999999"}},
      {"--attach",
       {"manual:1,1,1,1,1,1,1", "manual:1,1,1,1,1,1,1,1,1", "manual:1,1,1,1,1,1,1,3", "Auto"}}};
  for (const auto& [option, values] : kBad) {
    for (const char* value : values)
      EXPECT_NE(Parse({"preview", "a.bmp", option, value}).error.find(option), std::string::npos)
          << option << " " << value;
  }
  const std::pair<std::vector<std::string>, const char*> kCases[] = {
      {{"preview", "a.bmp", "--grade", "fine", "--attach", "manual:1,1,1,1,1,1,1,w"},
       "--attach manual needs the coarse grade: manual levels apply to it only"},
      {{"preview", "a.bmp", "--mono", "1", "--attach", "manual:1,2,1,1,1,1,1,w"},
       "with --mono, each --attach level is 1 (the ink) or w (white)"},
      {{"keys", "--colour", "Red"}, "unknown option '--colour'"},
      {{"keys", "--printer"}, "option --printer needs a value"},
      {{"keys", "--paper", "58mm", "--paper", "80mm"}, "option --paper is given twice"},
      {{}, "no command given"},
      {{"keys", "AB"}, "keys takes no operands, but got 'AB'"},
      {{"register", "a.bmp"}, "register needs -k KEY"},
      {{"capacity", "--fit"}, "conversion options apply only to commands that take a SOURCE"}};
  for (const auto& [args, error] : kCases) EXPECT_EQ(Parse(args).error, error);
}

}  // namespace
}  // namespace inkmark::cli
