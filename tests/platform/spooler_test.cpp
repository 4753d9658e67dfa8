#include "platform/spooler.h"

#include <arpa/inet.h>
#include <cups/cups.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "support/private_cupsd.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using ::testing::AllOf;
using ::testing::Field;
using ::testing::UnorderedElementsAre;
using Clock = std::chrono::steady_clock;

class SpoolerTest : public testing::PrivateCupsdTest {};

auto Printer(const std::string& name, const std::string& driver) {
  return AllOf(Field(&SpoolerPrinter::name, name), Field(&SpoolerPrinter::driver_name, driver));
}

TEST_F(SpoolerTest, ListsEveryQueueWithItsOwnMakeAndModel) {
  ASSERT_TRUE(
      cupsd_.AddQueue("DT300", "Corlane Printer Driver DT-300/310", "socket://127.0.0.1:9"));
  ASSERT_TRUE(cupsd_.AddQueue("Text", "Generic Text", "socket://127.0.0.1:9"));
  EXPECT_THAT(ListSpoolerPrinters(),
              UnorderedElementsAre(Printer("DT300", "Corlane Printer Driver DT-300/310"),
                                   Printer("Text", "Generic Text")));
}

// A descriptor that closes itself.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

TEST(ListSpoolerPrinters, ReturnsNothingSoonWhenNoServerAnswers) {
  testing::TempDir dir;
  const std::string path = (dir.path() / "nobody.sock").string();
  testing::ScopedCupsServer server(path);
  auto start = Clock::now();
  EXPECT_TRUE(ListSpoolerPrinters().empty());

  // A socket that takes connections into its backlog but never replies.
  Fd silent{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  path.copy(addr.sun_path, sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(silent.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(silent.fd, 4), 0);
  EXPECT_TRUE(ListSpoolerPrinters().empty());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(8));
}

// A TCP listener on a free local port, standing in for the printer.
class TcpListener {
 public:
  TcpListener() {
    sock_.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(sock_.fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 &&
        ::listen(sock_.fd, 1) == 0 &&
        ::getsockname(sock_.fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
      port_ = ntohs(addr.sin_port);
  }
  int port() const { return port_; }

  // Takes one connection and reads it to its end; stops at the deadline.
  std::vector<uint8_t> ReceiveOne(std::chrono::milliseconds limit) {
    std::vector<uint8_t> data;
    const auto deadline = Clock::now() + limit;
    auto wait = [&](int fd) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      pollfd p{fd, POLLIN, 0};
      return left.count() > 0 && ::poll(&p, 1, int(left.count())) == 1;
    };
    if (!wait(sock_.fd)) return data;
    Fd conn{::accept4(sock_.fd, nullptr, nullptr, SOCK_CLOEXEC)};
    uint8_t buf[4096];
    while (conn.fd >= 0 && wait(conn.fd)) {
      ssize_t n = ::read(conn.fd, buf, sizeof buf);
      if (n <= 0) break;
      data.insert(data.end(), buf, buf + n);
    }
    return data;
  }

 private:
  Fd sock_;
  int port_ = 0;
};

TEST_F(SpoolerTest, RawJobReachesTheDeviceByteForByte) {
  TcpListener printer;
  ASSERT_NE(printer.port(), 0);
  ASSERT_TRUE(cupsd_.AddQueue("Receipt", "Generic Text",
                              "socket://127.0.0.1:" + std::to_string(printer.port())));

  // Every byte value, control codes and a form feed included, that any filter
  // in the way would change or drop.
  std::vector<uint8_t> job;
  for (int round = 0; round < 40; ++round)
    for (int b = 0; b < 256; ++b) job.push_back(uint8_t(b ^ round));
  job.insert(job.end(), {0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x0C, 0x00, 0x0D, 0x0A});

  int id = cupsCreateJob(CUPS_HTTP_DEFAULT, "Receipt", "raw test", 0, nullptr);
  ASSERT_GT(id, 0) << cupsLastErrorString();
  ASSERT_EQ(cupsStartDocument(CUPS_HTTP_DEFAULT, "Receipt", id, "raw", CUPS_FORMAT_RAW, 1),
            HTTP_STATUS_CONTINUE)
      << cupsLastErrorString();
  // Two writes, so the spooled file is the joined stream.
  size_t half = job.size() / 2;
  ASSERT_EQ(
      cupsWriteRequestData(CUPS_HTTP_DEFAULT, reinterpret_cast<const char*>(job.data()), half),
      HTTP_STATUS_CONTINUE);
  ASSERT_EQ(
      cupsWriteRequestData(CUPS_HTTP_DEFAULT, reinterpret_cast<const char*>(job.data() + half),
                           job.size() - half),
      HTTP_STATUS_CONTINUE);
  ASSERT_EQ(cupsFinishDocument(CUPS_HTTP_DEFAULT, "Receipt"), IPP_STATUS_OK)
      << cupsLastErrorString();

  EXPECT_EQ(printer.ReceiveOne(std::chrono::seconds(8)), job);
}

}  // namespace
}  // namespace inkmark
