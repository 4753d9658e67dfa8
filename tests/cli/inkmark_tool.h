// Running the built inkmark program in a work folder of its own, as a user
// would from a shell, with the virtual printer's pseudo-terminal on COM1.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace inkmark::testing {

struct ToolResult {
  int status = -1;  // -1 when it did not exit normally
  std::string out, err;
};

// The base of the fixtures that run the program.
class InkmarkToolTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& name) const { return ReadFileText(work.path() / name); }

  // Runs bin/inkmark in the work folder with standard input from /dev/null,
  // its settings, temporary files and ledger in the work folder; `on_printer` puts a
  // one-ink model on COM1 first.
  ToolResult Run(std::vector<std::string> args, bool on_printer = true, bool display = true) {
    if (on_printer)
      args.insert(args.begin(), {"--printer", "DT-500/510", "--port", "COM1", "--second", "None"});
    const std::string w = work.path().string();
    std::string line = "cd '" + w + "' && TMPDIR='" + (tmpdir.empty() ? w : tmpdir) +
                       "' INKMARK_SETTINGS_DIR='" + w + "/settings' XDG_DATA_HOME='" + w +
                       "/data' " + (display ? "" : "env -u QT_QPA_PLATFORM ") +
                       "'" INKMARK_BIN_DIR "/inkmark'";
    for (const std::string& a : args) line += " '" + a + "'";
    const int status = std::system((line + " </dev/null >out.txt 2>err.txt").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read("out.txt"), Read("err.txt")};
  }

  TempDir work;
  std::string tmpdir;  // the work folder when empty
};

}  // namespace inkmark::testing
