// The editor's command line from arbitrary bytes: NUL separates the arguments.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_command_line.h"
#include "fuzz_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> args = ArgumentsFromBytes(data, size);
  auto result = inkmark::ParseEditorCommandLine(args);
  if (auto* launch = std::get_if<inkmark::EditorLaunch>(&result)) {
    if (launch->mode == inkmark::EditorLaunch::Mode::kNew && launch->page_width <= 0)
      __builtin_trap();
    if (launch->path.size() > inkmark::kMaxEditorPath) __builtin_trap();
  }
  return 0;
}
