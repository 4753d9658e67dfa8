#include "session/temp_files.h"

#include <unistd.h>

#include "platform/paths.h"

namespace inkmark {

bool PrepareTempFiles(LogoSession& session, std::filesystem::path* refused) {
  auto dir = PrivateTempDir(refused);
  if (!dir) return false;
  // Each run has names of its own: a second copy of the program, or one that
  // died and left its files, never shares a file with this one.
  const std::string& tag = ProcessTempTag();
  session.temp_fit_path = (*dir / ("~$$$lfit-" + tag + ".bmp")).string();
  session.temp_cut_path = (*dir / ("~$$$lcut-" + tag + ".bmp")).string();
  session.temp_dest_path = (*dir / ("~$$$ldst-" + tag + ".bmp")).string();
  for (const auto* path :
       {&session.temp_fit_path, &session.temp_cut_path, &session.temp_dest_path}) {
    ::unlink(path->c_str());
  }
  return true;
}

void DeleteTempFiles(const LogoSession& session) {
  for (const auto* path :
       {&session.temp_dest_path, &session.temp_fit_path, &session.temp_cut_path}) {
    if (!path->empty()) ::unlink(path->c_str());
  }
  ReleasePrivateTempDir();
}

}  // namespace inkmark
