// Start-up and shutdown of the windowed program.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "session/session.h"

namespace inkmark {

// Runs the main window modally over the session; returns when it closes.
using MainWindowRunner = std::function<void(LogoSession&)>;

// Loads the printer files of `program_folder`, applies the command line or
// else the saved settings, runs the main window and cleans up after it.
// Failures are shown as message boxes with no owner. Always returns 0.
int RunApplication(std::string_view command_line, const std::filesystem::path& program_folder,
                   const MainWindowRunner& run_main_window);

// What InkmarkTool --help prints: the options that RunApplication applies.
extern const char kToolUsage[];

}  // namespace inkmark
