#include "support/private_cupsd.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/temp_dir.h"

namespace inkmark::testing {
namespace fs = std::filesystem;
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::string FindProgram(const std::string& name) {
  for (std::string dir : {"/usr/sbin/", "/usr/local/sbin/"})
    if (::access((dir + name).c_str(), X_OK) == 0) return dir + name;
  return "";
}

// Starts `argv` (ended by nullptr) with its output in `log`; the child dies with
// this process, so a crashed test leaves no scheduler behind.
pid_t Spawn(std::initializer_list<const char*> argv, const fs::path& log) {
  const pid_t parent = ::getpid(), pid = ::fork();
  if (pid != 0) return pid;
  // Only async-signal-safe calls from here on.
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (::getppid() != parent || out < 0) ::_exit(127);
  ::dup2(out, 1);
  ::dup2(out, 2);
  ::close_range(3, ~0U, 0);  // no listening sockets of the test leak into the child
  ::execv(*argv.begin(), const_cast<char* const*>(argv.begin()));
  ::_exit(127);
}

// Waits for `pid` up to `timeout`; kills it when it overstays. Returns the
// wait status, or -1 when it had to be killed.
int WaitBounded(pid_t pid, Clock::duration timeout) {
  int status = 0;
  for (auto end = Clock::now() + timeout; Clock::now() < end; std::this_thread::sleep_for(5ms))
    if (::waitpid(pid, &status, WNOHANG) != 0) return status;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  return -1;
}

bool SocketAnswers(const std::string& path) {
  http_t* http =
      httpConnect2(path.c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 100, nullptr);
  httpClose(http);
  return http != nullptr;
}

}  // namespace

ScopedCupsServer::ScopedCupsServer(const std::string& server) {
  if (const char* old = ::getenv("CUPS_SERVER")) previous_ = old;
  ::setenv("CUPS_SERVER", server.c_str(), 1);
  cupsSetServer(server.c_str());  // libcups remembers the server (and its connection) once asked
}

ScopedCupsServer::~ScopedCupsServer() {
  previous_ ? ::setenv("CUPS_SERVER", previous_->c_str(), 1) : ::unsetenv("CUPS_SERVER");
  cupsSetServer(nullptr);
}

bool PrivateCupsd::Installed() { return !FindProgram("cupsd").empty(); }

PrivateCupsd::~PrivateCupsd() {
  server_.reset();  // drops libcups's connection before the scheduler goes
  Stop();
  std::error_code ec;
  if (!folder_.empty()) fs::remove_all(folder_, ec);
}

void PrivateCupsd::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  WaitBounded(pid_, 5s);
  pid_ = -1;
}

::testing::AssertionResult PrivateCupsd::Start() {
  // The scheduler's backends run as the unprivileged `lp` user and open the
  // spooled files by path, so the folder is made where `lp` can pass (and
  // short enough for a socket path).
  std::string pattern = "/tmp/inkmark-cupsd-XXXXXX";
  if (!::mkdtemp(pattern.data())) return ::testing::AssertionFailure() << "cannot create /tmp";
  folder_ = pattern;
  fs::permissions(folder_, fs::perms(0755));
  for (const char* sub : {"etc", "spool/tmp", "cache", "state"})
    fs::create_directories(folder_ / sub);
  socket_path_ = pattern + "/cups.sock";
  // Every file the scheduler writes is named here, so none lands in /etc/cups,
  // /var/spool/cups or /run/cups (the printcap included); its logs go to
  // cupsd.out.
  TempDir::WriteFile(folder_ / "cups-files.conf",
                     "ServerRoot " + pattern + "/etc\nRequestRoot " + pattern + "/spool\nTempDir " +
                         pattern + "/spool/tmp\nCacheDir " + pattern + "/cache\nStateDir " +
                         pattern + "/state\nPrintcap " + pattern +
                         "/printcap\nErrorLog stderr\nAccessLog stderr\nPageLog stderr\n");
  // A Unix socket only, no browsing, and no authentication: the socket lives in
  // a folder of this test alone.
  TempDir::WriteFile(folder_ / "cupsd.conf",
                     "Listen " + socket_path_ +
                         "\nLogLevel info\nBrowsing No\nDefaultShared No\nDefaultAuthType None\n"
                         "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                         "<Policy default>\nJobPrivateAccess all\nJobPrivateValues none\n"
                         "SubscriptionPrivateAccess all\nSubscriptionPrivateValues none\n"
                         "<Limit All>\nOrder deny,allow\nAllow all\n</Limit>\n</Policy>\n");
  // The socket backend first asks the device for its supply levels over SNMP and
  // waits about 4 s for a test listener that never answers; an empty community
  // turns that query off.
  TempDir::WriteFile(folder_ / "etc/snmp.conf", "Community\n");
  pid_ = Spawn({FindProgram("cupsd").c_str(), "-f", "-c", (pattern + "/cupsd.conf").c_str(), "-s",
                (pattern + "/cups-files.conf").c_str(), nullptr},
               folder_ / "cupsd.out");
  for (auto end = Clock::now() + 10s; !SocketAnswers(socket_path_);
       std::this_thread::sleep_for(10ms)) {
    if (Clock::now() > end) Stop();
    if (pid_ < 0 || ::waitpid(pid_, nullptr, WNOHANG) != 0) {
      pid_ = -1;
      return ::testing::AssertionFailure() << "cupsd stopped or did not answer within 10 s\n"
                                           << Diagnostics();
    }
  }
  server_.emplace(socket_path_);
  return ::testing::AssertionSuccess();
}

// The queue's PPD is the smallest the scheduler accepts without complaint:
// printer-make-and-model is taken from *NickName, and a queue without a media
// option is called invalid.
::testing::AssertionResult PrivateCupsd::AddQueue(const std::string& name,
                                                  const std::string& make_and_model,
                                                  const std::string& device_uri) {
  const fs::path ppd = folder_ / (name + ".ppd"), log = folder_ / "lpadmin.out";
  TempDir::WriteFile(
      ppd, "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*ModelName: \"" + make_and_model +
               "\"\n*NickName: \"" + make_and_model +
               "\"\n*cupsFilter: \"application/vnd.cups-raw 0 -\"\n*OpenUI *PageSize: PickOne\n"
               "*DefaultPageSize: Roll80\n*PageSize Roll80: \"\"\n*CloseUI: *PageSize\n");
  const pid_t pid =
      Spawn({FindProgram("lpadmin").c_str(), "-h", socket_path_.c_str(), "-p", name.c_str(), "-E",
             "-v", device_uri.c_str(), "-P", ppd.c_str(), nullptr},
            log);
  const int status = pid < 0 ? -1 : WaitBounded(pid, 10s);
  if (status < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return ::testing::AssertionFailure()
           << "lpadmin failed for queue " << name << ": " << ReadFileText(log) << "\n"
           << Diagnostics();
  return ::testing::AssertionSuccess();
}

std::string PrivateCupsd::Diagnostics() const {
  return "cupsd output:\n" + ReadFileText(folder_ / "cupsd.out");
}

void PrivateCupsdTest::SetUp() {
  if (!PrivateCupsd::Installed()) GTEST_SKIP() << "CUPS (cupsd) is not installed here";
  ASSERT_TRUE(cupsd_.Start());
}

}  // namespace inkmark::testing
