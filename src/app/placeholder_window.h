// The program's window until the full main window takes its place: it shows
// the chosen printer, and "Exit" saves the settings as the main window will.
#pragma once

#include "app/session.h"

namespace inkmark {

void RunPlaceholderWindow(LogoSession& session);

}  // namespace inkmark
