// The argument parser: what each command needs, and every value refused with
// a message that names it.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace inkmark::cli {
namespace {

ParseOutcome Parse(std::vector<std::string> args) { return ParseArguments(args); }

// The error of a refused line, or "(accepted)".
std::string ErrorOf(std::vector<std::string> args) {
  ParseOutcome o = Parse(args);
  return o.options ? "(accepted)" : o.error;
}

TEST(CliOptionsTest, ReadsEachCommandWithItsOperandsAndValues) {
  auto o = Parse({"--fit", "command-file", "logo.bmp", "-k", "AB", "--output=out.bin"});
  ASSERT_TRUE(o.options) << o.error;
  EXPECT_EQ(o.options->command, Command::kCommandFile);
  EXPECT_EQ(o.options->source + "|" + o.options->output, "logo.bmp|out.bin");
  EXPECT_EQ(o.options->key, MakeNvKey('A', 'B'));
  EXPECT_TRUE(o.options->conversion.fit);
  o = Parse({"delete", "AB", " ~", "--yes"});
  ASSERT_TRUE(o.options && o.options->yes) << o.error;
  EXPECT_EQ(o.options->keys, (std::vector<NvKey>{MakeNvKey('A', 'B'), MakeNvKey(' ', '~')}));
  o = Parse({"preview", "--", "-odd.bmp"});  // after "--" a SOURCE may begin with a dash
  EXPECT_EQ(o.options->source, "-odd.bmp");

  o = Parse({"register", "a.jpg", "-k", "01", "--printer", "DT-500/510", "--resolution", "360",
             "--baud=9600", "--data-bits", "8", "--mono", "2", "--rgb", "1,5,3", "--attach",
             "manual:1,w,1,W,1,1,1,w"});
  ASSERT_TRUE(o.options) << o.error;
  const CliOptions& c = *o.options;
  EXPECT_EQ(c.printer.printer, "DT-500/510");
  EXPECT_EQ(
      (std::array{c.printer.resolution, c.printer.baud, c.printer.data_bits, c.conversion.mono}),
      (std::array<std::optional<int>, 4>{360, 9600, 8, 2}));
  EXPECT_EQ(c.conversion.rgb, (std::array<int, 3>{1, 5, 3}));
  EXPECT_EQ(c.conversion.manual_levels, (LevelChoices{'1', 'w', '1', 'w', '1', '1', '1', 'w'}));
  o = Parse({"preview", "a.qlf", "--grade", "fine", "--attach", "auto"});
  EXPECT_EQ(o.options->conversion.grade, 2);
  EXPECT_FALSE(o.options->conversion.manual_levels);
}

TEST(CliOptionsTest, RefusesMalformedValues) {
  for (std::string key : {"A", "", "ABC", "A\x7F", "\037A", "\x80\x81"}) {
    EXPECT_NE(ErrorOf({"register", "a.bmp", "-k", key}).find("0x20 to 0x7E"), std::string::npos)
        << "key of " << key.size() << " bytes";
    EXPECT_NE(ErrorOf({"print", key}).find("invalid key"), std::string::npos);
  }
  const std::pair<const char*, std::vector<const char*>> kBad[] = {
      {"--rgb", {"0,3,3", "6,3,3", "3,3", "3,3,3,3", "3,,3", "3, 3,3", "+3,3,3", "3,3,3,"}},
      {"--mono", {"0", "3", "-1", "1x", ""}},
      {"--baud", {"0", "-9600", "9600bps", "99999999999999999999", " 9600"}},
      {"--data-bits", {"4", "9"}},
      {"--grade", {"Coarse!"}},
      {"--attach",
       {"manual", "manual:", "manual:1,1,1,1,1,1,1", "manual:1,1,1,1,1,1,1,1,1",
        "manual:1,1,1,1,1,1,1,3", "manual:11,1,1,1,1,1,1", "manual:1;1;1;1;1;1;1;1", "Auto",
        "manual:1,1,1,1,1,1,1,1,"}}};
  for (const auto& [option, values] : kBad) {
    for (const char* value : values) {
      EXPECT_NE(ErrorOf({"preview", "a.bmp", option, value}).find(option), std::string::npos)
          << option << " " << value;
    }
  }
  const std::pair<std::vector<std::string>, const char*> kNamed[] = {
      {{"preview", "a.bmp", "--rgb", "0,3,3"}, "each level from 1 to 5"},
      // Manual levels belong to the coarse grade, and a monochrome logo has no 2nd colour.
      {{"preview", "a.bmp", "--grade", "fine", "--attach", "manual:1,1,1,1,1,1,1,w"}, "coarse"},
      {{"preview", "a.bmp", "--mono", "1", "--attach", "manual:1,2,1,1,1,1,1,w"}, "--mono"}};
  for (const auto& [args, part] : kNamed) {
    EXPECT_NE(ErrorOf(args).find(part), std::string::npos) << part;
  }
}

TEST(CliOptionsTest, RefusesUnknownMissingRepeatedAndMisplacedOptions) {
  const std::pair<std::vector<std::string>, const char*> kCases[] = {
      {{"keys", "--colour", "Red"}, "unknown option '--colour'"},
      {{"keys", "-x"}, "unknown option '-x'"},
      {{"keys", "--printer"}, "option --printer needs a value"},
      {{"keys", "--printer="}, "option --printer needs a non-empty value"},
      {{"keys", "--yes=1"}, "option --yes takes no value"},
      {{"keys", "--paper", "58mm", "--paper", "80mm"}, "option --paper is given twice"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{}, "no command given"},
      {{"keys", "AB"}, "keys takes no operands, but got 'AB'"},
      {{"raster", "a.bmp"}, "raster needs -o FILE"},
      {{"raster", "a.bmp", "b.bmp", "-o", "x"}, "raster takes exactly one SOURCE"},
      {{"register", "a.bmp"}, "register needs -k KEY"},
      {{"test-print", "a.bmp", "-k", "AB"}, "test-print takes no -k"},
      {{"preview", "a.bmp", "-o", "x"}, "preview takes no -o"},
      {{"print"}, "print needs at least one KEY"},
      {{"print", "AB", "--yes"}, "--yes applies to delete only"},
      {{"capacity", "--fit"}, "conversion options apply only to commands that take a SOURCE"}};
  for (const auto& [args, error] : kCases) EXPECT_EQ(ErrorOf(args), error);
}

}  // namespace
}  // namespace inkmark::cli
