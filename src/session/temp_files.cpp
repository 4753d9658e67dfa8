#include "session/temp_files.h"

#include <unistd.h>

#include "platform/paths.h"

namespace inkmark {

bool PrepareTempFiles(LogoSession& session) {
  auto dir = PrivateTempDir();
  if (!dir) return false;
  session.temp_fit_path = (*dir / "~$$$lfit.bmp").string();
  session.temp_cut_path = (*dir / "~$$$lcut.bmp").string();
  session.temp_dest_path = (*dir / "~$$$ldst.bmp").string();
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
}

}  // namespace inkmark
