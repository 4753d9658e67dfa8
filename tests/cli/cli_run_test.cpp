// The built program end to end: every command against the virtual printer
// behind a pseudo-terminal on COM1, and against files.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "compose_fixture.h"
#include "image/logo_raster.h"
#include "pty_printer.h"
#include "servers.h"
#include "tool_runner.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

// Sets an environment variable for the life of a test, then puts it back.
class EnvScope {
 public:
  EnvScope(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~EnvScope() {
    if (saved_) {
      ::setenv(name_, saved_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  EnvScope(const EnvScope&) = delete;
  EnvScope& operator=(const EnvScope&) = delete;

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

class InkmarkRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    printer = std::make_unique<vprinter::VirtualPrinter>(vprinter::PrinterOptions{});
    std::string error;
    server = vprinter::PtyServer::Start(*printer, home.folder() / "Quorvel" / "devices" / "com1",
                                        &error);
    ASSERT_TRUE(server) << error;
    std::filesystem::create_directories(work.path() / "tmp");
    WriteBytes("black.bmp", SolidBitmap(8, 2, kBlack24));
  }
  void TearDown() override {
    if (server) server->Stop();
  }

  void WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    work.Write(name, std::string(bytes.begin(), bytes.end()));
  }
  std::string Path(const std::string& name) const { return (work.path() / name).string(); }

  // Runs the tool on a standard one-ink model on COM1, with `args` after the printer options.
  ToolResult Inkmark(std::vector<std::string> args) {
    std::vector<std::string> all = {"--printer", "DT-500/510", "--port",
                                    "COM1",      "--second",   "None"};
    all.insert(all.end(), args.begin(), args.end());
    return RunTool(all, work.path());
  }
  // The printer reads on its own thread: what the port sent may still be on its way.
  std::size_t WaitForPrinted(std::size_t count) {
    for (int i = 0; i < 200 && printer->Printed().size() < count; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return printer->Printed().size();
  }
  long Capacity() {
    ToolResult r = Inkmark({"capacity"});
    EXPECT_EQ(r.status, 0) << r.err;
    return std::strtol(r.out.c_str(), nullptr, 10);
  }

  DeviceMapHome home;
  TempDir work;
  EnvScope settings{"INKMARK_SETTINGS_DIR", (work.path() / "settings").string()};
  EnvScope tmp{"TMPDIR", (work.path() / "tmp").string()};
  std::unique_ptr<vprinter::VirtualPrinter> printer;
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
  // A command file talks to no printer.
  EXPECT_TRUE(printer->Keys().empty());
}

TEST_F(InkmarkRunTest, RegisterListPrintAndDeleteOnThePrinter) {
  const long before = Capacity();
  ToolResult r = Inkmark({"register", "black.bmp", "-k", "AB"});
  ASSERT_EQ(r.status, 0) << r.err;
  r = Inkmark({"keys"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "AB\n");
  EXPECT_LT(Capacity(), before);

  r = Inkmark({"register", "black.bmp", "-k", "AB"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "inkmark: Specified key already exists.\n");

  r = Inkmark({"print", "AB"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(WaitForPrinted(1), 1u);

  // Nobody at a terminal to ask: the key stays and the run fails.
  r = Inkmark({"delete", "AB"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Do you want to delete NV graphics \"AB\" ?"), std::string::npos);
  EXPECT_EQ(printer->Keys().size(), 1u);

  r = Inkmark({"delete", "--yes", "AB"});
  EXPECT_EQ(r.status, 0) << r.err;
  r = Inkmark({"keys"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "inkmark: No Key code exist in NV graphics.\n");
  EXPECT_EQ(Capacity(), before);
}

TEST_F(InkmarkRunTest, TestPrintPreviewAndRasterOfAPicture) {
  ToolResult r = Inkmark({"test-print", "black.bmp"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(WaitForPrinted(1), 1u);

  r = Inkmark({"preview", "black.bmp"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Size:1.13x0.28mm(8x2dot), Ink rate:1st=100.00% 2nd=0.00%\n");

  r = Inkmark({"raster", "black.bmp", "-o", "out.bmp", "--fit"});
  ASSERT_EQ(r.status, 0) << r.err;
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
  EnvScope no_platform("QT_QPA_PLATFORM", "");
  ::unsetenv("QT_QPA_PLATFORM");
  ToolResult r = Inkmark({"preview", "logo.qlf"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Size:9.03x2.26mm(64x16dot), Ink rate:1st=", 0), 0u) << r.out;
  r = Inkmark({"register", "logo.qlf", "-k", "QL"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(printer->Keys().size(), 1u);
}

TEST_F(InkmarkRunTest, BadPrinterChoicesAndSourcesFailWithAClearMessage) {
  ToolResult r = Inkmark({"--paper", "99mm", "keys"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "inkmark: DT-500/510 offers no paper '99mm'; the choices are: 58mm, 80mm\n"
            "Try 'inkmark --help' for more information.\n");
  r = RunTool({"--printer", "DT-999", "keys"}, work.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("DT-200/210, DT-300/310, DT-350/360, DT-500/510, DT-700/710"),
            std::string::npos);
  r = Inkmark({"--mono", "2", "preview", "black.bmp"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--mono 2 needs a 2nd colour"), std::string::npos);

  r = Inkmark({"preview", "missing.bmp"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "inkmark: SOURCE 'missing.bmp' is not a readable file\n");
  r = Inkmark({"preview", "notes.txt"});
  EXPECT_EQ(r.status, 2);
  work.Write("broken.bmp", "BM this is no bitmap");
  r = Inkmark({"register", "broken.bmp", "-k", "AB"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("The specified image file cannot be read."), std::string::npos);
  work.Write("broken.qlf", std::string(80, '\x01'));
  r = Inkmark({"preview", "broken.qlf"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("The specified image file cannot be read."), std::string::npos);

  // A command file that cannot be created.
  r = Inkmark({"command-file", "black.bmp", "-k", "AB", "-o", "no/such/dir/x.bin"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "inkmark: Failed to open printer port.\n");
}

TEST_F(InkmarkRunTest, PrinterTroubleFailsWithTheToolsMessages) {
  ToolResult r = RunTool({"--printer", "DT-500/510", "--port", "COM2", "keys"}, work.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "inkmark: Failed to open printer port.\n");
  r = RunTool({"--printer", "DT-500/510", "--port", "COM3", "print", "AB", "CD"}, work.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "inkmark: Failed to print of NV graphics \"AB\" .\n"
            "inkmark: Failed to print of NV graphics \"CD\" .\n");

  std::filesystem::create_directories(work.path() / "empty");
  r = RunTool({"--printers-dir", Path("empty"), "keys"}, work.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "inkmark: Printer information file(*.DEF) is missing.\n");
}

TEST_F(InkmarkRunTest, PrintersHelpAndUsageErrors) {
  ToolResult r = RunTool({"printers"}, work.path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("DT-200/210*\n  paper:       58mm, 80mm*\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("DT-700/710\n  paper:       58mm, 80mm*, 80mmJP\n"), std::string::npos);

  r = RunTool({"--help"}, work.path());
  EXPECT_EQ(r.status, 0);
  for (const char* word : {"printers", "raster", "command-file", "register", "test-print", "keys",
                           "capacity", "print KEY", "delete", "preview", "--printers-dir",
                           "--attach", "--data-bits", "--driver", "Exit status"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word;

  r = RunTool({"register", "black.bmp", "-k", "A"}, work.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "inkmark: invalid value 'A' for --key: expected two characters from 0x20 to 0x7E\n"
            "Try 'inkmark --help' for more information.\n");
}

}  // namespace
}  // namespace inkmark::testing
