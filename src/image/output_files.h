// The Print to file command after the Save dialog: the logo as a bitmap file,
// or as a file of the printer commands that register it.
#pragma once

#include <functional>
#include <string>

#include "app/session.h"
#include "platform/message_box.h"

namespace inkmark {

// The file types of the Save dialog, by their index there.
inline constexpr int kSaveAsBitmap = 1;
inline constexpr int kSaveAsCommandFile = 2;

// Runs the key-entry window on behalf of the command file: it builds the raster
// and writes the definition commands to the session's save_path.
using CommandFileWriter = std::function<void(LogoSession&)>;

// Writes the logo to `path` as the chosen file type. A name without an
// extension writes nothing. The bitmap type writes the print raster's bytes
// exactly (string 15 when there is none); the command-file type sets
// save_as_command_file for the duration of `write_commands`, when one is given.
// Which of the two is written follows `file_type`, never the extension.
void SaveLogoAs(WindowHandle owner, LogoSession& session, const std::string& path, int file_type,
                const CommandFileWriter& write_commands = {});

}  // namespace inkmark
