#include "program_options.h"

#include <gtest/gtest.h>

namespace inkmark::vprinter {
namespace {

TEST(ProgramOptions, ReadsEveryOptionInBothSpellings) {
  auto parsed =
      ParseCommandLine({"--pty", "/tmp/com1", "--tcp=[::1]:9100", "--capacity=1000",
                        "--keys-per-block", "3", "--reply-delay", "50", "--no-reply", "--garbage=2",
                        "--busy", "700", "--bad-blocks", "--second-ink", "#00FF00", "--quiet"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const auto& o = *parsed.options;
  const FaultOptions& f = o.printer.faults;
  EXPECT_EQ(std::tie(*o.pty_link, *o.tcp_host, o.tcp_port, o.printer.capacity,
                     o.printer.keys_per_block, o.printer.second_ink_rgb, o.quiet),
            std::tuple(std::filesystem::path("/tmp/com1"), "::1", 9100, 1000u, 3, 0x00FF00u, true));
  EXPECT_EQ(std::tie(f.reply_delay_ms, f.no_reply, f.garbage, f.busy_ms, f.bad_blocks),
            std::tuple(50, true, 2, 700, true));
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
