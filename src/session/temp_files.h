// The session's three temporary bitmap files.
#pragma once

#include <filesystem>

#include "session/session.h"

namespace inkmark {

// Sets temp_fit_path, temp_cut_path and temp_dest_path inside the private
// temporary directory, under names of this run alone, and deletes any stale
// copies. False (paths left empty, `refused` naming the folder) when no private
// directory can be had.
bool PrepareTempFiles(LogoSession& session, std::filesystem::path* refused = nullptr);

// Deletes the three files, destination first; missing files and empty paths
// are ignored. A fresh private directory made for this run goes with them.
void DeleteTempFiles(const LogoSession& session);

}  // namespace inkmark
