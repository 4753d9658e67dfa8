// The inkmark argument parser on any argument vector: NUL bytes separate the
// arguments. A refused line must say why; an accepted one must be whole
// (--help and --version alone need no command).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "fuzz_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> args = ArgumentsFromBytes(data, size);
  const inkmark::cli::ParseOutcome outcome = inkmark::cli::ParseArguments(args);
  if (!outcome.options && outcome.error.empty()) std::abort();
  if (outcome.options && !outcome.options->help && !outcome.options->version) {
    const inkmark::cli::CliOptions& o = *outcome.options;
    if (o.command == inkmark::cli::Command::kNone) std::abort();
    for (const inkmark::NvKey& k : o.keys)
      if (!inkmark::IsNvKeyByte(std::uint8_t(k[0])) || !inkmark::IsNvKeyByte(std::uint8_t(k[1])))
        std::abort();
  }
  return 0;
}
