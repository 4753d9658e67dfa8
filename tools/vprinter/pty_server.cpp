#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "servers.h"

namespace inkmark::vprinter {

namespace {

// Points `link` at `target` in one rename, refusing to replace anything but a link.
bool ReplaceLink(const std::filesystem::path& link, const std::string& target, std::string* error) {
  std::error_code ec;
  auto status = std::filesystem::symlink_status(link, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
    *error = link.string() + " exists and is not a symbolic link";
    return false;
  }
  if (link.has_parent_path()) std::filesystem::create_directories(link.parent_path(), ec);
  std::filesystem::path temp = link;
  temp += ".new" + std::to_string(::getpid());
  ::unlink(temp.c_str());
  if (::symlink(target.c_str(), temp.c_str()) != 0 || ::rename(temp.c_str(), link.c_str()) != 0) {
    *error = "cannot make the link " + link.string() + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<PtyServer> PtyServer::Start(VirtualPrinter& printer,
                                            const std::filesystem::path& link, std::string* error) {
  std::unique_ptr<PtyServer> server(new PtyServer());
  int controller = -1;
  int terminal = -1;
  if (::openpty(&controller, &terminal, nullptr, nullptr, nullptr) != 0) {
    *error = std::string("openpty failed: ") + std::strerror(errno);
    return nullptr;
  }
  server->controller_ = UniqueFd(controller);
  server->terminal_ = UniqueFd(terminal);
  ::fcntl(controller, F_SETFD, FD_CLOEXEC);
  ::fcntl(terminal, F_SETFD, FD_CLOEXEC);
  termios raw{};
  if (::tcgetattr(terminal, &raw) == 0) {
    ::cfmakeraw(&raw);
    ::tcsetattr(terminal, TCSANOW, &raw);
  }
  ::fcntl(controller, F_SETFL, ::fcntl(controller, F_GETFL) | O_NONBLOCK);
  const char* name = ::ttyname(terminal);
  if (name == nullptr) {
    *error = "cannot name the pseudo-terminal";
    return nullptr;
  }
  server->terminal_name_ = name;
  if (!ReplaceLink(link, server->terminal_name_, error)) return nullptr;
  server->link_ = link;
  PtyServer* self = server.get();
  server->thread_ = std::thread([self, &printer] {
    // A dropped line: the host's end hangs up.
    if (ServeConnection(printer, self->controller_.get(), self->stop_) == ServeEnd::kDropped)
      self->controller_.reset();
  });
  return server;
}

PtyServer::~PtyServer() { Stop(); }

void PtyServer::Stop() {
  stop_.Raise();
  if (thread_.joinable()) thread_.join();
  if (!link_.empty()) {
    std::error_code ec;
    if (std::filesystem::read_symlink(link_, ec) == terminal_name_) {
      std::filesystem::remove(link_, ec);
    }
    link_.clear();
  }
}

}  // namespace inkmark::vprinter
