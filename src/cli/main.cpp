// inkmark: the command-line tool. It needs no display: the text items of logo
// documents are drawn on Qt's offscreen platform.
#include <unistd.h>

#include <QGuiApplication>
#include <QSettings>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/terminal_progress.h"
#include "platform/paths.h"
#include "platform/translation.h"

namespace {

// Qt's own notes about its environment are no business of a script's.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "inkmark: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(QuietQtMessages);
  inkmark::cli::InstallTransferSignalHandlers();
  // A demonstration or a test run keeps its settings apart from the real ones.
  if (const char* dir = std::getenv("INKMARK_SETTINGS_DIR"); dir && *dir) {
    for (auto scope : {QSettings::SystemScope, QSettings::UserScope}) {
      QSettings::setPath(
          QSettings::NativeFormat, scope,
          QString::fromLocal8Bit(dir) + (scope == QSettings::SystemScope ? "/system" : "/user"));
    }
  }
  inkmark::LoadRequestedTranslations();
  std::vector<std::string> args(argv + 1, argv + argc);
  inkmark::cli::Console console{
      std::cout, stderr, stdin, false, false, inkmark::PrinterFilesFolder(), {}, {}};
  std::error_code ec;
  console.program = std::filesystem::read_symlink("/proc/self/exe", ec);
  console.show_progress = ::isatty(STDERR_FILENO) == 1;
  console.interactive = console.show_progress && ::isatty(STDIN_FILENO) == 1;

  // Fonts need a GUI application; it is made only when a document is drawn.
  int app_argc = 1;
  std::unique_ptr<QGuiApplication> app;
  console.need_fonts = [&] {
    if (app) return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    app = std::make_unique<QGuiApplication>(app_argc, argv);
  };
  const int status = inkmark::cli::RunInkmark(args, console);
  std::cout.flush();
  return std::cout ? status : inkmark::cli::kExitFailed;
}
