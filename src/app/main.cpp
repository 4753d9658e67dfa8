// InkmarkTool: the windowed program.
#include <QApplication>
#include <QSettings>
#include <cstdlib>
#include <string>

#include "app/startup.h"
#include "platform/paths.h"
#include "platform/program_icons.h"
#include "platform/program_info.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_view.h"
#include "platform/translation.h"
#include "windows/main_window_qt.h"

int main(int argc, char** argv) {
  if (auto status = inkmark::AnswerInfoRequest(argc, argv, "InkmarkTool", inkmark::kToolUsage))
    return *status;
  // Ties the windows to their menu entry (the Wayland application ID) and
  // keeps the X11 window class the entry names, however the program is called.
  QApplication::setApplicationName(QStringLiteral("InkmarkTool"));
  QApplication::setDesktopFileName(QStringLiteral("com.quorvel.InkmarkTool"));
  QApplication app(argc, argv);
  inkmark::LoadRequestedTranslations();
  inkmark::InstallTranslations();
  inkmark::PreferInterfaceFont(inkmark::RequestedLanguage());
  QApplication::setWindowIcon(inkmark::LoadProgramIcon(inkmark::ProgramIcon::kTool));
  // A demonstration or a test run keeps its settings apart from the real ones.
  if (const char* dir = std::getenv("INKMARK_SETTINGS_DIR"); dir && *dir) {
    for (auto scope : {QSettings::SystemScope, QSettings::UserScope}) {
      QSettings::setPath(
          QSettings::NativeFormat, scope,
          QString::fromLocal8Bit(dir) + (scope == QSettings::SystemScope ? "/system" : "/user"));
    }
  }
  inkmark::QtMessageBoxes boxes;
  inkmark::SetMessageBoxes(&boxes);

  // The options read as one text, as the command line arrives on the platforms
  // the options were made for.
  std::string command_line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }
  int result =
      inkmark::RunApplication(command_line, inkmark::PrinterFilesFolder(), inkmark::RunMainWindow);
  inkmark::SetMessageBoxes(nullptr);
  return result;
}
