// The built program end to end: every command against the virtual printer
// behind a pseudo-terminal on COM1, and against files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "cli/inkmark_on_com1.h"
#include "document/logo_raster.h"
#include "servers.h"
#include "support/compose_fixture.h"
#include "support/german_locale.h"
#include "support/pty_printer.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

class InkmarkRunTest : public InkmarkOnCom1Test {
 protected:
  void ExpectFailure(const std::vector<std::string>& args, int status, const std::string& message) {
    const ToolResult r = Run(args, false);
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_THAT(r.err, ::testing::HasSubstr(message));
  }
  // The printer reads on its own thread: what the port sent may still be on its way.
  std::size_t WaitForPrinted(std::size_t count) {
    for (int i = 0; i < 200 && printer.Printed().size() < count; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return printer.Printed().size();
  }
  long Capacity() { return std::strtol(Run({"capacity"}).out.c_str(), nullptr, 10); }
};

TEST_F(InkmarkRunTest, EveryPrinterCommandAndPreviewAndRasterOfAPictureOrADocument) {
  const long before = Capacity();
  ASSERT_EQ(Run({"register", "black.bmp", "-k", "AB"}).status, 0);
  EXPECT_EQ(Run({"keys"}).out, "AB\n");
  EXPECT_LT(Capacity(), before);
  ToolResult r = Run({"register", "black.bmp", "-k", "AB"});
  EXPECT_EQ(std::to_string(r.status) + r.err, "1inkmark: Specified key already exists.\n");
  EXPECT_EQ(Run({"print", "AB"}).status, 0);
  EXPECT_EQ(WaitForPrinted(1), 1u);

  // Nobody at a terminal to ask: the key stays and the run fails.
  r = Run({"delete", "AB"});
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, ::testing::HasSubstr("Do you want to delete NV graphics \"AB\" ?"));
  EXPECT_EQ(printer.Keys().size(), 1u);
  EXPECT_EQ(Run({"delete", "--yes", "AB"}).status, 0);
  r = Run({"keys"});
  EXPECT_EQ(std::to_string(r.status) + r.out + "|" + r.err,
            "0|inkmark: No Key code exist in NV graphics.\n");

  ASSERT_EQ(Run({"test-print", "black.bmp"}).status, 0);
  EXPECT_EQ(WaitForPrinted(2), 2u);
  r = Run({"preview", "black.bmp"});
  EXPECT_EQ(r.out, "Size:1.13x0.28mm(8x2dot), Ink rate:1st=100.00% 2nd=0.00%\n") << r.err;
  ASSERT_EQ(Run({"raster", "black.bmp", "-o", "out.bmp", "--fit"}).status, 0);
  const std::string bytes = Read("out.bmp");
  auto raster = LogoRaster::FromFile(BitmapFile(bytes.begin(), bytes.end()));
  ASSERT_TRUE(raster);
  EXPECT_EQ((std::array<int, 2>{raster->width(), raster->bits_per_pixel()}), (std::array{512, 1}));

  ASSERT_TRUE(SaveLogoDocument((work.path() / "logo.qlf").string(), 64, 16,
                               {ImageObject(0, 0, 32, 16, SolidBitmap(32, 16, kBlack24)),
                                TextObject(34, 15, "A", "Arial", -14, 0)}));
  r = Run({"preview", "logo.qlf"}, true, /*display=*/false);
  EXPECT_EQ(r.out.rfind("Size:9.03x2.26mm(64x16dot), Ink rate:1st=", 0), 0u) << r.err;
  // Composing a document starts the window toolkit, which takes the user's
  // locale; the numbers keep their points.
  if (GermanLocale german; german.built()) {
    setenv("LC_ALL", german.kName, 1);
    r = Run({"preview", "logo.qlf"});
    unsetenv("LC_ALL");
    EXPECT_EQ(r.out.rfind("Size:9.03x2.26mm(64x16dot), Ink rate:1st=", 0), 0u) << r.err;
  }
}

TEST_F(InkmarkRunTest, CommandFileIsByteExactPrintersListsAndBadChoicesFailWithTheToolsMessages) {
  ToolResult r = Run({"command-file", "black.bmp", "-k", "AB", "-o", "logo.bin"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string expected = {
      '\x1D', '\x38', '\x4C', '\x0D', '\x00', '\x00', '\x00',  // define, 3 + 10 bytes follow
      '\x30', '\x43', '\x30', 'A',    'B',    '\x01',          // raster form, key, one block
      '\x08', '\x00', '\x02', '\x00', '\x31',                  // 8 x 2 dots, the 1st colour
      '\xFF', '\xFF'};                                         // the two rows
  EXPECT_EQ(Read("logo.bin"), expected);
  EXPECT_TRUE(printer.Keys().empty()) << "a command file talks to no printer";

  ExpectFailure({"--printer", "DT-500/510", "--paper", "99mm", "keys"}, 2,
                "inkmark: DT-500/510 offers no paper '99mm'; the choices are: 58mm, 80mm\n"
                "Try 'inkmark --help' for more information.\n");
  ExpectFailure({"preview", "missing.bmp"}, 1, "SOURCE 'missing.bmp' is not a readable file\n");
  work.Write("broken.bmp", "BM this is no bitmap");
  ExpectFailure({"preview", "broken.bmp"}, 1,
                "The specified image file cannot be read.\n"
                "inkmark: The file may be corrupted, or the image format may not be supported.\n"
                "inkmark: bitmap: ");
  ExpectFailure({"--port", "COM3", "print", "AB", "CD"}, 1,
                "inkmark: Failed to print of NV graphics \"AB\" .\n"
                "inkmark: /dev/ttyS2: No such file or directory\n"
                "inkmark: Failed to print of NV graphics \"CD\" .\n"
                "inkmark: /dev/ttyS2: No such file or directory\n");
  std::filesystem::create_directories(work.path() / "empty");
  ExpectFailure({"--printers-dir", "empty", "keys"}, 1,
                "Printer information file(*.DEF) is missing.");
  ExpectFailure({"command-file", "black.bmp", "-k", "AB", "-o", "no/such/dir/x.bin"}, 1,
                "inkmark: cannot write 'no/such/dir/x.bin': it cannot be created or replaced\n");
  r = Run({"printers"}, false);
  EXPECT_EQ(r.out.rfind("DT-200/210*\n  paper:       58mm, 80mm*\n", 0), 0u) << r.out << r.err;
}

// Whatever fails, the file -o names stays byte for byte, and only a regular
// file is ever replaced.
TEST_F(InkmarkRunTest, AFailedOutputLeavesTheDestinationAsItWasAndOnlyAFileIsReplaced) {
  const auto tall = SolidBitmap(8, 2400, kBlack24);  // taller than a logo may be
  const std::string tall_bytes(tall.begin(), tall.end());
  work.Write("tall.bmp", tall_bytes);
  work.Write("keep.bin", "precious");
  ToolResult r = Run({"command-file", "tall.bmp", "-k", "AB", "-o", "keep.bin"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_THAT(r.err, ::testing::HasSubstr("up to [2304]dot"));
  EXPECT_EQ(Read("keep.bin"), "precious");
  EXPECT_EQ(Run({"command-file", "tall.bmp", "-k", "AB", "-o", "tall.bmp"}).status, 2);
  EXPECT_TRUE(Read("tall.bmp") == tall_bytes) << "the source as destination was changed";
  work.Write("broken.bmp", "BM no bitmap");
  EXPECT_EQ(Run({"raster", "broken.bmp", "-o", "broken.bmp"}).status, 2);
  EXPECT_EQ(Read("broken.bmp"), "BM no bitmap");

  // A FIFO would hang an in-place write; a folder or a device is no file to replace.
  ASSERT_EQ(::mkfifo((work.path() / "pipe").c_str(), 0600), 0);
  std::filesystem::create_directory(work.path() / "folder");
  for (const std::string& target :
       {std::string("pipe"), std::string("folder"), std::string("/dev/full")}) {
    for (bool command_file : {false, true}) {
      r = command_file ? Run({"command-file", "black.bmp", "-k", "AB", "-o", target})
                       : Run({"raster", "black.bmp", "-o", target});
      EXPECT_EQ(r.status, 1) << command_file << " " << target;
      EXPECT_THAT(r.err,
                  ::testing::HasSubstr("cannot write '" + target + "': it is not a regular file"));
    }
  }
  EXPECT_TRUE(std::filesystem::is_fifo(work.path() / "pipe"));
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
  EXPECT_TRUE(std::filesystem::is_empty(work.path() / "folder"));

  // Success replaces the file whole.
  ASSERT_EQ(Run({"raster", "black.bmp", "-o", "keep.bin"}).status, 0);
  EXPECT_EQ(Read("keep.bin").substr(0, 2), "BM");
  for (const auto& entry : std::filesystem::directory_iterator(work.path()))
    EXPECT_NE(entry.path().filename().string().rfind(".~", 0), 0u) << entry.path();
}

// A folder planted under the usual temporary name does not stop the tool; only
// when no private folder can be made does it fail, naming the folder.
TEST_F(InkmarkRunTest, ABlockedTemporaryFolderIsReplacedOrNamedWhenNoneCanBeMade) {
  const std::string usual = "inkmark-" + std::to_string(::getuid());
  std::filesystem::create_directory(work.path() / usual);
  std::filesystem::permissions(work.path() / usual, std::filesystem::perms::all);
  ToolResult r = Run({"preview", "black.bmp"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Size:", 0), 0u);
  for (const auto& entry : std::filesystem::directory_iterator(work.path()))
    EXPECT_NE(entry.path().filename().string().rfind(usual + "-", 0), 0u)
        << entry.path() << " outlived the run";

  tmpdir = (work.path() / "missing").string();
  r = Run({"preview", "black.bmp"});
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, ::testing::HasSubstr("the temporary folder '" + tmpdir + "/" + usual +
                                          "' cannot be made safe"));
}

// Under a Japanese locale the help and the messages are Japanese; under any
// other they stay the English ones word for word.
TEST_F(InkmarkRunTest, HelpAndMessagesFollowTheLanguageOfTheLocale) {
  const char* before = std::getenv("LC_ALL");
  const std::string kept = before ? before : "";
  ::setenv("LC_ALL", "ja_JP.UTF-8", 1);
  ToolResult help = Run({"--help"}, false);
  ToolResult bad = Run({"--paper", "99mm", "keys"}, false);
  ToolResult missing = Run({"preview", "missing.bmp"}, false);
  ToolResult unknown = Run({"--printer", "XX", "keys"}, false);
  ToolResult listed = Run({"printers"}, false);
  ToolResult json = Run({"--json", "printers"}, false);
  ::setenv("LC_ALL", "C", 1);
  ToolResult english = Run({"--paper", "99mm", "keys"}, false);
  ToolResult english_unknown = Run({"--printer", "XX", "keys"}, false);
  ToolResult english_listed = Run({"printers"}, false);
  ToolResult english_json = Run({"--json", "printers"}, false);
  before ? ::setenv("LC_ALL", kept.c_str(), 1) : ::unsetenv("LC_ALL");
  EXPECT_EQ(help.out.rfind("使い方: inkmark [オプション] コマンド [引数]\n", 0), 0u) << help.out;
  EXPECT_EQ(
      std::pair(bad.status, bad.err),
      std::pair(2, std::string("inkmark: DT-200/210 には用紙 '99mm' がありません。選択肢: "
                               "58mm, 80mm\n詳しくは 'inkmark --help' を参照してください。\n")));
  EXPECT_EQ(missing.err, "inkmark: SOURCE 'missing.bmp' は読み込めるファイルではありません\n");
  EXPECT_EQ(english.err,
            "inkmark: DT-200/210 offers no paper '99mm'; the choices are: 58mm, 80mm\n"
            "Try 'inkmark --help' for more information.\n");
  EXPECT_EQ(unknown.err.rfind("inkmark: プリンタ 'XX' はプリンタフォルダにありません。選択肢: "
                              "DT-200/210, ",
                              0),
            0u)
      << unknown.err;
  EXPECT_EQ(
      english_unknown.err.rfind(
          "inkmark: The printer folder offers no printer 'XX'; the choices are: DT-200/210, ", 0),
      0u)
      << english_unknown.err;
  // The labels in Japanese, lined up on the terminal's columns (a Japanese
  // character takes two); the values as the options take them.
  EXPECT_EQ(listed.out.rfind("DT-200/210*\n"
                             "  用紙:          58mm, 80mm*\n"
                             "  第1色:         Black*\n"
                             "  第2色:         Red*, None\n",
                             0),
            0u)
      << listed.out;
  EXPECT_THAT(listed.out, ::testing::HasSubstr("\n  パリティ:      None*, Even, Odd\n"));
  EXPECT_EQ(english_listed.out.rfind("DT-200/210*\n"
                                     "  paper:       58mm, 80mm*\n"
                                     "  1st colour:  Black*\n"
                                     "  2nd colour:  Red*, None\n",
                                     0),
            0u)
      << english_listed.out;
  // What programs read stays the same in every language.
  EXPECT_EQ(json.out, english_json.out);
  EXPECT_FALSE(json.out.empty());
}

}  // namespace
}  // namespace inkmark::testing
