#include "statmon/status_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkmark {
namespace {

using Step = StatusBlockFramer::Step;

// Feeds `stream` until the framer finishes; returns the step and the block.
std::pair<Step, std::string> Frame(const std::string& stream, std::uint32_t room,
                                   std::size_t* used = nullptr) {
  std::vector<std::uint8_t> out(room + 8, 0xEE);
  StatusBlockFramer framer(out.data(), room);
  Step step = Step::kMore;
  std::size_t i = 0;
  while (i < stream.size() && step == Step::kMore) step = framer.Feed(std::uint8_t(stream[i++]));
  if (used) *used = i;
  // Nothing may land behind the room the caller gave.
  for (std::size_t j = room; j < out.size(); ++j) EXPECT_EQ(out[j], 0xEE);
  return {step, std::string(out.begin(), out.begin() + framer.size())};
}

TEST(StatusBlockFramerTest, DropsBytesBeforeHeaderAndEndsAtNul) {
  std::size_t used = 0;
  auto [step, block] = Frame(std::string("\x00\x01\xff"
                                         "7r@AB\0"
                                         "7r@CD\0",
                                         15),
                             128, &used);
  EXPECT_EQ(step, Step::kDone);
  EXPECT_EQ(block, std::string("7r@AB\0", 6));
  EXPECT_EQ(used, 9u);  // the next block is left for the next reply
}

TEST(StatusBlockFramerTest, LongBlockIsReadToItsEndButReportedTooLong) {
  std::size_t used = 0;
  auto [step, block] = Frame(std::string("71123456789\0"
                                         "7",
                                         13),
                             4, &used);
  EXPECT_EQ(step, Step::kDoneTooLong);
  EXPECT_EQ(block, "7112");
  EXPECT_EQ(used, 12u);

  std::tie(step, block) = Frame("71123", 0);
  EXPECT_EQ(step, Step::kMore);
  EXPECT_EQ(block, "");
}

}  // namespace
}  // namespace inkmark
