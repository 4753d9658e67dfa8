// InkmarkTool: the windowed program.
#include <QApplication>
#include <string>

#include "app/placeholder_window.h"
#include "app/startup.h"
#include "platform/paths.h"
#include "platform/qt_message_boxes.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  inkmark::QtMessageBoxes boxes;
  inkmark::SetMessageBoxes(&boxes);

  // The options read as one text, as the command line arrives on the platforms
  // the options were made for.
  std::string command_line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }
  int result = inkmark::RunApplication(command_line, inkmark::ProgramFolder(),
                                       inkmark::RunPlaceholderWindow);
  inkmark::SetMessageBoxes(nullptr);
  return result;
}
