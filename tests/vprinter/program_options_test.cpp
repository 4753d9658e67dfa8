#include "program_options.h"

#include <gtest/gtest.h>

namespace inkmark::vprinter {
namespace {

TEST(ProgramOptions, ReadsEveryOptionInBothSpellings) {
  auto parsed = ParseCommandLine(
      {"--pty",      "/tmp/com1",   "--tcp=[::1]:9100", "--nv", "nv.bin",        "--capacity=1000",
       "--out",      "pages",       "--keys-per-block", "3",    "--reply-delay", "50",
       "--no-reply", "--garbage=2", "--busy",           "700",  "--bad-blocks",  "--second-ink",
       "#00FF00",    "--quiet"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const auto& o = *parsed.options;
  EXPECT_EQ(*o.pty_link, "/tmp/com1");
  EXPECT_EQ(*o.tcp_host, "::1");
  EXPECT_EQ(o.tcp_port, 9100);
  EXPECT_EQ(o.printer.capacity, 1000u);
  EXPECT_EQ(o.printer.keys_per_block, 3);
  EXPECT_EQ(o.printer.faults.reply_delay_ms, 50);
  EXPECT_TRUE(o.printer.faults.no_reply);
  EXPECT_EQ(o.printer.faults.garbage, 2);
  EXPECT_EQ(o.printer.faults.busy_ms, 700);
  EXPECT_TRUE(o.printer.faults.bad_blocks);
  EXPECT_EQ(o.printer.second_ink_rgb, 0x00FF00u);
  EXPECT_TRUE(o.quiet);
}

TEST(ProgramOptions, RefusesBadValuesWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {},                      // nothing to serve
      {"--tcp", "127.0.0.1"},  // no port
      {"--tcp", "127.0.0.1:65536"},
      {"--tcp", ":80"},
      {"--tcp", "localhost:-1"},
      {"--pty"},  // value missing
      {"--pty", "x", "--capacity", "-5"},
      {"--pty", "x", "--capacity", "99999999999999999999999"},
      {"--pty", "x", "--keys-per-block", "0"},
      {"--pty", "x", "--garbage", "1e3"},
      {"--pty", "x", "--first-ink", "purple"},
      {"--pty", "x", "--no-reply=1"},
      {"--pty", "x", "--frobnicate"},
      {"--render", "f", "--tcp", "127.0.0.1:0"},
  };
  for (const auto& args : bad) {
    auto parsed = ParseCommandLine(args);
    EXPECT_FALSE(parsed.options.has_value()) << ::testing::PrintToString(args);
    EXPECT_FALSE(parsed.error.empty());
  }
}

}  // namespace
}  // namespace inkmark::vprinter
