// Runs the built inkmark program as a child and collects what it said.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace inkmark::testing {

struct ToolResult {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs bin/inkmark with `args` in `work_dir`, standard input from /dev/null;
// the environment is the test's own.
ToolResult RunTool(const std::vector<std::string>& args, const std::filesystem::path& work_dir);

}  // namespace inkmark::testing
