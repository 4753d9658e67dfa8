#include "support/pty_printer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

namespace inkmark::testing {

DeviceMapHome::DeviceMapHome() {
  if (const char* old = ::getenv("XDG_CONFIG_HOME")) saved_ = old, had_saved_ = true;
  ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
  std::filesystem::create_directories(dir_.path() / "Quorvel" / "devices");
}

DeviceMapHome::~DeviceMapHome() {
  had_saved_ ? ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

void DeviceMapHome::Link(const std::string& entry, const std::filesystem::path& target) const {
  std::filesystem::create_symlink(target, dir_.path() / "Quorvel" / "devices" / entry);
}

PtyPrinter::PtyPrinter(const DeviceMapHome& home, const std::string& entry) {
  int master = -1, slave = -1;
  if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
    throw std::runtime_error("openpty");
  master_.reset(master);
  slave_.reset(slave);
  ::fcntl(master, F_SETFL, O_NONBLOCK);
  // The master must not mangle what the test sends.
  termios tio = Line();
  ::cfmakeraw(&tio);
  ::tcsetattr(master, TCSANOW, &tio);
  home.Link(entry, ::ttyname(slave));
}

std::string PtyPrinter::Received() {
  std::string out;
  char buf[4096];
  pollfd p{master_.get(), POLLIN, 0};
  // Bytes still on their way between the two ends arrive within a few ms.
  for (ssize_t n; ::poll(&p, 1, 20) > 0 && (n = ::read(master_.get(), buf, sizeof buf)) > 0;)
    out.append(buf, std::size_t(n));
  return out;
}

std::string PtyPrinter::ReceivedNow() {
  std::string out;
  char buf[4096];
  for (ssize_t n; (n = ::read(master_.get(), buf, sizeof buf)) > 0;)
    out.append(buf, std::size_t(n));
  return out;
}

void PtyPrinter::Send(std::string_view bytes) {
  if (::write(master_.get(), bytes.data(), bytes.size()) != ssize_t(bytes.size()))
    throw std::runtime_error("pty write failed");
}

termios PtyPrinter::Line() const {
  termios tio{};
  ::tcgetattr(slave_.get(), &tio);
  return tio;
}

}  // namespace inkmark::testing
