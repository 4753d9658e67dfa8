// The virtual printer's command line, from whatever arguments come.
#include <cstdlib>

#include "fuzz_arguments.h"
#include "program_options.h"

using namespace inkmark::vprinter;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args = ArgumentsFromBytes(data, size);
  args.erase(args.begin());  // the parser takes the arguments without the program's name
  const ParsedCommandLine parsed = ParseCommandLine(args);
  if (parsed.options.has_value() == !parsed.error.empty()) abort();
  if (parsed.options) {
    const FaultOptions& f = parsed.options->printer.faults;
    if (f.stall_ms < 0 || f.busy_ms < 0 || f.garbage < 0 || f.reply_delay_ms < 0) abort();
  }
  return 0;
}
