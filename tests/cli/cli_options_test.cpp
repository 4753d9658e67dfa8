// The argument parser: what each command needs, and every value refused with
// a message that names it.
#include "cli/cli_options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "picture/picture_formats.h"

namespace inkmark::cli {
namespace {

ParseOutcome Parse(std::vector<std::string> args) { return ParseArguments(args); }

// The help names the picture types the tool reads, from the one table of them.
TEST(CliOptionsTest, HelpNamesEveryPictureTypeTheToolReads) {
  EXPECT_THAT(UsageText(), ::testing::HasSubstr("SOURCE is a picture (" + PictureExtensionList() +
                                                ") or a logo document"));
}

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

namespace inkmark::cli {
namespace {

TEST(CliOptionsTest, ManyPortsPassTheRestOnAndRefuseWhatCannotRunOnMany) {
  auto o = Parse({"--port", "COM1", "register", "--port=tcp://a", "-k", "AB", "--jobs", "2",
                  "--json", "--", "-b.bmp"});
  ASSERT_TRUE(o.options) << o.error;
  EXPECT_TRUE(o.options->many_printers());
  EXPECT_EQ(o.options->ports, (std::vector<std::string>{"COM1", "tcp://a"}));
  EXPECT_FALSE(o.options->printer.port);
  EXPECT_EQ(o.options->per_printer_args,
            (std::vector<std::string>{"register", "-k", "AB", "--", "-b.bmp"}));
  o = Parse({"keys", "--port", "COM2"});  // one port is the ordinary run
  ASSERT_TRUE(o.options);
  EXPECT_FALSE(o.options->many_printers());
  EXPECT_EQ(o.options->printer.port, "COM2");

  const std::pair<std::vector<std::string>, const char*> kCases[] = {
      {{"preview", "a.bmp", "--port", "COM1", "--port", "COM2"},
       "preview does not take more than one printer"},
      {{"keys", "--port", "COM1", "--printers-list", "p.txt"},
       "--port and --printers-list cannot be used together"},
      {{"keys", "--jobs", "2"}, "--jobs applies only to more than one printer"},
      {{"delete", "AB", "--printers-list", "p.txt"}, "delete on more than one printer needs --yes"},
      {{"test-print", "a.bmp", "--json"},
       "--json applies to printers, keys, capacity, preview, status, ledger and more than one "
       "printer"}};
  for (const auto& [args, error] : kCases) EXPECT_EQ(Parse(args).error, error);
  // Both ends of --jobs: no job at all would start no child and wait forever.
  for (const char* jobs : {"0", "65"}) {
    EXPECT_EQ(
        Parse({"keys", "--printers-list", "p", "--jobs", jobs}).error,
        std::string("invalid value '") + jobs + "' for --jobs: expected a number from 1 to 64");
  }
  for (const char* jobs : {"1", "64"}) {
    auto accepted = Parse({"keys", "--printers-list", "p", "--jobs", jobs});
    ASSERT_TRUE(accepted.options) << accepted.error;
    EXPECT_EQ(accepted.options->jobs, std::stoi(jobs));
  }
}

TEST(CliOptionsTest, PrintersListReadsPortsAndOptionsAndRefusesBadLinesByNumber) {
  std::string error;
  auto lines = ParsePrintersList(
      "# shop printers\r\n\ntcp://10.0.0.1  --printer \"DT 500\" --second=None\n"
      "\tCOM2\t--baud 9600\r\nCOM3",
      error);
  ASSERT_EQ(error, "");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].port, "tcp://10.0.0.1");
  EXPECT_EQ(lines[0].options,
            (std::vector<std::string>{"--printer", "DT 500", "--second", "None"}));
  EXPECT_EQ(lines[1].options, (std::vector<std::string>{"--baud", "9600"}));
  EXPECT_EQ(lines[2].port, "COM3");

  const std::pair<std::string, const char*> kBad[] = {
      {"COM1\nCOM2 --port COM3\n", "printers list line 2: unknown printer option '--port'"},
      {"COM1 --printer", "printers list line 1: option --printer needs a value"},
      {"COM1 --printer \"DT", "printers list line 1: a quote is not closed"},
      {"--baud 9600", "printers list line 1: a line must start with the printer's port"},
      {"COM1\n" + std::string(kMaxPrintersListLine + 1, 'x'),
       "printers list line 2: longer than 4096 characters"},
      {std::string("COM1\0", 5), "printers list line 1: a NUL character"},
      {"# none\n\n", "printers list line 2: the list names no printer"},
      {std::string(kMaxPrintersListBytes + 1, '\n'),
       "printers list line 0: the list is longer than 1 MiB"},
  };
  for (const auto& [text, want] : kBad) {
    EXPECT_TRUE(ParsePrintersList(text, error).empty());
    EXPECT_EQ(error, want);
  }
  std::string many;
  for (std::size_t i = 0; i <= kMaxPrintersListPrinters; ++i) many += "COM1\n";
  EXPECT_TRUE(ParsePrintersList(many, error).empty());
  EXPECT_EQ(error, "printers list line 4097: more than 4096 printers");
}

}  // namespace
}  // namespace inkmark::cli
