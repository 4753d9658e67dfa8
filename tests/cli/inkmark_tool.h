// Running the built inkmark program in a work folder of its own, as a user
// would from a shell, with the virtual printer's pseudo-terminal on COM1.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/compose_fixture.h"
#include "support/temp_dir.h"

namespace inkmark::testing {

struct ToolResult {
  int status = -1;  // -1 when it did not exit normally
  std::string out, err;
};

// The JSON document the program printed, which must parse as one object.
inline QJsonObject Json(const std::string& text) {
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
  EXPECT_TRUE(doc.isObject()) << text;
  return doc.object();
}

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

  // Runs off COM1 on the one-ink model, `printer_args` (ports, lists) before `args`.
  ToolResult OnModel(std::vector<std::string> printer_args, const std::vector<std::string>& args) {
    printer_args.insert(printer_args.begin(), {"--printer", "DT-500/510", "--second", "None"});
    printer_args.insert(printer_args.end(), args.begin(), args.end());
    return Run(printer_args, false);
  }
  // "--port" before each of `ports`.
  static std::vector<std::string> PortArgs(const std::vector<std::string>& ports) {
    std::vector<std::string> args;
    for (const std::string& p : ports) args.insert(args.end(), {"--port", p});
    return args;
  }
  // A black bitmap of the given size in the work folder.
  void WriteBlack(const std::string& name, int width, int height) const {
    work.Write(name, SolidBitmap(width, height, kBlack24));
  }

  TempDir work;
  std::string tmpdir;  // the work folder when empty
};

}  // namespace inkmark::testing
