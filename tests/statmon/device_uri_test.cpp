#include "statmon/device_uri.h"

#include <gtest/gtest.h>

#include <sstream>

namespace inkmark {
namespace {

// Kind, host:port, path, baud, bits, parity and flow; "refused" for nullopt.
std::string Read(const std::string& uri) {
  const auto a = ParseDeviceUri(uri);
  if (!a) return "refused";
  std::ostringstream s;
  s << int(a->kind) << ' ' << a->host << ':' << a->port << ' ' << a->path << ' ' << a->baud << ' '
    << a->data_bits << ' ' << int(a->parity) << ' ' << int(a->flow);
  return s.str();
}

TEST(DeviceUriTest, ReadsSocketHostsAndDevicePathsAndRefusesMalformedOnes) {
  const std::pair<std::string, std::string> cases[] = {
      {"socket://printer.local/?waiteof=false", "0 printer.local:9100  0 0 0 0"},
      {"socket://[::1]:65535", "0 ::1:65535  0 0 0 0"},
      {"parallel:/dev/usb/lp0", "2 :9100 /dev/usb/lp0 0 0 0 0"},
      {"serial:/dev/ttyS1?baud=9600+bits=7+parity=even+flow=dtrdsr+stop=1",
       "1 :9100 /dev/ttyS1 9600 7 2 4"},
      {"serial:///dev/ttyUSB0", "1 :9100 /dev/ttyUSB0 0 0 0 0"},
  };
  for (const auto& [uri, read] : cases) EXPECT_EQ(Read(uri), read) << uri;
  for (const std::string uri :
       {"", "socket://:9100", "socket://host:0", "socket://host:65536", "socket://host:12ab",
        "socket://[::1", "socket://ho st:9100", "ipp://host/printers/x", "serial:dev/ttyS0",
        "parallel:/dev/../etc/passwd", "serial:/dev/ttyS0/..", "serial:/dev/tty?baud=0",
        "serial:/dev/tty?baud=99999999", "serial:/dev/tty?bits=9", "serial:/dev/tty?parity=mark"})
    EXPECT_EQ(Read(uri), "refused") << uri;
  EXPECT_EQ(Read("socket://" + std::string(2000, 'a')), "refused");
}

}  // namespace
}  // namespace inkmark
