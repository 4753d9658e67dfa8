// The inkmark argument parser on any argument vector: NUL bytes separate the
// arguments. A refused line must say why; an accepted one must be whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back().push_back(static_cast<char>(data[i]));
    }
  }
  const inkmark::cli::ParseOutcome outcome = inkmark::cli::ParseArguments(args);
  if (!outcome.options && outcome.error.empty()) std::abort();
  if (outcome.options && !outcome.options->help) {
    const inkmark::cli::CliOptions& o = *outcome.options;
    if (o.command == inkmark::cli::Command::kNone) std::abort();
    for (const inkmark::NvKey& k : o.keys)
      if (!inkmark::IsNvKeyByte(std::uint8_t(k[0])) || !inkmark::IsNvKeyByte(std::uint8_t(k[1])))
        std::abort();
  }
  return 0;
}
