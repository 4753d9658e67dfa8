#include "ports/serial_port.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <algorithm>
#include <string>

#include "platform/line_queues.h"
#include "ports/clock.h"

namespace inkmark {

namespace {

struct Speed {
  std::uint32_t rate;
  speed_t code;
};

constexpr Speed kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000},
};

bool SpeedCode(std::uint32_t rate, speed_t& code) {
  for (const Speed& s : kSpeeds) {
    if (s.rate == rate) {
      code = s.code;
      return true;
    }
  }
  return false;
}

bool SizeFlag(std::uint8_t bits, tcflag_t& flag) {
  switch (bits) {
    case 5:
      flag = CS5;
      return true;
    case 6:
      flag = CS6;
      return true;
    case 7:
      flag = CS7;
      return true;
    case 8:
      flag = CS8;
      return true;
    default:
      return false;
  }
}

// Sets (on) or clears modem lines; a line without them ignores the request.
void SetModemLines(int fd, int lines, bool on) { ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &lines); }

}  // namespace

bool SetLineState(termios& tio, std::uint8_t byte_size, std::uint8_t parity, std::uint8_t stop_bits,
                  std::uint8_t flow_flags, std::uint32_t baud_rate) {
  speed_t speed;
  tcflag_t size;
  if (!SpeedCode(baud_rate, speed) || !SizeFlag(byte_size, size) || parity > kParityEven) {
    return false;
  }
  // Binary mode: every byte passes untouched in both directions.
  ::cfmakeraw(&tio);
  if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return false;
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  tio.c_cflag |= size | CREAD | CLOCAL;
  if (parity != kParityNone) tio.c_cflag |= PARENB;
  if (parity == kParityOdd) tio.c_cflag |= PARODD;
  if (stop_bits == kTwoStopBits) tio.c_cflag |= CSTOPB;
  tio.c_iflag |= INPCK;
  if (flow_flags & kFlowRtsCts) tio.c_cflag |= CRTSCTS;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (flow_flags & kFlowXonXoff) tio.c_iflag |= IXON | IXOFF;
  tio.c_cc[VSTART] = 0x11;
  tio.c_cc[VSTOP] = 0x13;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return true;
}

SerialPort::SerialPort() : DevicePort("COM1:") {}

std::int32_t SerialPort::setLine(std::int32_t port_number, std::uint8_t line_byte_size,
                                 std::uint8_t line_parity, std::uint8_t line_stop_bits,
                                 std::uint8_t line_flow_flags, std::uint32_t line_baud_rate) {
  if (port_number < 0 || port_number > kMaxSerialPortNumber) {
    name.clear();
    return 0;
  }
  name = "COM" + std::to_string(port_number) + ":";
  byte_size = line_byte_size;
  parity = line_parity;
  stop_bits = line_stop_bits;
  flow_flags = line_flow_flags;
  baud_rate = line_baud_rate;
  return 1;
}

Status SerialPort::open() {
  if (Status opened = DevicePort::open(); !opened) return opened;
  if (!applyLine()) {
    const int error = errno;
    (void)close();
    return ErrnoFailure(FailureCode::kPortUnavailable, label() + ": the line settings were refused",
                        error);
  }
  return Status();
}

bool SerialPort::applyLine() {
  termios tio{};
  if (::tcgetattr(handle.get(), &tio) != 0) return false;
  if (!SetLineState(tio, byte_size, parity, stop_bits, flow_flags, baud_rate)) return false;
  if (::tcsetattr(handle.get(), TCSANOW, &tio) != 0) return false;
  // DTR stays on (the printer watches it under DTR/DSR); RTS stays on unless
  // the driver handshakes with it.
  SetModemLines(handle.get(), TIOCM_DTR, true);
  if ((flow_flags & kFlowRtsCts) == 0) SetModemLines(handle.get(), TIOCM_RTS, true);
  return true;
}

bool SerialPort::readyToSend() {
  if ((flow_flags & kFlowDtrDsr) == 0) return true;
  // A pseudo-terminal has no modem lines: nothing holds it back.
  std::optional<int> lines = CurrentLineQueues().ModemLines(handle.get());
  return !lines || (*lines & TIOCM_DSR) != 0;
}

std::uint32_t SerialPort::sendAllowance() {
  if ((flow_flags & kFlowDtrDsr) == 0) return UINT32_MAX;
  std::optional<int> queued = CurrentLineQueues().OutputQueued(handle.get());
  if (!queued) return UINT32_MAX;
  return *queued >= int(kDsrQueueLimit) ? 0 : kDsrQueueLimit - std::uint32_t(std::max(*queued, 0));
}

std::int32_t SerialPort::status() {
  if (!handle) return 0;
  std::optional<int> lines = CurrentLineQueues().ModemLines(handle.get());
  if (!lines) return 1;
  return (*lines & (TIOCM_DSR | TIOCM_CD)) != 0 ? 1 : 0;
}

std::uint32_t SerialPort::bytesPerSecond() const {
  const std::uint32_t bits =
      1 + byte_size + (parity != kParityNone ? 1 : 0) + (stop_bits == kTwoStopBits ? 2 : 1);
  return baud_rate / bits;
}

std::int32_t SerialPort::reset() {
  if (!handle) return 0;
  bool first = dtr_pulse_low != 1;
  SetModemLines(handle.get(), TIOCM_DTR, first);
  CurrentPortClock().SleepMs(1);
  SetModemLines(handle.get(), TIOCM_DTR, !first);
  return 0;
}

}  // namespace inkmark
