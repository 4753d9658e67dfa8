// Window placement shared by every dialog of the program.
#pragma once

class QWidget;

namespace inkmark {

// Moves the window, keeping its size, so that it is centred on its screen
// ((screen - window) / 2, integer division, on each axis).
void CenterWindowOnScreen(QWidget* window);

}  // namespace inkmark
