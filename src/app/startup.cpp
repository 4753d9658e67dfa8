#include "app/startup.h"

#include <memory>
#include <new>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "session/temp_files.h"
#include "settings/command_line.h"
#include "settings/printer_files.h"
#include "settings/saved_settings.h"

namespace inkmark {

int RunApplication(std::string_view command_line, const std::filesystem::path& program_folder,
                   const MainWindowRunner& run_main_window) {
  std::unique_ptr<LogoSession> session;
  try {
    session = std::make_unique<LogoSession>();
  } catch (const std::bad_alloc&) {
    ShowMessage(kAppInstance, kStrNoMemory);
    return 0;
  }

  int count = CountPrinterFiles(program_folder);
  if (count <= 0) {
    ShowMessage(kAppInstance, kStrNoPrinterFile);
    return 0;
  }
  try {
    session->profiles.reserve(std::size_t(count));
    LoadPrinterProfiles(count, session->profiles, program_folder);
  } catch (const std::bad_alloc&) {
    ShowMessage(kAppInstance, kStrNoMemory);
    return 0;
  }
  if (session->profiles.empty()) {
    ShowMessage(kAppInstance, kStrNoPrinterFile);
    return 0;
  }

  session->params = StartupConversionParams();
  session->source_kind = kSourceNone;

  // The command line wins over the saved printer settings; the saved folder
  // still seeds the Open dialog.
  if (ApplyCommandLine(*session, command_line) == 1) {
    std::vector<PrinterProfile> none;
    LoadSettings(0, none, session->source_path);
  } else {
    session->profile_index =
        LoadSettings(session->profile_count(), session->profiles, session->source_path);
  }

  // Without a private folder no picture can be shown: say why once, and start all the same.
  std::filesystem::path refused;
  if (!PrivateTempDir(&refused))
    ShowMessage(kAppInstance, kStrTempFolderUnsafe, refused.string().c_str());

  run_main_window(*session);

  DeleteTempFiles(*session);
  return 0;
}

}  // namespace inkmark
