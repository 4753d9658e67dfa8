// The platform layer: message boxes, paths, code pages, the printer-file
// reader, the settings store and the spooler's printer list.
#include <gmock/gmock.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QSettings>
#include <chrono>

#include "platform/code_page.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/profile_reader.h"
#include "platform/settings_store.h"
#include "platform/spooler.h"
#include "platform/string_table.h"
#include "platform/unique_fd.h"
#include "support/fifo_watchdog.h"
#include "support/private_cupsd.h"
#include "support/recording_message_boxes.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::TempDir;

TEST(MessageBoxes, TitledWithCaptionWithoutTheInstanceAsOwnerAndTheArgumentPutLiterally) {
  testing::RecordingMessageBoxes boxes;
  int window = 0;
  ShowMessage(kAppInstance, kStrNoPrinterFile);
  ShowMessage(&window, kStrAskDelete, "%d", kMbYesNo);
  ShowMessage(nullptr, kStrNvSizeLimit, std::string(400, 'x').c_str());
  const auto& b = boxes.boxes();
  ASSERT_EQ(b.size(), 3u);
  EXPECT_EQ(b[0].owner, nullptr);
  EXPECT_EQ(b[0].caption + "|" + b[0].text,
            "Quorvel Inkmark Tool|Printer information file(*.DEF) is missing.");
  EXPECT_EQ(b[1].owner, &window);
  EXPECT_EQ(b[1].text, "Do you want to delete NV graphics \"%d\" ?");
  EXPECT_EQ(b[1].style, unsigned(kMbYesNo));
  EXPECT_EQ(b[2].text.size(), 255u);
  // Without a window the box goes to standard error and answers the safe button.
  StderrMessageBoxes console;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(console.Show(nullptr, "Inquiry", "Retry?", kMbRetryCancel), kIdCancel);
  EXPECT_EQ(console.Show(nullptr, "Inquiry", "Delete?", kMbYesNo), kIdNo);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Inquiry: Retry?\nInquiry: Delete?\n");
}

TEST(DbcsLeadByte, FollowsEachCodePage) {
  // Half-width katakana (0xA0) stand alone in 932.
  for (auto [page, byte, lead] :
       {std::tuple{932, 0x81, true}, std::tuple{932, 0xA0, false}, std::tuple{932, 0xE0, true},
        std::tuple{936, 0xA0, true}, std::tuple{949, 0x80, false}, std::tuple{1252, 0x81, false}})
    EXPECT_EQ(IsDbcsLeadByte(page, std::uint8_t(byte)), lead) << page << " " << byte;
}

// Points TMPDIR at a temporary folder for one test.
class PathsTest : public ::testing::Test {
 protected:
  PathsTest() {
    if (const char* old = getenv("TMPDIR")) old_ = old;
    setenv("TMPDIR", base.path().c_str(), 1);
  }
  ~PathsTest() override { old_ ? setenv("TMPDIR", old_->c_str(), 1) : unsetenv("TMPDIR"); }
  TempDir base;
  std::optional<std::string> old_;
};

TEST_F(PathsTest, PrivateTempDirIsAClosedFolderOfOurOwnAndAFreshOneWhenTheUsualIsBlocked) {
  const auto name = base.path() / ("inkmark-" + std::to_string(getuid()));
  EXPECT_EQ(PrivateTempDir(), name);
  struct stat st {};
  ASSERT_EQ(stat(name.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(PrivateTempDir(), name);

  // Opened to others, or a link planted under the name: a fresh folder of our
  // own beside it, the same one for the rest of the run, gone when released.
  chmod(name.c_str(), 0777);
  auto fresh = PrivateTempDir();
  ASSERT_TRUE(fresh);
  EXPECT_NE(*fresh, name);
  EXPECT_EQ(fresh->parent_path(), base.path());
  EXPECT_EQ(fresh->filename().string().rfind(name.filename().string() + "-", 0), 0u);
  ASSERT_EQ(lstat(fresh->c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  std::filesystem::remove(name);
  std::filesystem::create_directory_symlink(base.path(), name);
  EXPECT_EQ(PrivateTempDir(), fresh);
  ReleasePrivateTempDir();
  EXPECT_FALSE(std::filesystem::exists(*fresh));

  // Only when no folder at all can be made is there none, and the usual one is named.
  setenv("TMPDIR", (base.path() / "missing").c_str(), 1);
  std::filesystem::path refused;
  EXPECT_FALSE(PrivateTempDir(&refused));
  EXPECT_EQ(refused, base.path() / "missing" / name.filename());
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() / "platform_tests"));
}

TEST(ProfileFile, MatchesNamesWithoutCaseTakesTheFirstKeyUnwrapsQuotesAndCutsAt255) {
  auto file = ProfileFile::Parse(
      "; comment\r\n[other]\nPrnName=wrong\n[ SPEC ]\r\n  prnname =  DT-300/310 \r\n"
      "PrnName=second\n[Spec]\nPaperWidth=58mm,80mm,1\na=\" padded \"\nb='x'\nc=\"open\nd=\"\n"
      "no equals line\n=empty key\ne=" +
      std::string(10000, 'v') + "\n");
  EXPECT_EQ(file.Get("Spec", "PrnName"), "DT-300/310");
  EXPECT_EQ(file.Get("spec", "PAPERWIDTH"), "58mm,80mm,1");
  EXPECT_EQ(file.Get("Spec", "Port") + file.Get("Nothing", "PrnName"), "");
  EXPECT_EQ(file.Get("Spec", "a") + "|" + file.Get("Spec", "b") + "|" + file.Get("Spec", "c") +
                "|" + file.Get("Spec", "d") + "|" + file.Get("Spec", ""),
            " padded |x|\"open|\"|empty key");
  EXPECT_EQ(file.Get("Spec", "e"), std::string(255, 'v'));
  // Keys before any section, binary garbage and missing files are harmless.
  std::string garbage = "PrnName=x\n";
  for (int i = 0; i < 512; ++i) garbage.push_back(char(i * 37));
  file = ProfileFile::Parse(garbage + "\n[Spec\nPrnName=unclosed\n");
  EXPECT_EQ(file.Get("", "PrnName"), "");
  EXPECT_EQ(file.Get("Spec", "PrnName"), "unclosed");
  EXPECT_FALSE(ProfileFile::Read("/nonexistent/missing.DEF"));
}

// Points both stores at private folders for one test.
class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() {
    for (auto [scope, folder] :
         {std::pair{QSettings::SystemScope, "system"}, std::pair{QSettings::UserScope, "user"}})
      QSettings::setPath(QSettings::NativeFormat, scope,
                         QString::fromStdString((dir_.path() / folder).string()));
  }
  static std::optional<std::string> Read(const char* name) {
    return SettingsStore::OpenForReading()->ReadString(name);
  }
  TempDir dir_;
};

TEST_F(SettingsStoreTest, RoundTripsReadsOtherTypesAsAbsentAndFallsBackToThePerUserStore) {
  EXPECT_FALSE(SettingsStore::OpenForReading());  // nothing before the first save
  TempDir::WriteFile(dir_.path() / "system/Quorvel/Inkmark Tool.conf",
                     "[General]\nParity=a, b\nFlow=@ByteArray(ab)\nSpeed=fast\n");
  auto store = SettingsStore::OpenForWriting();
  ASSERT_TRUE(store);
  store->WriteString("PrnName", "DT-300/310");
  store->WriteString("PaperWidth", "58mm, 80mm");
  store->WriteDword("BaudRate", 19200);
  ASSERT_TRUE(store->Commit());
  auto read = SettingsStore::OpenForReading();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->ReadString("PaperWidth"), "58mm, 80mm");
  EXPECT_EQ(read->ReadDword("BaudRate"), 19200u);
  for (const char* absent : {"Port", "Parity", "Flow"}) EXPECT_FALSE(read->ReadString(absent));
  EXPECT_FALSE(read->ReadDword("Speed"));

  // The per-user store is read first, and wins until the next save.
  QSettings(QSettings::NativeFormat, QSettings::UserScope, "Quorvel", "Inkmark Tool")
      .setValue("PrnName", "per-user");
  EXPECT_EQ(Read("PrnName"), "per-user");
  store = SettingsStore::OpenForWriting();
  store->WriteString("PrnName", "saved");
  ASSERT_TRUE(store->Commit());
  EXPECT_EQ(Read("PrnName"), "saved");
  // A file where the machine-wide store's folder belongs closes it even to root.
  std::filesystem::remove_all(dir_.path() / "system");
  TempDir::WriteFile(dir_.path() / "system", "");
  store = SettingsStore::OpenForWriting();
  ASSERT_TRUE(store);
  store->WriteString("PrnName", "DT-200/210");
  EXPECT_TRUE(store->Commit());
  EXPECT_EQ(Read("PrnName"), "DT-200/210");
}

// A FIFO under any name a store reads (its own file or the organisation's, in
// either scope) is named and that store passed over, never waited on; so is a
// FIFO under a printer file's name.
TEST_F(SettingsStoreTest, AFifoWhereAFileIsReadIsPassedOverNotWaitedOn) {
  TempDir::WriteFile(dir_.path() / "system/Quorvel/Inkmark Tool.conf", "[General]\nPrnName=sys\n");
  ASSERT_TRUE(SettingsStore::CheckFiles());
  for (const char* name :
       {"user/Quorvel/Inkmark Tool.conf", "user/Quorvel.conf", "system/Quorvel.conf"}) {
    SCOPED_TRACE(name);
    const auto fifo = dir_.path() / name;
    std::filesystem::create_directories(fifo.parent_path());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    testing::FifoWatchdog watchdog(fifo, std::chrono::seconds(5));
    const Status checked = SettingsStore::CheckFiles();
    ASSERT_FALSE(checked);
    EXPECT_EQ(checked.code(), FailureCode::kNotRegularFile);
    EXPECT_EQ(checked.detail(), fifo.string() + ": not a regular file");
    auto read = SettingsStore::OpenForReading();
    const bool system_readable = std::string(name).rfind("user/", 0) == 0;
    ASSERT_EQ(read.has_value(), system_readable);
    if (system_readable) {
      EXPECT_EQ(read->ReadString("PrnName"), "sys");
    }
    EXPECT_FALSE(watchdog.Fired()) << "a store waited on the FIFO";
    std::filesystem::remove(fifo);
  }
  const auto def = dir_.path() / "pipe.DEF";
  ASSERT_EQ(::mkfifo(def.c_str(), 0600), 0);
  testing::FifoWatchdog watchdog(def, std::chrono::seconds(5));
  EXPECT_FALSE(ProfileFile::Read(def));
  EXPECT_FALSE(watchdog.Fired()) << "the printer file was waited on";
}

using SpoolerTest = testing::PrivateCupsdTest;

constexpr char kDriverModel[] = "Corlane Printer Driver DT-300/310";

TEST_F(SpoolerTest, ListsEveryQueueAndFindsOneByQueueNameElseByItsWholeMakeAndModel) {
  ASSERT_TRUE(cupsd_.AddQueue("DT300", kDriverModel, "socket://127.0.0.1:9"));
  ASSERT_TRUE(cupsd_.AddQueue("Text", "Generic Text", "serial:/dev/ttyS0?baud=9600"));
  ASSERT_TRUE(cupsd_.AddQueue("Plain", "Model-7", "socket://127.0.0.1:9"));
  auto line = [](const SpoolerPrinter& p) {
    return p.name + "|" + p.driver_name + "|" + p.device_uri;
  };
  std::vector<std::string> listed;
  for (const SpoolerPrinter& p : ListSpoolerPrinters()) listed.push_back(line(p));
  EXPECT_THAT(listed, ::testing::UnorderedElementsAre(
                          "DT300|Corlane Printer Driver DT-300/310|socket://127.0.0.1:9",
                          "Text|Generic Text|serial:/dev/ttyS0?baud=9600",
                          "Plain|Model-7|socket://127.0.0.1:9"));

  SpoolerConnection http = ConnectToSpooler();
  ASSERT_TRUE(http);
  auto found = [&](const std::string& printer) {
    auto p = FindSpoolerPrinter(http.get(), printer);
    return p ? line(*p) : "none";
  };
  EXPECT_EQ(found("Text"), "Text|Generic Text|serial:/dev/ttyS0?baud=9600");
  EXPECT_EQ(found(kDriverModel), "DT300|Corlane Printer Driver DT-300/310|socket://127.0.0.1:9");
  // A make and model that could be a queue's name, once no queue has that name.
  EXPECT_EQ(found("Model-7"), "Plain|Model-7|socket://127.0.0.1:9");
  // The make and model only whole and exact; names the spooler could not take
  // as a queue's are looked up by make and model alone.
  for (const std::string& other :
       {std::string("Corlane Printer Driver DT-300"),
        std::string("corlane printer driver dt-300/310"), std::string("Text/.."),
        std::string("Te#xt"), std::string(), std::string(128, 'T')})
    EXPECT_EQ(found(other), "none") << other;
  EXPECT_EQ(FindSpoolerPrinter(nullptr, "Text"), std::nullopt);
}

TEST(ListSpoolerPrinters, ReturnsNothingWithinTheTimeOutWhenNoServerAnswers) {
  TempDir dir;
  const std::string path = (dir.path() / "nobody.sock").string();
  testing::ScopedCupsServer server(path);
  EXPECT_FALSE(ConnectToSpooler());
  EXPECT_TRUE(ListSpoolerPrinters().empty());
  // A socket that takes connections into its backlog but never replies.
  UniqueFd silent(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un addr{AF_UNIX, {}};
  path.copy(addr.sun_path, sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(silent.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(silent.get(), 4), 0);
  for (int i = 0; i < 2; ++i) {
    const auto start = std::chrono::steady_clock::now();
    SpoolerConnection http = ConnectToSpooler();
    ASSERT_TRUE(http) << "the backlog takes the connection";
    const bool nothing =
        i == 0 ? ListSpoolerPrinters(http.get()).empty() : !FindSpoolerPrinter(http.get(), "DT300");
    EXPECT_TRUE(nothing);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, kSpoolerTimeout - std::chrono::milliseconds(100)) << "it waited for a reply";
    EXPECT_LT(waited, 2 * kSpoolerTimeout)
        << "and no longer than a connection and a reply may take";
  }
}

}  // namespace
}  // namespace inkmark
