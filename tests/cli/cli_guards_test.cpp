// The built program where users and printers hand it what cannot work: printer
// files whose values cannot be used, a full temporary disk, a page too tall for
// the paper, bytes that are not UTF-8 or are control characters, an output that
// names the source, planted links, and signals in the middle of a transfer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "cli/inkmark_on_com1.h"
#include "document/document_writer.h"
#include "servers.h"
#include "support/compose_fixture.h"
#include "support/fifo_watchdog.h"
#include "support/pty_printer.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

const std::string kMayBeCorrupted = "may be corrupted";

class InkmarkGuardTest : public InkmarkOnCom1Test {
 protected:
  // A one-paper printer file for `name` with the given values.
  void WriteModel(const std::string& folder, const std::string& file, const std::string& name,
                  const std::string& dots, const std::string& dpi, const std::string& first) {
    work.Write(folder + "/" + file,
               "[Spec]\nPrnName=" + name + "\nPaperWidth=58mm,0\nPaperDot=" + dots +
                   "\n1stColor=" + first + ",0\n2ndColor=Red,None,1\nResolution=" + dpi +
                   ",0\nPort=COM1,0\nBaudRate=9600,0\nBitLength=8,0\nParity=None,0\n"
                   "Flow=DTR/DSR,0\n");
  }
};

TEST_F(InkmarkGuardTest, APrinterFileThatCannotWorkIsRefusedNamingTheFileAndTheKey) {
  struct Case {
    std::string dots, dpi, first, key;
  };
  for (const Case& c :
       {Case{"0", "180", "Black", "PaperDot"}, Case{"1", "0", "Black", "Resolution"},
        Case{"1", "-180", "Black", "Resolution"}, Case{"1", "180", "Purple", "1stColor"}}) {
    const std::string folder = "models-" + c.key + c.dots + c.dpi;
    WriteModel(folder, "GOOD.DEF", "Good", "1", "1", "blue");
    WriteModel(folder, "BAD.DEF", "Bad", c.dots, c.dpi, c.first);
    const std::string refused =
        "inkmark: the printer file '" + folder + "/BAD.DEF' is refused: " + c.key + ": ";
    ToolResult r =
        Run({"--printers-dir", folder, "--printer", "Bad", "preview", "black.bmp"}, false);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.err.rfind(refused, 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
    // The last values that work: one dot of paper at one dot per inch, any colour's case.
    r = Run({"--printers-dir", folder, "--printer", "Good", "preview", "black.bmp"}, false);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Size:25.40x50.80mm(1x2dot)", 0), 0u) << r.out;
    // Alone in its folder, the model is missing.
    std::filesystem::remove(work.path() / folder / "GOOD.DEF");
    r = Run({"--printers-dir", folder, "keys"}, false);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, ::testing::HasSubstr(refused));
    EXPECT_THAT(r.err, ::testing::HasSubstr("Printer information file(*.DEF) is missing."));
  }
}

// A FIFO as the printers list is refused at once, and one under the saved
// settings' name is passed over with the reason: neither waits for a writer.
TEST_F(InkmarkGuardTest, AFifoAsThePrintersListOrTheSettingsFileIsNotWaitedOn) {
  const auto list = work.path() / "list.txt";
  ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
  {
    FifoWatchdog watchdog(list, std::chrono::seconds(5));
    const ToolResult r = Run({"--printers-list", "list.txt", "keys"}, false);
    EXPECT_FALSE(watchdog.Fired()) << "the printers list was waited on";
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, ::testing::HasSubstr(
                           "cannot read the printers list 'list.txt': not a regular file"));
  }
  const auto settings = work.path() / "settings" / "user" / "Quorvel" / "Inkmark Tool.conf";
  std::filesystem::create_directories(settings.parent_path());
  ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0);
  FifoWatchdog watchdog(settings, std::chrono::seconds(5));
  const ToolResult r = Run({"raster", "black.bmp", "-o", "out.bmp"});
  EXPECT_FALSE(watchdog.Fired()) << "the settings file was waited on";
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.err, ::testing::HasSubstr("the saved settings are not read: " + settings.string() +
                                          ": not a regular file"));
  EXPECT_EQ(Read("out.bmp").substr(0, 2), "BM");
  EXPECT_TRUE(std::filesystem::is_fifo(settings)) << "the settings file was replaced";
}

TEST_F(InkmarkGuardTest, AFullTemporaryDiskAndAPageTooTallAreSaidSoNotBlamedOnThePicture) {
  // Scaled to the paper, 512 x 2048 dots: a temporary file of 3 MB.
  WriteBlack("tall.bmp", 8, 32);
  const std::filesystem::path small = work.path() / "small";
  std::filesystem::create_directory(small);
  if (std::system(
          ("mount -t tmpfs -o size=256k tmpfs '" + small.string() + "' 2>/dev/null").c_str()) ==
      0) {
    tmpdir = small.string();
    ToolResult r = Run({"raster", "tall.bmp", "--fit", "-o", "out.bmp"});
    tmpdir.clear();
    EXPECT_EQ(std::system(("umount '" + small.string() + "'").c_str()), 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, ::testing::HasSubstr(
                           "The temporary files could not be written: the disk that holds them is "
                           "full.\ninkmark: no space left in "));
    EXPECT_EQ(r.err.find(kMayBeCorrupted), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(work.path() / "out.bmp"));
  }

  // Fitted to 512 dots, 2 x 128 dots become 512 x 32768, the tallest a page
  // may be; 2 x 129 dots have no place on the paper.
  ASSERT_TRUE(SaveLogoDocument((work.path() / "tall.qlf").string(), 2, 129,
                               {ImageObject(0, 0, 2, 2, SolidBitmap(2, 2, kBlack24))}));
  ToolResult r = Run({"raster", "tall.qlf", "--fit", "-o", "out.bmp"}, true, false);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "inkmark: The page cannot be fitted on the paper. Choose another paper width or "
            "layout.\ninkmark: a page of 2 x 129 dots becomes 512 x 33024 dots\n");
  r = Run({"raster", "tall.qlf", "-o", "out.bmp"}, true, false);
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(InkmarkGuardTest, AnOutputThatIsTheSourceByNameLinkOrHardLinkIsRefused) {
  const std::string picture = Read("black.bmp");
  std::filesystem::create_symlink("black.bmp", work.path() / "soft.bmp");
  std::filesystem::create_hard_link(work.path() / "black.bmp", work.path() / "hard.bmp");
  for (const std::string output : {"black.bmp", "./black.bmp", "soft.bmp", "hard.bmp"}) {
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"raster", "black.bmp", "-o", output},
          std::vector<std::string>{"command-file", "black.bmp", "-k", "AB", "-o", output}}) {
      const ToolResult r = Run(command);
      EXPECT_EQ(r.status, 2) << output << r.err;
      EXPECT_THAT(r.err,
                  ::testing::HasSubstr("the output '" + output + "' is the source 'black.bmp'"));
      EXPECT_EQ(Read("black.bmp"), picture) << output;
    }
  }
  EXPECT_TRUE(std::filesystem::is_symlink(work.path() / "soft.bmp"));
  // A copy is another file.
  work.Write("copy.bmp", picture);
  EXPECT_EQ(Run({"raster", "black.bmp", "-o", "copy.bmp"}).status, 0);
  EXPECT_NE(Read("copy.bmp"), picture);
}

TEST_F(InkmarkGuardTest, ALinkPlantedInASharedFolderIsRefusedAndAReplacedFileKeepsItsOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "owners other than the user need root";
  constexpr uid_t kOwner = 61001, kPlanter = 61002;  // no user needs to exist for them
  const std::filesystem::path shared = work.path() / "shared";
  std::filesystem::create_directory(shared);
  ASSERT_EQ(::chown(shared.c_str(), kOwner, kOwner), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  work.Write("mine.bmp", "my own file");
  const std::filesystem::path link = shared / "logo.bmp";
  std::filesystem::create_symlink(work.path() / "mine.bmp", link);
  const std::string out = "shared/logo.bmp";

  // Planted by another user: the kernel would not follow it, nor does inkmark.
  ASSERT_EQ(::lchown(link.c_str(), kPlanter, kPlanter), 0);
  ToolResult r = Run({"raster", "black.bmp", "-o", out});
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, ::testing::HasSubstr(
                         "cannot write 'shared/logo.bmp': it is a link in a shared folder"));
  EXPECT_EQ(Read("mine.bmp"), "my own file");
  // Not sticky, or not writable by all: the link is followed.
  for (mode_t mode : {0777, 01775}) {
    ASSERT_EQ(::chmod(shared.c_str(), mode), 0);
    r = Run({"raster", "black.bmp", "-o", out});
    EXPECT_EQ(r.status, 0) << mode << r.err;
    work.Write("mine.bmp", "my own file");
  }
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  // The folder's owner's link, and the user's own, are followed.
  for (uid_t owner : {kOwner, ::geteuid()}) {
    ASSERT_EQ(::lchown(link.c_str(), owner, owner), 0);
    r = Run({"raster", "black.bmp", "-o", out});
    EXPECT_EQ(r.status, 0) << owner << r.err;
    EXPECT_NE(Read("mine.bmp"), "my own file");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    work.Write("mine.bmp", "my own file");
  }

  // Replaced by root, someone's file stays theirs, with its mode.
  const std::filesystem::path theirs = work.path() / "theirs.bmp";
  work.Write("theirs.bmp", "their file");
  ASSERT_EQ(::chown(theirs.c_str(), kOwner, kPlanter), 0);
  ASSERT_EQ(::chmod(theirs.c_str(), 0640), 0);
  r = Run({"raster", "black.bmp", "-o", "theirs.bmp"});
  EXPECT_EQ(r.status, 0) << r.err;
  struct stat st {};
  ASSERT_EQ(::stat(theirs.c_str(), &st), 0);
  EXPECT_EQ((std::array<unsigned long, 3>{st.st_uid, st.st_gid, st.st_mode & 07777u}),
            (std::array<unsigned long, 3>{kOwner, kPlanter, 0640}));
  EXPECT_NE(Read("theirs.bmp"), "their file");
}

// A registration over a line as slow as a real one, stopped by signals.
class InkmarkSignalTest : public InkmarkToolTest {
 protected:
  void SetUp() override { StartPrinter(); }
  // A printer on COM1 at a real line's pace, with an empty NV memory.
  void StartPrinter() {
    server.reset();
    vprinter::PrinterOptions options;
    options.bytes_per_second = 11520;  // 115200 bps
    printer = std::make_unique<vprinter::VirtualPrinter>(options);
    std::string error;
    server = vprinter::PtyServer::Start(*printer, home.folder() / "Quorvel" / "devices" / "com1",
                                        &error);
    ASSERT_TRUE(server) << error;
    // 512 x 2048 dots on the paper: a define of 131 KB, 11 s on this line.
    WriteBlack("tall.bmp", 8, 32);
  }
  void TearDown() override { server.reset(); }

  // Registers tall.bmp, sends `to_send` 2 s into the transfer, and waits at
  // most 30 s for the end. `status` is the exit status, or -signal when it died of one.
  ToolResult RegisterAndSignal(const std::vector<int>& to_send,
                               std::chrono::milliseconds apart = std::chrono::milliseconds(200)) {
    const std::string w = work.path().string();
    const std::string line = "cd '" + w + "' && TMPDIR='" + w + "' INKMARK_SETTINGS_DIR='" + w +
                             "/settings' exec '" INKMARK_BIN_DIR
                             "/inkmark' --printer DT-500/510 --port COM1 --second None --baud "
                             "115200 register tall.bmp --fit -k ZZ </dev/null >out.txt 2>err.txt";
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    for (int signal_number : to_send) {
      ::kill(pid, signal_number);
      // Apart, so that the kernel does not merge them into one.
      std::this_thread::sleep_for(apart);
    }
    int wait_status = 0;
    for (int i = 0; i < 300 && ::waitpid(pid, &wait_status, WNOHANG) == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (::waitpid(pid, &wait_status, WNOHANG) == 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &wait_status, 0);
      ADD_FAILURE() << "inkmark did not end within 30 s of the signal";
    }
    return {WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -WTERMSIG(wait_status),
            Read("out.txt"), Read("err.txt")};
  }

  DeviceMapHome home;
  std::unique_ptr<vprinter::VirtualPrinter> printer;
  std::unique_ptr<vprinter::PtyServer> server;  // stops before the printer goes
};

TEST_F(InkmarkSignalTest, ASignalInATransferStopsAfterThePieceInFlightAndDefinesNothing) {
  for (auto [signal_number, status] : {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
    const auto started = std::chrono::steady_clock::now();
    const ToolResult r = RegisterAndSignal({signal_number});
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_EQ(r.err,
              "inkmark: The registration of NV graphics was cancelled.\n"
              "inkmark: The printer may still be waiting for the rest of the data. Switch it off "
              "and on before the next command.\n");
    // Well before the 11 s the whole define takes.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(8));
    EXPECT_TRUE(printer->Keys().empty());
    EXPECT_FALSE(printer->Find({'Z', 'Z'}));
    // The printer is switched off and on, as the message asks.
    StartPrinter();
    if (HasFatalFailure()) return;
  }
}

TEST_F(InkmarkSignalTest, ASecondCtrlCEndsAtOnceAndStillDefinesNothing) {
  // The second comes while the first still waits for the piece in flight.
  const ToolResult r = RegisterAndSignal({SIGINT, SIGINT}, std::chrono::milliseconds(20));
  EXPECT_EQ(r.status, -SIGINT) << r.err;
  EXPECT_TRUE(printer->Keys().empty());
  EXPECT_FALSE(printer->Find({'Z', 'Z'}));
}

// The document, after checking that every byte of it is UTF-8.
QJsonObject Utf8Json(const std::string& text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));
  EXPECT_FALSE(utf8.hasError()) << text;
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(decoded.toUtf8(), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
  return doc.object();
}

TEST_F(InkmarkGuardTest, NamesAndKeysThatAreNotUtf8OrAreControlsAreEscapedOnTheTerminalAndInJson) {
  // A Latin-1 byte, an escape sequence, a C1 control (U+009B), a truncated
  // sequence and an overlong '/', beside UTF-8 that passes as it is.
  const std::string name = "Bad\xFF\x1B[31m\xC2\x9B\xE3\x81 \xC0\xAF \xE3\x81\x82";
  WriteModel("odd", "ODD.DEF", name, "360", "180", "Black");
  ToolResult r = Run({"--printers-dir", "odd", "printers"}, false);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "Bad\xFF\\x1B[31m\\xC2\\x9B\xE3\x81 \xC0\xAF \xE3\x81\x82*");
  r = Run({"--printers-dir", "odd", "--json", "printers"}, false);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.out,
              ::testing::HasSubstr("\"Bad\\u00ff\\u001b[31m\xC2\x9B\\u00e3\\u0081 \\u00c0\\u00af "
                                   "\xE3\x81\x82\""));
  const QJsonObject doc = Utf8Json(r.out);
  EXPECT_EQ(doc["printers"].toArray()[0].toObject()["model"].toString(),
            QString("Bad") + QChar(0xFF) + QChar(0x1B) + "[31m" + QChar(0x9B) + QChar(0xE3) +
                QChar(0x81) + " " + QChar(0xC0) + QChar(0xAF) + " " + QChar(0x3042));
  // A name given back in a message is escaped too.
  r = Run({"--printers-dir", "odd", "--printer", "X\x1B]0;owned\x07", "keys"}, false);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("'X\\x1B]0;owned\\x07'"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\x1B'), std::string::npos) << r.err;

  // Keys from the printer's reply: an escape and a byte that is not UTF-8.
  for (const std::string key : {"\x1B[", "\xFF!"})
    ASSERT_EQ(
        printer.Define({std::uint8_t(key[0]), std::uint8_t(key[1])},
                       vprinter::Graphics{vprinter::GraphicsForm::kRaster, 8, 1, {{0x31, {0x5A}}}}),
        vprinter::DefineResult::kStored);
  r = Run({"keys"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "\\x1B[\n\xFF!\n");
  r = Run({"keys", "--json"});
  EXPECT_EQ(r.out, "{\"keys\":[\"\\u001b[\",\"\\u00ff!\"],\"complete\":true}\n");
  EXPECT_EQ(Utf8Json(r.out)["keys"].toArray()[1].toString(), QString(QChar(0xFF)) + "!");
}

}  // namespace
}  // namespace inkmark::testing
