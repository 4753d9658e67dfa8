// Window placement shared by every dialog of the program.
#pragma once

#include <span>

#include "windows/tool_tips.h"

class QString;
class QWidget;

namespace inkmark {

class QtDialogView;

// Moves the window, keeping its size, so that it is centred on its screen
// ((screen - window) / 2, integer division, on each axis).
void CenterWindowOnScreen(QWidget* window);

// Gives the view's controls their tool tips, translated.
void SetToolTips(QtDialogView& view, std::span<const ControlTip> tips);
// The tip of control `id`, translated; empty when it has none.
QString ToolTipText(std::span<const ControlTip> tips, int id);

}  // namespace inkmark
