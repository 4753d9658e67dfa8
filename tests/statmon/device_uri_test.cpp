#include "statmon/device_uri.h"

#include <gtest/gtest.h>

namespace inkmark {
namespace {

TEST(DeviceUriTest, ReadsSocketHostAndPort) {
  auto a = ParseDeviceUri("socket://127.0.0.1:9200");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->kind, DeviceKind::kTcp);
  EXPECT_EQ(a->host, "127.0.0.1");
  EXPECT_EQ(a->port, 9200);

  a = ParseDeviceUri("socket://printer.local/?waiteof=false");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->host, "printer.local");
  EXPECT_EQ(a->port, kDefaultSocketPort);

  a = ParseDeviceUri("socket://[::1]:9101");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->host, "::1");
  EXPECT_EQ(a->port, 9101);
}

TEST(DeviceUriTest, RefusesMalformedOrForeignUris) {
  for (const char* uri :
       {"", "socket:", "socket://", "socket://:9100", "socket://host:0", "socket://host:65536",
        "socket://host:12ab", "socket://[::1", "socket://ho st:9100", "ipp://host/printers/x",
        "file:/dev/null", "serial:dev/ttyS0", "serial:/", "parallel:/dev/../etc/passwd",
        "serial:/dev/ttyS0/..", "usb://Maker/Model", "noscheme"}) {
    EXPECT_FALSE(ParseDeviceUri(uri)) << uri;
  }
  EXPECT_FALSE(ParseDeviceUri("socket://" + std::string(2000, 'a')));
}

TEST(DeviceUriTest, ReadsDevicePathsAndSerialLine) {
  auto a = ParseDeviceUri("parallel:/dev/usb/lp0");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->kind, DeviceKind::kParallel);
  EXPECT_EQ(a->path, "/dev/usb/lp0");

  a = ParseDeviceUri("serial:/dev/ttyS1?baud=9600+bits=7+parity=even+flow=dtrdsr+stop=1");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->kind, DeviceKind::kSerial);
  EXPECT_EQ(a->path, "/dev/ttyS1");
  EXPECT_EQ(a->baud, 9600u);
  EXPECT_EQ(a->data_bits, 7);
  EXPECT_EQ(a->parity, SerialParity::kEven);
  EXPECT_EQ(a->flow, SerialFlow::kDtrDsr);

  a = ParseDeviceUri("serial:///dev/ttyUSB0");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->path, "/dev/ttyUSB0");
  EXPECT_EQ(a->baud, 0u);
  EXPECT_EQ(a->parity, SerialParity::kLeave);

  for (const char* uri :
       {"serial:/dev/ttyS0?baud=0", "serial:/dev/ttyS0?baud=99999999", "serial:/dev/ttyS0?bits=9",
        "serial:/dev/ttyS0?parity=mark", "serial:/dev/ttyS0?flow=maybe"}) {
    EXPECT_FALSE(ParseDeviceUri(uri)) << uri;
  }
}

}  // namespace
}  // namespace inkmark
