// The built program end to end: every command against the virtual printer
// behind a pseudo-terminal on COM1, and against files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "compose_fixture.h"
#include "image/logo_raster.h"
#include "pty_printer.h"
#include "servers.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

struct ToolResult {
  int status = -1;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};

class InkmarkRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(work.path() / "tmp");
    std::string error;
    server =
        vprinter::PtyServer::Start(printer, home.folder() / "Quorvel" / "devices" / "com1", &error);
    ASSERT_TRUE(server) << error;
    const auto black = SolidBitmap(8, 2, kBlack24);
    work.Write("black.bmp", std::string(black.begin(), black.end()));
  }
  void TearDown() override {
    if (server) server->Stop();
  }
  std::string Path(const std::string& name) const { return (work.path() / name).string(); }

  // Runs bin/inkmark in the work folder with standard input from /dev/null,
  // its settings and temporary files in the work folder.
  ToolResult Run(const std::vector<std::string>& args) {
    const std::string w = work.path().string();
    std::string line = "cd '" + w + "' && TMPDIR='" + w + "/tmp' INKMARK_SETTINGS_DIR='" + w +
                       "/settings' " + (no_display ? "env -u QT_QPA_PLATFORM " : "") +
                       "'" INKMARK_BIN_DIR "/inkmark'";
    for (const std::string& a : args) line += " '" + a + "'";
    const int status = std::system((line + " </dev/null >out.txt 2>err.txt").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileText(Path("out.txt")),
            ReadFileText(Path("err.txt"))};
  }
  void ExpectFailure(const std::vector<std::string>& args, int status, const std::string& message) {
    const ToolResult r = Run(args);
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
  }
  // On a one-ink model on COM1.
  ToolResult Inkmark(std::vector<std::string> args) {
    args.insert(args.begin(), {"--printer", "DT-500/510", "--port", "COM1", "--second", "None"});
    return Run(args);
  }
  // The printer reads on its own thread: what the port sent may still be on its way.
  std::size_t WaitForPrinted(std::size_t count) {
    for (int i = 0; i < 200 && printer.Printed().size() < count; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return printer.Printed().size();
  }
  long Capacity() {
    ToolResult r = Inkmark({"capacity"});
    EXPECT_EQ(r.status, 0) << r.err;
    return std::strtol(r.out.c_str(), nullptr, 10);
  }

  bool no_display = false;
  DeviceMapHome home;
  TempDir work;
  vprinter::VirtualPrinter printer{vprinter::PrinterOptions{}};
  std::unique_ptr<vprinter::PtyServer> server;
};

TEST_F(InkmarkRunTest, CommandFileIsTheDefineHeaderFollowedByTheRows) {
  ToolResult r = Inkmark({"command-file", "black.bmp", "-k", "AB", "-o", "logo.bin"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string expected = {
      '\x1D', '\x38', '\x4C', '\x0D', '\x00', '\x00', '\x00',  // define, 3 + 10 bytes follow
      '\x30', '\x43', '\x30', 'A',    'B',    '\x01',          // raster form, key, one block
      '\x08', '\x00', '\x02', '\x00', '\x31',                  // 8 x 2 dots, the 1st colour
      '\xFF', '\xFF'};                                         // the two rows
  EXPECT_EQ(ReadFileText(Path("logo.bin")), expected);
  EXPECT_TRUE(printer.Keys().empty()) << "a command file talks to no printer";
  ExpectFailure({"command-file", "black.bmp", "-k", "AB", "-o", "no/such/dir/x.bin"}, 1,
                "inkmark: Failed to open printer port.\n");
}

TEST_F(InkmarkRunTest, RegisterListPrintAndDeleteOnThePrinter) {
  const long before = Capacity();
  ASSERT_EQ(Inkmark({"register", "black.bmp", "-k", "AB"}).status, 0);
  ToolResult r = Inkmark({"keys"});
  EXPECT_EQ(r.out, "AB\n");
  EXPECT_LT(Capacity(), before);
  r = Inkmark({"register", "black.bmp", "-k", "AB"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "inkmark: Specified key already exists.\n");
  EXPECT_EQ(Inkmark({"print", "AB"}).status, 0);
  EXPECT_EQ(WaitForPrinted(1), 1u);

  // Nobody at a terminal to ask: the key stays and the run fails.
  r = Inkmark({"delete", "AB"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Do you want to delete NV graphics \"AB\" ?"), std::string::npos);
  EXPECT_EQ(printer.Keys().size(), 1u);
  EXPECT_EQ(Inkmark({"delete", "--yes", "AB"}).status, 0);
  r = Inkmark({"keys"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out + "|" + r.err, "|inkmark: No Key code exist in NV graphics.\n");
  EXPECT_EQ(Capacity(), before);
}

TEST_F(InkmarkRunTest, TestPrintPreviewAndRasterOfAPicture) {
  ASSERT_EQ(Inkmark({"test-print", "black.bmp"}).status, 0);
  EXPECT_EQ(WaitForPrinted(1), 1u);
  ToolResult r = Inkmark({"preview", "black.bmp"});
  EXPECT_EQ(r.out, "Size:1.13x0.28mm(8x2dot), Ink rate:1st=100.00% 2nd=0.00%\n") << r.err;
  ASSERT_EQ(Inkmark({"raster", "black.bmp", "-o", "out.bmp", "--fit"}).status, 0);
  const std::string bytes = ReadFileText(Path("out.bmp"));
  auto raster = LogoRaster::FromFile(BitmapFile(bytes.begin(), bytes.end()));
  ASSERT_TRUE(raster);
  EXPECT_EQ(raster->width(), 512);  // fitted to the 80 mm paper
  EXPECT_EQ(raster->bits_per_pixel(), 1);
}

TEST_F(InkmarkRunTest, LogoDocumentIsComposedWithoutADisplay) {
  ASSERT_TRUE(SaveLogoDocument(Path("logo.qlf"), 64, 16,
                               {ImageObject(0, 0, 32, 16, SolidBitmap(32, 16, kBlack24)),
                                TextObject(34, 15, "A", "Arial", -14, 0)}));
  no_display = true;
  ToolResult preview = Inkmark({"preview", "logo.qlf"});
  ToolResult registered = Inkmark({"register", "logo.qlf", "-k", "QL"});
  EXPECT_EQ(preview.out.rfind("Size:9.03x2.26mm(64x16dot), Ink rate:1st=", 0), 0u) << preview.err;
  EXPECT_EQ(registered.status, 0) << registered.err;
  EXPECT_EQ(printer.Keys().size(), 1u);
}

TEST_F(InkmarkRunTest, BadChoicesSourcesAndPortsFailWithTheToolsMessages) {
  ExpectFailure({"--printer", "DT-500/510", "--paper", "99mm", "keys"}, 2,
                "inkmark: DT-500/510 offers no paper '99mm'; the choices are: 58mm, 80mm\n"
                "Try 'inkmark --help' for more information.\n");
  ExpectFailure({"--printer", "DT-999", "keys"}, 2,
                "DT-200/210, DT-300/310, DT-350/360, DT-500/510, DT-700/710");
  ExpectFailure({"--second", "None", "--mono", "2", "preview", "black.bmp"}, 2,
                "--mono 2 needs a 2nd colour");
  ExpectFailure({"preview", "missing.bmp"}, 1,
                "inkmark: SOURCE 'missing.bmp' is not a readable file\n");
  ExpectFailure({"preview", "notes.txt"}, 2, "");
  work.Write("broken.bmp", "BM this is no bitmap");
  work.Write("broken.qlf", std::string(80, '\x01'));
  ExpectFailure({"preview", "broken.bmp"}, 1, "The specified image file cannot be read.");
  ExpectFailure({"preview", "broken.qlf"}, 1, "The specified image file cannot be read.");
  ExpectFailure({"--port", "COM2", "keys"}, 1, "inkmark: Failed to open printer port.\n");
  ExpectFailure({"--port", "COM3", "print", "AB", "CD"}, 1,
                "inkmark: Failed to print of NV graphics \"AB\" .\n"
                "inkmark: Failed to print of NV graphics \"CD\" .\n");
  std::filesystem::create_directories(work.path() / "empty");
  ExpectFailure({"--printers-dir", "empty", "keys"}, 1,
                "inkmark: Printer information file(*.DEF) is missing.\n");
}

TEST_F(InkmarkRunTest, PrintersListsEveryModelWithItsDefaults) {
  ToolResult r = Run({"printers"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("DT-200/210*\n  paper:       58mm, 80mm*\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("DT-700/710\n  paper:       58mm, 80mm*, 80mmJP\n"), std::string::npos);
}

}  // namespace
}  // namespace inkmark::testing
