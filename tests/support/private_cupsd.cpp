#include "support/private_cupsd.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace inkmark::testing {
namespace fs = std::filesystem;
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kStartTimeout = 10s;
constexpr auto kStopTimeout = 5s;
constexpr auto kToolTimeout = 10s;

const char* FindProgram(std::initializer_list<const char*> candidates) {
  for (const char* path : candidates)
    if (::access(path, X_OK) == 0) return path;
  return nullptr;
}

const char* CupsdPath() { return FindProgram({"/usr/sbin/cupsd", "/usr/local/sbin/cupsd"}); }
const char* LpadminPath() { return FindProgram({"/usr/sbin/lpadmin", "/usr/local/sbin/lpadmin"}); }

// The scheduler's backends run as the unprivileged `lp` user and open the
// spooled files by path, so every folder above ours must be passable by others;
// the socket path must also fit in sockaddr_un.
fs::path BaseFolder() {
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec || base.string().size() > 60) return "/tmp";
  for (fs::path p = base; !p.empty(); p = p.parent_path()) {
    struct stat st;
    if (::stat(p.c_str(), &st) != 0 || !(st.st_mode & S_IXOTH)) return "/tmp";
    if (p == p.root_path()) break;
  }
  return base;
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::string Tail(const fs::path& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  return text.size() > limit ? "..." + text.substr(text.size() - limit) : text;
}

// Starts `argv` with its output in `log`; the child dies with this process, so
// a crashed test leaves no scheduler behind.
pid_t Spawn(const std::vector<std::string>& argv, const fs::path& log) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const std::string log_path = log.string();
  const pid_t parent = ::getpid();

  pid_t pid = ::fork();
  if (pid != 0) return pid;
  // Only async-signal-safe calls from here on.
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != parent) ::_exit(127);
  int in = ::open("/dev/null", O_RDONLY);
  int out = ::open(log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (in < 0 || out < 0) ::_exit(127);
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(out, 2);
  ::close_range(3, ~0U, 0);  // no listening sockets of the test leak into the child
  ::execv(args[0], args.data());
  ::_exit(127);
}

// Waits for `pid` up to `timeout`; kills it when it overstays. Returns the
// wait status, or -1 when it had to be killed.
int WaitBounded(pid_t pid, Clock::duration timeout) {
  const auto deadline = Clock::now() + timeout;
  int status = 0;
  while (Clock::now() < deadline) {
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid || (r < 0 && errno != EINTR)) return status;
    std::this_thread::sleep_for(5ms);
  }
  ::kill(pid, SIGKILL);
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return -1;
}

bool SocketAnswers(const std::string& path) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  path.copy(addr.sun_path, sizeof addr.sun_path - 1);
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return ok;
}

// The smallest PPD the scheduler accepts without complaint: printer-make-and-model
// is taken from *NickName, and a queue without a media option is called invalid.
std::string MinimalPpd(const std::string& make_and_model) {
  return "*PPD-Adobe: \"4.3\"\n"
         "*FormatVersion: \"4.3\"\n"
         "*FileVersion: \"1.0\"\n"
         "*LanguageVersion: English\n"
         "*LanguageEncoding: ISOLatin1\n"
         "*PCFileName: \"INKTEST.PPD\"\n"
         "*Manufacturer: \"Inkmark Test\"\n"
         "*Product: \"(Inkmark Test)\"\n"
         "*ModelName: \"" +
         make_and_model +
         "\"\n"
         "*NickName: \"" +
         make_and_model +
         "\"\n"
         "*PSVersion: \"(3010.000) 0\"\n"
         "*LanguageLevel: \"3\"\n"
         "*ColorDevice: False\n"
         "*DefaultColorSpace: Gray\n"
         "*FileSystem: False\n"
         "*Throughput: \"1\"\n"
         "*cupsFilter: \"application/vnd.cups-raw 0 -\"\n"
         "*OpenUI *PageSize/Media Size: PickOne\n"
         "*OrderDependency: 10 AnySetup *PageSize\n"
         "*DefaultPageSize: Roll80\n"
         "*PageSize Roll80/80 mm roll: \"\"\n"
         "*CloseUI: *PageSize\n"
         "*OpenUI *PageRegion: PickOne\n"
         "*OrderDependency: 10 AnySetup *PageRegion\n"
         "*DefaultPageRegion: Roll80\n"
         "*PageRegion Roll80/80 mm roll: \"\"\n"
         "*CloseUI: *PageRegion\n"
         "*DefaultImageableArea: Roll80\n"
         "*ImageableArea Roll80/80 mm roll: \"0 0 227 842\"\n"
         "*DefaultPaperDimension: Roll80\n"
         "*PaperDimension Roll80/80 mm roll: \"227 842\"\n";
}

}  // namespace

ScopedCupsServer::ScopedCupsServer(const std::string& server) {
  if (const char* old = ::getenv("CUPS_SERVER")) previous_ = old;
  ::setenv("CUPS_SERVER", server.c_str(), 1);
  // libcups remembers the server (and its open connection) once asked.
  cupsSetServer(server.c_str());
}

ScopedCupsServer::~ScopedCupsServer() {
  if (previous_)
    ::setenv("CUPS_SERVER", previous_->c_str(), 1);
  else
    ::unsetenv("CUPS_SERVER");
  cupsSetServer(nullptr);
}

bool PrivateCupsd::Installed() { return CupsdPath() != nullptr; }

PrivateCupsd::~PrivateCupsd() {
  server_.reset();  // drops libcups's connection before the scheduler goes
  Stop();
  if (!folder_.empty()) {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
}

void PrivateCupsd::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  WaitBounded(pid_, kStopTimeout);
  pid_ = -1;
}

::testing::AssertionResult PrivateCupsd::Start() {
  const char* cupsd = CupsdPath();
  if (cupsd == nullptr) return ::testing::AssertionFailure() << "cupsd is not installed";
  if (pid_ > 0) return ::testing::AssertionFailure() << "the private cupsd already runs";

  std::string pattern = (BaseFolder() / "inkmark-cupsd-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr)
    return ::testing::AssertionFailure() << "cannot create a folder from " << pattern;
  folder_ = pattern;
  // Owned by root, passable by `lp`; the scheduler sets its own folders' owners.
  ::chmod(folder_.c_str(), 0755);
  for (const char* sub : {"etc", "spool", "spool/tmp", "cache", "state", "log"})
    fs::create_directories(folder_ / sub);
  socket_path_ = (folder_ / "cups.sock").string();
  const std::string dir = folder_.string();

  // Every file the scheduler writes is named here, so none lands in /etc/cups,
  // /var/spool/cups or /run/cups (the printcap included).
  WriteText(folder_ / "cups-files.conf",
            "ServerRoot " + dir + "/etc\n" + "RequestRoot " + dir + "/spool\n" + "TempDir " + dir +
                "/spool/tmp\n" + "CacheDir " + dir + "/cache\n" + "StateDir " + dir + "/state\n" +
                "ErrorLog " + dir + "/log/error_log\n" + "AccessLog " + dir + "/log/access_log\n" +
                "PageLog " + dir + "/log/page_log\n" + "Printcap " + dir + "/printcap\n");
  // A Unix socket only, no browsing, and no authentication: the socket lives in
  // a folder of this test alone.
  WriteText(folder_ / "cupsd.conf",
            "Listen " + socket_path_ +
                "\n"
                "LogLevel info\n"
                "Browsing No\n"
                "BrowseLocalProtocols none\n"
                "DefaultShared No\n"
                "WebInterface No\n"
                "DefaultAuthType None\n"
                "DefaultEncryption Never\n"
                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Policy default>\n"
                "  JobPrivateAccess all\n  JobPrivateValues none\n"
                "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
                "  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n"
                "</Policy>\n");
  // The socket backend first asks the device for its supply levels over SNMP and
  // waits about 4 s for a test listener that never answers; an empty community
  // turns that query off.
  WriteText(folder_ / "etc/snmp.conf", "Community\n");

  pid_ = Spawn({cupsd, "-f", "-c", dir + "/cupsd.conf", "-s", dir + "/cups-files.conf"},
               folder_ / "log/cupsd.out");
  if (pid_ < 0) return ::testing::AssertionFailure() << "cannot fork for cupsd";

  const auto deadline = Clock::now() + kStartTimeout;
  while (!SocketAnswers(socket_path_)) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return ::testing::AssertionFailure()
             << "cupsd exited (status " << status << ") before it listened\n"
             << Diagnostics();
    }
    if (Clock::now() >= deadline) {
      Stop();
      return ::testing::AssertionFailure()
             << "cupsd did not answer on " << socket_path_ << " within 10 s\n"
             << Diagnostics();
    }
    std::this_thread::sleep_for(10ms);
  }
  server_.emplace(socket_path_);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult PrivateCupsd::AddQueue(const std::string& name,
                                                  const std::string& make_and_model,
                                                  const std::string& device_uri) {
  if (pid_ <= 0) return ::testing::AssertionFailure() << "the private cupsd is not running";
  if (make_and_model.find_first_of("\"\n") != std::string::npos)
    return ::testing::AssertionFailure() << "a PPD string cannot hold quotes or line breaks";
  const char* lpadmin = LpadminPath();
  if (lpadmin == nullptr) return ::testing::AssertionFailure() << "lpadmin is not installed";

  const fs::path ppd = folder_ / ("queue-" + name + ".ppd");
  WriteText(ppd, MinimalPpd(make_and_model));
  const fs::path log = folder_ / "log/lpadmin.out";
  pid_t pid = Spawn(
      {lpadmin, "-h", socket_path_, "-p", name, "-E", "-v", device_uri, "-P", ppd.string()}, log);
  if (pid < 0) return ::testing::AssertionFailure() << "cannot fork for lpadmin";
  int status = WaitBounded(pid, kToolTimeout);
  if (status < 0)
    return ::testing::AssertionFailure() << "lpadmin did not finish within 10 s\n" << Diagnostics();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return ::testing::AssertionFailure()
           << "lpadmin failed for queue " << name << ": " << Tail(log, 1000) << "\n"
           << Diagnostics();
  return ::testing::AssertionSuccess();
}

std::string PrivateCupsd::Diagnostics() const {
  return "cupsd output: " + Tail(folder_ / "log/cupsd.out", 1000) +
         "\ncupsd error_log: " + Tail(folder_ / "log/error_log", 3000);
}

void PrivateCupsdTest::SetUp() {
  if (!PrivateCupsd::Installed()) GTEST_SKIP() << "CUPS (cupsd) is not installed here";
  ASSERT_TRUE(cupsd_.Start());
}

}  // namespace inkmark::testing
