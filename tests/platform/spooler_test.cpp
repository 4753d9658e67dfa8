#include "platform/spooler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>

#include "support/private_cupsd.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using ::testing::AllOf;
using ::testing::Field;
using ::testing::UnorderedElementsAre;

auto Printer(const std::string& name, const std::string& driver) {
  return AllOf(Field(&SpoolerPrinter::name, name), Field(&SpoolerPrinter::driver_name, driver));
}

using SpoolerTest = testing::PrivateCupsdTest;

TEST_F(SpoolerTest, ListsEveryQueueWithItsOwnMakeAndModel) {
  ASSERT_TRUE(
      cupsd_.AddQueue("DT300", "Corlane Printer Driver DT-300/310", "socket://127.0.0.1:9"));
  ASSERT_TRUE(cupsd_.AddQueue("Text", "Generic Text", "socket://127.0.0.1:9"));
  EXPECT_THAT(ListSpoolerPrinters(),
              UnorderedElementsAre(Printer("DT300", "Corlane Printer Driver DT-300/310"),
                                   Printer("Text", "Generic Text")));
}

TEST(ListSpoolerPrinters, ReturnsNothingSoonWhenNoServerAnswers) {
  testing::TempDir dir;
  const std::string path = (dir.path() / "nobody.sock").string();
  testing::ScopedCupsServer server(path);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(ListSpoolerPrinters().empty());

  // A socket that takes connections into its backlog but never replies.
  int silent = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  path.copy(addr.sun_path, sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(silent, 4), 0);
  EXPECT_TRUE(ListSpoolerPrinters().empty());
  ::close(silent);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
}

}  // namespace
}  // namespace inkmark
