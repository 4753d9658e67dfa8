// The programs' own icons, drawn as pictures in the program's resources.
#pragma once

#include <QIcon>

namespace inkmark {

enum class ProgramIcon { kTool, kEditor };

// The icon at the sizes a window manager asks for; null when the picture is
// missing from the resources.
QIcon LoadProgramIcon(ProgramIcon which);

}  // namespace inkmark
