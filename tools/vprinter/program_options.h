// The program's command line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "printer_options.h"

namespace inkmark::vprinter {

struct ProgramOptions {
  PrinterOptions printer;
  std::optional<std::filesystem::path> pty_link;
  std::optional<std::string> tcp_host;
  std::uint16_t tcp_port = 0;
  std::optional<std::filesystem::path> render_file;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

struct ParsedCommandLine {
  std::optional<ProgramOptions> options;  // set when the line was good
  std::string error;                      // why it was not
};

// `args` leaves out the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char kUsageText[];

}  // namespace inkmark::vprinter
