// Opening the monitor's line: connecting to a TCP printer, or opening a serial
// or parallel device and setting its line.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>

#include <cerrno>
#include <string>

#include "device_link.h"

namespace inkmark {
namespace {

int MsUntil(Deadline deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? int(left.count()) : 0;
}

// One non-blocking connect, waited for until the deadline.
UniqueFd ConnectOne(const addrinfo& ai, Deadline deadline) {
  UniqueFd fd(
      ::socket(ai.ai_family, ai.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai.ai_protocol));
  if (!fd) return {};
  if (::connect(fd.get(), ai.ai_addr, ai.ai_addrlen) != 0) {
    if (errno != EINPROGRESS) return {};
    for (;;) {
      pollfd p{fd.get(), POLLOUT, 0};
      int n = ::poll(&p, 1, MsUntil(deadline));
      if (n > 0) break;
      if (n == 0 || errno != EINTR) return {};
    }
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return {};
  }
  // Requests are a few bytes each and wait for their answer.
  int on = 1;
  ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

UniqueFd ConnectTcp(const DeviceAddress& address, Deadline deadline) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  std::string port = std::to_string(address.port);
  if (::getaddrinfo(address.host.c_str(), port.c_str(), &hints, &found) != 0) return {};
  UniqueFd fd;
  for (addrinfo* ai = found; ai != nullptr && !fd && MsUntil(deadline) > 0; ai = ai->ai_next)
    fd = ConnectOne(*ai, deadline);
  ::freeaddrinfo(found);
  return fd;
}

bool SpeedFor(std::uint32_t baud, speed_t& speed) {
  static constexpr struct {
    std::uint32_t baud;
    speed_t speed;
  } kSpeeds[] = {{1200, B1200},     {2400, B2400},     {4800, B4800},    {9600, B9600},
                 {19200, B19200},   {38400, B38400},   {57600, B57600},  {115200, B115200},
                 {230400, B230400}, {460800, B460800}, {921600, B921600}};
  for (const auto& s : kSpeeds) {
    if (s.baud == baud) {
      speed = s.speed;
      return true;
    }
  }
  return false;
}

// Raw bytes in both directions, with the options the URI gives.
bool SetSerialLine(int fd, const DeviceAddress& a) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return false;
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  if (a.baud != 0) {
    speed_t speed;
    if (!SpeedFor(a.baud, speed)) return false;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
  }
  if (a.data_bits != 0) t.c_cflag = (t.c_cflag & ~CSIZE) | (a.data_bits == 7 ? CS7 : CS8);
  if (a.parity == SerialParity::kNone) t.c_cflag &= ~(PARENB | PARODD);
  if (a.parity == SerialParity::kEven) t.c_cflag = (t.c_cflag | PARENB) & ~PARODD;
  if (a.parity == SerialParity::kOdd) t.c_cflag |= PARENB | PARODD;
  if (a.flow != SerialFlow::kLeave) {
    // Linux has no DSR flow control: under DTR/DSR the line runs without any.
    t.c_cflag &= ~CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (a.flow == SerialFlow::kRtsCts) t.c_cflag |= CRTSCTS;
    if (a.flow == SerialFlow::kXonXoff) t.c_iflag |= IXON | IXOFF;
  }
  if (::tcsetattr(fd, TCSANOW, &t) != 0) return false;
  ::tcflush(fd, TCIOFLUSH);
  return true;
}

UniqueFd OpenDevice(const DeviceAddress& address, StlResult* failure) {
  UniqueFd fd(::open(address.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) {
    *failure = kStlDeviceUnreachable;
    return {};
  }
  // Only a character device is a printer line; a queue must not turn the
  // monitor on an ordinary file.
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISCHR(st.st_mode)) {
    *failure = kStlUnsupportedDevice;
    return {};
  }
  if (address.kind == DeviceKind::kSerial && !SetSerialLine(fd.get(), address)) {
    *failure = kStlUnsupportedDevice;
    return {};
  }
  return fd;
}

}  // namespace

std::unique_ptr<DeviceLink> DeviceLink::Open(const DeviceAddress& address, Deadline deadline,
                                             StlResult* failure) {
  *failure = kStlDeviceUnreachable;
  bool is_socket = address.kind == DeviceKind::kTcp;
  UniqueFd fd = is_socket ? ConnectTcp(address, deadline) : OpenDevice(address, failure);
  if (!fd) return nullptr;
  return std::unique_ptr<DeviceLink>(new DeviceLink(std::move(fd), is_socket));
}

}  // namespace inkmark
