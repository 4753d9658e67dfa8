#include "image/output_files.h"

#include <filesystem>

#include "image/compose.h"
#include "image/picture_io.h"
#include "platform/string_table.h"

namespace inkmark {
namespace {

bool HasExtension(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  const auto dot = name.rfind('.');
  return dot != std::string::npos && dot + 1 < name.size();
}

void SaveBitmap(WindowHandle owner, LogoSession& session, const std::string& path) {
  auto raster = BuildLogoRaster(session);
  if (!raster) {
    ShowMessage(owner, kStrNoMemory);
    return;
  }
  // A raster's file-size field equals its length, so this is that many bytes.
  // A file that cannot be written is not reported.
  WriteWholeFile(path, raster->bytes());
}

}  // namespace

void SaveLogoAs(WindowHandle owner, LogoSession& session, const std::string& path, int file_type,
                const CommandFileWriter& write_commands) {
  if (!HasExtension(path)) return;
  if (file_type == kSaveAsCommandFile) {
    session.save_as_command_file = 1;
    if (write_commands) write_commands(session);
    session.save_as_command_file = 0;
  } else if (file_type == kSaveAsBitmap) {
    SaveBitmap(owner, session, path);
  }
}

}  // namespace inkmark
