// InkmarkEdit: "-w<width> -sub" opens a blank page of that width, "-f<path>
// -sub" the document at that path, which is saved there again.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QSocketNotifier>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "editor/editor_command_line.h"
#include "editor/editor_document.h"
#include "editor/editor_image.h"
#include "editor/editor_signals.h"
#include "editor/editor_window.h"
#include "platform/program_icons.h"
#include "platform/program_info.h"
#include "platform/qt_view.h"
#include "platform/translation.h"

int main(int argc, char* argv[]) {
  using namespace inkmark;
  if (auto status = AnswerInfoRequest(argc, argv, "InkmarkEdit", EditorUsage())) return *status;
  // Ties the windows to their menu entry (the Wayland application ID) and
  // keeps the X11 window class the entry names, however the program is called.
  QApplication::setApplicationName(QStringLiteral("InkmarkEdit"));
  QApplication::setDesktopFileName(QStringLiteral("com.quorvel.InkmarkEdit"));
  // Before anything else, so that an early request to end is not lost.
  InstallCloseSignals();
  QApplication app(argc, argv);
  LoadRequestedTranslations();
  InstallTranslations();
  PreferInterfaceFont(RequestedLanguage());
  QApplication::setWindowIcon(LoadProgramIcon(ProgramIcon::kEditor));
  auto watcher = WatchCloseSignals([] { QApplication::closeAllWindows(); });

  // Qt has taken its own options out; the rest is ours.
  std::vector<std::string> args;
  const QStringList all = QCoreApplication::arguments();
  for (qsizetype i = 1; i < all.size(); ++i)
    args.push_back(QFile::encodeName(all[i]).toStdString());
  const auto parsed = ParseEditorCommandLine(args);
  if (const auto* message = std::get_if<std::string>(&parsed)) {
    std::fprintf(stderr, "InkmarkEdit: %s\n", message->c_str());
    return 2;
  }
  const EditorLaunch& launch = std::get<EditorLaunch>(parsed);

  EditorDocument document;
  if (launch.mode == EditorLaunch::Mode::kNew) {
    document.page_width = launch.page_width;
  } else {
    LoadError error = LoadError::kNone;
    auto loaded = LoadEditorDocument(launch.path, error);
    if (!loaded) {
      const QString path = QFile::decodeName(launch.path.c_str());
      QMessageBox::critical(nullptr, QStringLiteral("InkmarkEdit"),
                            error == LoadError::kUnreadable
                                ? EditorWindow::tr("\"%1\" cannot be read.").arg(path)
                                : EditorWindow::tr("\"%1\" is not a logo document.").arg(path));
      return 1;
    }
    document = std::move(*loaded);
  }

  EditorWindow window(std::move(document),
                      launch.mode == EditorLaunch::Mode::kOpen ? launch.path : std::string());
  // A drawing is placed at its size on the paper of the printer the tool uses.
  window.SetPrinterDotsPerInch(PrinterDotsPerInch());
  window.show();
  return app.exec();
}
