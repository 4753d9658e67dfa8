// The argument parser: what each command needs, and every value refused
// with a message that names it.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace inkmark::cli {
namespace {

ParseOutcome Parse(std::initializer_list<const char*> args) {
  std::vector<std::string> v(args.begin(), args.end());
  return ParseArguments(v);
}

// The error of a refused line, or "(accepted)".
std::string ErrorOf(std::initializer_list<const char*> args) {
  ParseOutcome o = Parse(args);
  return o.options ? "(accepted)" : o.error;
}

TEST(CliOptionsTest, ReadsEachCommandWithItsOperands) {
  auto o = Parse({"--fit", "command-file", "logo.bmp", "-k", "AB", "--output=out.bin"});
  ASSERT_TRUE(o.options) << o.error;
  EXPECT_EQ(o.options->command, Command::kCommandFile);
  EXPECT_EQ(o.options->source, "logo.bmp");
  EXPECT_EQ(o.options->output, "out.bin");
  EXPECT_EQ(o.options->key, MakeNvKey('A', 'B'));
  EXPECT_TRUE(o.options->conversion.fit);

  o = Parse({"delete", "AB", " ~", "--yes"});
  ASSERT_TRUE(o.options) << o.error;
  EXPECT_EQ(o.options->keys, (std::vector<NvKey>{MakeNvKey('A', 'B'), MakeNvKey(' ', '~')}));
  EXPECT_TRUE(o.options->yes);

  // After "--" a SOURCE may begin with a dash.
  o = Parse({"preview", "--", "-odd.bmp"});
  ASSERT_TRUE(o.options) << o.error;
  EXPECT_EQ(o.options->source, "-odd.bmp");

  o = Parse({"--help"});
  ASSERT_TRUE(o.options);
  EXPECT_TRUE(o.options->help);
}

TEST(CliOptionsTest, ReadsPrinterAndConversionValues) {
  auto o = Parse({"register", "a.jpg", "-k", "01", "--printer", "DT-500/510", "--resolution", "360",
                  "--baud=9600", "--data-bits", "8", "--parity", "Even", "--mono", "2", "--rgb",
                  "1,5,3", "--attach", "manual:1,w,1,W,1,1,1,w"});
  ASSERT_TRUE(o.options) << o.error;
  const CliOptions& c = *o.options;
  EXPECT_EQ(c.printer.printer, "DT-500/510");
  EXPECT_EQ(c.printer.resolution, 360);
  EXPECT_EQ(c.printer.baud, 9600);
  EXPECT_EQ(c.printer.data_bits, 8);
  EXPECT_EQ(c.conversion.mono, 2);
  EXPECT_EQ(c.conversion.rgb, (std::array<int, 3>{1, 5, 3}));
  ASSERT_TRUE(c.conversion.manual_levels);
  EXPECT_EQ(*c.conversion.manual_levels, (LevelChoices{'1', 'w', '1', 'w', '1', '1', '1', 'w'}));

  o = Parse({"preview", "a.qlf", "--grade", "fine", "--attach", "auto"});
  ASSERT_TRUE(o.options) << o.error;
  EXPECT_EQ(o.options->conversion.grade, 2);
  EXPECT_FALSE(o.options->conversion.manual_levels);
}

TEST(CliOptionsTest, RefusesMalformedKeys) {
  for (const char* key : {"A", "", "ABC", "A\x7F",
                          "\x1F"
                          "A",
                          "\x80\x81"}) {
    EXPECT_NE(ErrorOf({"register", "a.bmp", "-k", key}).find("0x20 to 0x7E"), std::string::npos)
        << "key of " << std::string(key).size() << " bytes";
    EXPECT_NE(ErrorOf({"print", key}).find("invalid key"), std::string::npos);
  }
}

TEST(CliOptionsTest, RefusesNumbersOutOfRangeOrNotWhole) {
  EXPECT_NE(ErrorOf({"preview", "a.bmp", "--rgb", "0,3,3"}).find("each level from 1 to 5"),
            std::string::npos);
  for (const char* rgb : {"6,3,3", "3,3", "3,3,3,3", "3,,3", "3, 3,3", "+3,3,3", "3,3,3,"})
    EXPECT_NE(ErrorOf({"preview", "a.bmp", "--rgb", rgb}), "(accepted)") << rgb;
  for (const char* mono : {"0", "3", "-1", "1x", ""})
    EXPECT_NE(ErrorOf({"preview", "a.bmp", "--mono", mono}), "(accepted)") << mono;
  for (const char* baud : {"0", "-9600", "9600bps", "99999999999999999999", " 9600"})
    EXPECT_NE(ErrorOf({"keys", "--baud", baud}), "(accepted)") << baud;
  EXPECT_NE(ErrorOf({"keys", "--data-bits", "9"}).find("from 5 to 8"), std::string::npos);
  EXPECT_NE(ErrorOf({"preview", "a.bmp", "--grade", "Coarse!"}).find("coarse, middle or fine"),
            std::string::npos);
}

TEST(CliOptionsTest, RefusesAttachLevelsThatAreNotEightOfOneTwoOrWhite) {
  for (const char* attach :
       {"manual", "manual:", "manual:1,1,1,1,1,1,1", "manual:1,1,1,1,1,1,1,1,1",
        "manual:1,1,1,1,1,1,1,3", "manual:11,1,1,1,1,1,1", "manual:1;1;1;1;1;1;1;1", "Auto",
        "manual:1,1,1,1,1,1,1,1,"})
    EXPECT_NE(ErrorOf({"preview", "a.bmp", "--attach", attach}), "(accepted)") << attach;
  // Manual levels belong to the coarse grade, and a monochrome logo has no 2nd colour.
  EXPECT_NE(ErrorOf({"preview", "a.bmp", "--grade", "fine", "--attach", "manual:1,1,1,1,1,1,1,w"})
                .find("coarse"),
            std::string::npos);
  EXPECT_NE(ErrorOf({"preview", "a.bmp", "--mono", "1", "--attach", "manual:1,2,1,1,1,1,1,w"})
                .find("--mono"),
            std::string::npos);
}

TEST(CliOptionsTest, RefusesUnknownMissingRepeatedAndMisplacedOptions) {
  EXPECT_EQ(ErrorOf({"keys", "--colour", "Red"}), "unknown option '--colour'");
  EXPECT_EQ(ErrorOf({"keys", "-x"}), "unknown option '-x'");
  EXPECT_EQ(ErrorOf({"keys", "--printer"}), "option --printer needs a value");
  EXPECT_EQ(ErrorOf({"keys", "--printer="}), "option --printer needs a non-empty value");
  EXPECT_EQ(ErrorOf({"keys", "--yes=1"}), "option --yes takes no value");
  EXPECT_EQ(ErrorOf({"keys", "--paper", "58mm", "--paper", "80mm"}),
            "option --paper is given twice");
  EXPECT_EQ(ErrorOf({"frobnicate"}), "unknown command 'frobnicate'");
  EXPECT_EQ(ErrorOf({}), "no command given");
  EXPECT_EQ(ErrorOf({"keys", "AB"}), "keys takes no operands, but got 'AB'");
  EXPECT_EQ(ErrorOf({"raster", "a.bmp"}), "raster needs -o FILE");
  EXPECT_EQ(ErrorOf({"raster", "a.bmp", "b.bmp", "-o", "x"}), "raster takes exactly one SOURCE");
  EXPECT_EQ(ErrorOf({"register", "a.bmp"}), "register needs -k KEY");
  EXPECT_EQ(ErrorOf({"test-print", "a.bmp", "-k", "AB"}), "test-print takes no -k");
  EXPECT_EQ(ErrorOf({"preview", "a.bmp", "-o", "x"}), "preview takes no -o");
  EXPECT_EQ(ErrorOf({"print"}), "print needs at least one KEY");
  EXPECT_EQ(ErrorOf({"print", "AB", "--yes"}), "--yes applies to delete only");
  EXPECT_EQ(ErrorOf({"capacity", "--fit"}),
            "conversion options apply only to commands that take a SOURCE");
}

}  // namespace
}  // namespace inkmark::cli
