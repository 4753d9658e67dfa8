// The monitor's own serial line: closing it lets a slow line send what its
// driver holds, and reports output dropped from a line that stopped sending.
#include "statmon/device_link.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>

#include "platform/line_queues.h"
#include "platform/unique_fd.h"

namespace inkmark::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A driver queue holding `bytes` that leave at one a millisecond, until
// `stall_after` (if given) when nothing more leaves.
class DrainingQueue final : public LineQueues {
 public:
  DrainingQueue(int bytes, std::optional<std::chrono::milliseconds> stall_after)
      : bytes_(bytes), stall_after_(stall_after) {
    SetLineQueues(this);
  }
  ~DrainingQueue() override { SetLineQueues(nullptr); }
  std::optional<int> OutputQueued(int) override {
    auto sent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_);
    if (stall_after_) sent = std::min(sent, *stall_after_);
    return std::max(0, bytes_ - int(sent.count()));
  }
  std::optional<int> ModemLines(int) override { return std::nullopt; }

 private:
  int bytes_;
  std::optional<std::chrono::milliseconds> stall_after_;
  Clock::time_point start_ = Clock::now();
};

TEST(DeviceLinkTest, ClosingWaitsForASlowSerialLineAndReportsOutputDroppedFromAStalledOne) {
  int controller = -1, terminal = -1;
  ASSERT_EQ(::openpty(&controller, &terminal, nullptr, nullptr, nullptr), 0);
  UniqueFd c(controller), t(terminal);
  DeviceAddress address;
  address.kind = DeviceKind::kSerial;
  address.path = ::ttyname(terminal);
  StlResult failure = kStlOk;
  auto link = DeviceLink::Open(address, Clock::now() + std::chrono::seconds(1), &failure);
  ASSERT_TRUE(link) << failure;

  for (bool stall : {false, true}) {
    // 2.5 s of output, longer than a stalled line is waited for.
    DrainingQueue queue(2500, stall ? std::optional(std::chrono::milliseconds(200)) : std::nullopt);
    const auto start = Clock::now();
    EXPECT_EQ(link->FinishOutput(), stall ? kStlOutputDiscarded : kStlOk);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_NEAR(double(took.count()), stall ? 2200 : 2500, 150) << stall;
  }
  // A pseudo-terminal of its own keeps no queue to wait for.
  EXPECT_EQ(link->FinishOutput(), kStlOk);
}

}  // namespace
}  // namespace inkmark::testing
