#include "statmon/device_uri.h"

#include <gtest/gtest.h>

namespace inkmark {
namespace {

using namespace std::string_literals;

TEST(DeviceUriTest, ReadsSocketHostsAndDevicePaths) {
  for (const auto& [uri, host, port] :
       {std::tuple{"socket://127.0.0.1:9200", "127.0.0.1", 9200},
        {"socket://printer.local/?waiteof=false", "printer.local", 9100},
        {"socket://[::1]:9101", "::1", 9101}}) {
    const auto a = ParseDeviceUri(uri);
    ASSERT_TRUE(a) << uri;
    EXPECT_EQ(std::tie(a->kind, a->host, a->port),
              std::tuple(DeviceKind::kTcp, std::string(host), std::uint16_t(port)));
  }
  auto a = ParseDeviceUri("parallel:/dev/usb/lp0");
  ASSERT_TRUE(a);
  EXPECT_EQ(std::tie(a->kind, a->path), std::tuple(DeviceKind::kParallel, "/dev/usb/lp0"));
  a = ParseDeviceUri("serial:/dev/ttyS1?baud=9600+bits=7+parity=even+flow=dtrdsr+stop=1");
  ASSERT_TRUE(a);
  EXPECT_EQ(std::tie(a->kind, a->path, a->baud, a->data_bits, a->parity, a->flow),
            std::tuple(DeviceKind::kSerial, "/dev/ttyS1", 9600u, 7, SerialParity::kEven,
                       SerialFlow::kDtrDsr));
  a = ParseDeviceUri("serial:///dev/ttyUSB0");
  ASSERT_TRUE(a);
  EXPECT_EQ(std::tie(a->path, a->baud, a->parity),
            std::tuple("/dev/ttyUSB0", 0u, SerialParity::kLeave));
}

TEST(DeviceUriTest, RefusesMalformedOrForeignUris) {
  for (const char* uri :
       {"", "socket:", "socket://", "socket://:9100", "socket://host:0", "socket://host:65536",
        "socket://host:12ab", "socket://[::1", "socket://ho st:9100", "ipp://host/printers/x",
        "file:/dev/null", "serial:dev/ttyS0", "serial:/", "parallel:/dev/../etc/passwd",
        "serial:/dev/ttyS0/..", "usb://Maker/Model", "noscheme"}) {
    EXPECT_FALSE(ParseDeviceUri(uri)) << uri;
  }
  for (const char* options : {"baud=0", "baud=99999999", "bits=9", "parity=mark", "flow=maybe"}) {
    EXPECT_FALSE(ParseDeviceUri("serial:/dev/ttyS0?"s + options)) << options;
  }
  EXPECT_FALSE(ParseDeviceUri("socket://" + std::string(2000, 'a')));
}

}  // namespace
}  // namespace inkmark
