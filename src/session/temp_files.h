// The session's three temporary bitmap files.
#pragma once

#include "session/session.h"

namespace inkmark {

// Sets temp_fit_path, temp_cut_path and temp_dest_path inside the private
// temporary directory and deletes stale copies from an earlier run.
// False (paths left empty) when the directory cannot be made safe.
bool PrepareTempFiles(LogoSession& session);

// Deletes the three files, destination first; missing files and empty paths are ignored.
void DeleteTempFiles(const LogoSession& session);

}  // namespace inkmark
