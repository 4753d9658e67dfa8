// Runs one inkmark command line: parse, load the printers, apply the choices,
// and do the command through the same code as the windows.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <ostream>
#include <span>
#include <string>

namespace inkmark::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Where the run reads and writes, and what it may assume about them.
struct Console {
  std::ostream& out;                     // results: keys, capacity, printer lists, captions
  std::FILE* err;                        // messages, questions and progress
  std::FILE* in;                         // answers to questions
  bool interactive = false;              // `in` and `err` are a terminal: questions are asked
  bool show_progress = false;            // `err` is a terminal: long transfers show progress
  std::filesystem::path program_folder;  // default printer folder
  // Called before a logo document is drawn: its text needs fonts. May be empty.
  std::function<void()> need_fonts;
  // This program, run once per printer when a command takes many.
  std::filesystem::path program;
};

// The exit status: kExitOk, kExitFailed or kExitUsage; 128 + the signal's
// number when SIGINT, SIGTERM or SIGHUP stopped a transfer.
int RunInkmark(std::span<const std::string> args, Console& console);

}  // namespace inkmark::cli
